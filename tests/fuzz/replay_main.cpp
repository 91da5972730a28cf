// Replays a fuzz target's corpus without the fuzzer: every file in the
// folders (or the files) given, once.  The normal test suite runs this, so
// every input a fuzzing run kept stays a regression test.
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int replayed = 0;
    for (const QString &argument : QCoreApplication::arguments().mid(1)) {
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            QDirIterator it(argument, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << argument;
        }
        files.sort();
        for (const QString &path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                QTextStream(stderr) << "cannot read " << path << '\n';
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    QTextStream(stdout) << replayed << " inputs replayed\n";
    return replayed > 0 ? 0 : 1;
}
