// kestrava-cli timeline draws with Qt Gui, so its test lives with the window
// tests, which may load the pictures it writes.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

Result cli(const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTRAVA_CLI), arguments);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CliTimeline, WritesEachFormatWithoutADisplay)
{
    QTemporaryDir dir;
    // No display and no platform named: the command picks offscreen itself.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    const QStringList subject = {u"timeline"_s, u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s,
                                 u"Smith"_s, u"--born"_s, u"1979-08-06"_s, u"--today"_s, u"2024-03-07"_s};
    for (const QString &name : {u"life.svg"_s, u"life.png"_s, u"LIFE.PDF"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        const Result r = cli(subject + QStringList{u"--out"_s, path}, environment);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        const QByteArray bytes = fileBytes(path);
        if (name.endsWith(u".svg"_s)) {
            QXmlStreamReader xml(bytes);
            QStringList texts;
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text"_s)
                    texts.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
            }
            EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
            EXPECT_TRUE(texts.contains(u"Pinnacles"_s)) << texts.join(u'|').toStdString();
        } else if (name.endsWith(u".png"_s)) {
            const QImage image = QImage::fromData(bytes, "PNG");
            ASSERT_FALSE(image.isNull());
            EXPECT_GE(image.width(), 1280);
        } else {
            EXPECT_TRUE(bytes.startsWith("%PDF"));
            if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
                continue;
            QProcess convert;
            convert.start(u"pdftotext"_s, {path, u"-"_s});
            ASSERT_TRUE(convert.waitForFinished(30000));
            const QString text = QString::fromUtf8(convert.readAllStandardOutput());
            EXPECT_TRUE(text.contains(u"MARY ANN SMITH"_s)) << text.toStdString();
            EXPECT_TRUE(text.contains(u"2029"_s)) << text.toStdString();
        }
    }

    // An unknown ending, or none, writes nothing.
    for (const QString &name : {u"life.jpg"_s, u"life"_s}) {
        const Result r = cli(subject + QStringList{u"--out"_s, dir.filePath(name)}, environment);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(u"--out must end in .png, .svg or .pdf"_s)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(name)));
    }
    const Result noOut = cli(subject, environment);
    EXPECT_EQ(noOut.status, 2);
}
