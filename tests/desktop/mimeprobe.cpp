// Prints the MIME type the desktop's database gives each file name, and its
// icon name, one line per name: the check of an installed file-type package.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QMimeDatabase database;
    for (const QString &name : QCoreApplication::arguments().mid(1)) {
        const QMimeType type = database.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        out << name << ' ' << type.name() << ' ' << type.iconName() << '\n';
    }
    return 0;
}
