// kestrava-cli report lays out pages with Qt Gui, so its test lives with the
// window tests.
#include "report/practitioner.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

class CliReport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.remove(u"DISPLAY"_s);
        m_environment.remove(u"QT_QPA_PLATFORM"_s);
        m_environment.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u"config"_s));
        m_environment.insert(u"KESTRAVA_CLIENTS"_s, m_dir.filePath(u"clients.sqlite"_s));
        m_environment.insert(u"LC_ALL"_s, u"en_US.UTF-8"_s);
    }

    // The practitioner as the suite's Report Settings would have saved them.
    void savePractitioner(const report::Practitioner &practitioner)
    {
        QDir().mkpath(m_dir.filePath(u"config/Kestrava"_s));
        QSettings settings(m_dir.filePath(u"config/Kestrava/kestrava.ini"_s), QSettings::IniFormat);
        report::writePractitioner(settings, practitioner);
    }

    Result cli(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(QStringLiteral(KESTRAVA_CLI), arguments);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    static QString tool(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
};

const QStringList kMary = {u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s, u"Smith"_s,
                           u"--born"_s,  u"1979-08-06"_s, u"--today"_s, u"2026-12-11"_s};

} // namespace

TEST_F(CliReport, ForAClientUnderTheSavedPractitionerUnlessTheOptionsSayOtherwise)
{
    report::Practitioner saved;
    saved.name = u"Aurelia Venn"_s;
    saved.contact = u"12 Mill Lane"_s;
    saved.reportTitle = u"Your Numbers"_s;
    saved.paper = kestrava::Paper::A4;
    savePractitioner(saved);
    ASSERT_EQ(cli({u"clients"_s, u"add"_s, u"--first"_s, u"Mary"_s, u"--last"_s, u"Smith"_s, u"--born"_s,
                   u"1979-08-06"_s})
                  .status,
              0);

    const Result first = cli({u"report"_s, u"--client"_s, u"1"_s, u"--sections"_s, u"tarot,numerology"_s,
                              u"--out"_s, path(u"saved.pdf"_s)});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    const QString text = tool(u"pdftotext"_s, {path(u"saved.pdf"_s), u"-"_s});
    for (const QString &expected : {u"Aurelia Venn"_s, u"12 Mill Lane"_s, u"Your Numbers"_s, u"MARY SMITH"_s,
                                    u"Numerology Reading"_s, u"Tarot Numbers"_s})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    EXPECT_FALSE(text.contains(u"Life Timeline"_s));
    EXPECT_TRUE(tool(u"pdfinfo"_s, {path(u"saved.pdf"_s)}).contains(u"(A4)"_s));

    const Result given = cli(QStringList{u"report"_s} + kMary
                             + QStringList{u"--sections"_s, u"runes"_s, u"--practitioner-name"_s, u"Iris Hale"_s,
                                           u"--title"_s, u"A Reading"_s, u"--paper"_s, u"letter"_s,
                                           u"--out"_s, path(u"given.pdf"_s)});
    ASSERT_EQ(given.status, 0) << given.err.toStdString();
    const QString givenText = tool(u"pdftotext"_s, {path(u"given.pdf"_s), u"-"_s});
    EXPECT_TRUE(givenText.contains(u"Iris Hale"_s));
    EXPECT_TRUE(givenText.contains(u"A Reading"_s));
    EXPECT_FALSE(givenText.contains(u"Aurelia Venn"_s));
    EXPECT_TRUE(givenText.contains(u"12 Mill Lane"_s)); // not overridden: still the saved one
    EXPECT_TRUE(tool(u"pdfinfo"_s, {path(u"given.pdf"_s)}).contains(u"(letter)"_s));

    // The report for the client joined their history, with what it was made of.
    const Result shown = cli({u"clients"_s, u"show"_s, u"1"_s});
    ASSERT_EQ(shown.status, 0);
    const QJsonArray history = QJsonDocument::fromJson(shown.out.toUtf8()).object().value(u"history"_s).toArray();
    ASSERT_EQ(history.size(), 1);
    const QJsonObject entry = history[0].toObject();
    EXPECT_EQ(entry.value(u"program"_s).toString(), u"report"_s);
    EXPECT_EQ(entry.value(u"inputs"_s).toObject().value(u"sections"_s).toArray(),
              (QJsonArray{u"numerology"_s, u"tarot"_s}));
    EXPECT_EQ(entry.value(u"inputs"_s).toObject().value(u"file"_s).toString(),
              QFileInfo(path(u"saved.pdf"_s)).absoluteFilePath());
    const Result words = cli({u"clients"_s, u"show"_s, u"1"_s, u"--words"_s});
    ASSERT_EQ(words.status, 0) << words.err.toStdString();
    EXPECT_TRUE(words.out.contains(u"  Report: numerology, tarot; saved to saved.pdf\n"_s)) << words.out.toStdString();
}

TEST_F(CliReport, AWebPageWithEverySectionAndUsageErrorsThatSayWhatIsWrong)
{
    const Result html = cli(QStringList{u"report"_s} + kMary
                            + QStringList{u"--sections"_s,
                                          u"numerology,timeline,forecast,tarot,astrology,runes,tantric,daily,"
                                          "compatibility"_s,
                                          u"--partner-first"_s, u"John"_s, u"--partner-last"_s, u"Doe"_s,
                                          u"--partner-born"_s, u"1984-02-29"_s, u"--format"_s, u"html"_s,
                                          u"--out"_s, path(u"report.html"_s)});
    ASSERT_EQ(html.status, 0) << html.err.toStdString();
    QFile page(path(u"report.html"_s));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_EQ(text.count(u"<section class=\"report-section\""_s), 9);
    EXPECT_TRUE(text.contains(u"Compatibility with JOHN DOE"_s));

    struct Case
    {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{u"--sections"_s, u"numerology,horoscope"_s}, u"no section \"horoscope\""_s},
        {{u"--format"_s, u"docx"_s}, u"--format must be pdf or html"_s},
        {{u"--accent"_s, u"teal"_s}, u"--accent must be a colour"_s},
        {{u"--paper"_s, u"A5"_s}, u"--paper must be A4 or Letter"_s},
        {{u"--readings"_s, u"lifePath,luckyNumber"_s}, u"no reading \"luckyNumber\""_s},
        {{u"--forecast-from"_s, u"2030"_s, u"--forecast-to"_s, u"2028"_s}, u"first year"_s},
        {{u"--sections"_s, u"compatibility"_s}, u"second person"_s},
        {{u"--partner-first"_s, u"John"_s, u"--partner-born"_s, u"1984-02-30"_s}, u"--partner-born"_s},
        {{u"--logo"_s, u"logo.gif"_s}, u"--logo must name an .svg or .png file"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const Result r = cli(QStringList{u"report"_s} + kMary + c.arguments + QStringList{u"--out"_s, path(u"x.pdf"_s)});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"x.pdf"_s)));
    }
    const Result noOut = cli(QStringList{u"report"_s} + kMary);
    EXPECT_EQ(noOut.status, 2);
    EXPECT_TRUE(noOut.err.contains(u"--out"_s));
}

TEST_F(CliReport, TheSecondPersonOfTheCompatibilityCanBeAClientOfTheBook)
{
    // The book keeps the names as written; the report reads them in capitals.
    for (const QStringList &client : {QStringList{u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s,
                                                  u"Smith"_s, u"--born"_s, u"1979-08-06"_s},
                                      QStringList{u"--first"_s, u"John"_s, u"--last"_s, u"Doe"_s, u"--born"_s,
                                                  u"1984-02-29"_s}})
        ASSERT_EQ(cli(QStringList{u"clients"_s, u"add"_s} + client).status, 0);
    const QStringList sections = {u"--sections"_s, u"numerology,compatibility"_s, u"--married"_s, u"2001-06-16"_s,
                                  u"--format"_s, u"html"_s};

    const Result fromBook = cli(QStringList{u"report"_s} + kMary + sections
                                + QStringList{u"--partner-client"_s, u"2"_s, u"--out"_s, path(u"book.html"_s)});
    ASSERT_EQ(fromBook.status, 0) << fromBook.err.toStdString();
    const Result typed = cli(QStringList{u"report"_s} + kMary + sections
                             + QStringList{u"--partner-first"_s, u"john"_s, u"--partner-last"_s, u"doe"_s,
                                           u"--partner-born"_s, u"1984-02-29"_s, u"--out"_s, path(u"typed.html"_s)});
    ASSERT_EQ(typed.status, 0) << typed.err.toStdString();
    QFile book(path(u"book.html"_s)), given(path(u"typed.html"_s));
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    ASSERT_TRUE(given.open(QIODevice::ReadOnly));
    const QByteArray page = book.readAll();
    EXPECT_TRUE(page.contains("Compatibility with JOHN DOE"));
    EXPECT_EQ(page, given.readAll());

    // Both people from the book: the report joins the first one's history
    // with the partner it was made with.
    const Result both = cli(QStringList{u"report"_s, u"--client"_s, u"1"_s, u"--partner-client"_s, u"2"_s,
                                        u"--today"_s, u"2026-12-11"_s}
                            + sections + QStringList{u"--out"_s, path(u"both.html"_s)});
    ASSERT_EQ(both.status, 0) << both.err.toStdString();
    const QJsonArray history = QJsonDocument::fromJson(cli({u"clients"_s, u"show"_s, u"1"_s}).out.toUtf8())
                                   .object()
                                   .value(u"history"_s)
                                   .toArray();
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history[0][u"inputs"_s][u"partner"_s].toObject(),
              (QJsonObject{{u"first"_s, u"JOHN"_s}, {u"middle"_s, u""_s}, {u"last"_s, u"DOE"_s},
                           {u"born"_s, u"1984-02-29"_s}}));

    const struct
    {
        QStringList arguments;
        QString message;
    } refused[] = {
        {{u"--partner-client"_s, u"3"_s}, u"has no client with ID 3"_s},
        {{u"--partner-client"_s, u"two"_s}, u"a client ID is a whole number"_s},
        {{u"--partner-client"_s, u"2"_s, u"--partner-middle"_s, u"Lee"_s},
         u"--partner-client takes the second person's names and birth date from the client book, not from "
         "--partner-middle"_s},
    };
    for (const auto &row : refused) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result r = cli(QStringList{u"report"_s} + kMary + sections + row.arguments
                             + QStringList{u"--out"_s, path(u"x.html"_s)});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(row.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"x.html"_s)));
    }
}

namespace {

// The PNG with the width and height its header states changed, the header's
// check sum made right again: a picture any reader sizes as that.
QByteArray withStatedSize(QByteArray png, quint32 width, quint32 height)
{
    const auto put = [&png](qsizetype at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(value >> (24 - 8 * i));
    };
    // Signature (8), length (4), "IHDR" (4): the width and height follow.
    put(16, width);
    put(20, height);
    quint32 crc = 0xFFFFFFFF;
    for (qsizetype i = 12; i < 12 + 4 + 13; ++i) {
        crc ^= quint8(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    put(12 + 4 + 13, ~crc);
    return png;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST_F(CliReport, ALogoTheReportCannotShowIsRefusedWithReportSettingsWords)
{
    QImage small(60, 40, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(small.save(&buffer, "PNG"));
    }
    ASSERT_TRUE(writeBytes(path(u"notes.png"_s), "These are my notes, not a picture.\n"));
    ASSERT_TRUE(writeBytes(path(u"program.png"_s), "#!/bin/sh\necho hello\n"));
    ASSERT_TRUE(writeBytes(path(u"cut.png"_s), png.left(png.size() / 2)));
    ASSERT_TRUE(writeBytes(path(u"huge.png"_s), withStatedSize(png, 30000, 30000)));
    ASSERT_TRUE(writeBytes(path(u"tall.png"_s), withStatedSize(png, 60, 6001)));
    // Larger than any logo, whatever it holds.
    ASSERT_TRUE(writeBytes(path(u"heavy.png"_s), png + QByteArray(17 * 1024 * 1024, '\0')));
    ASSERT_TRUE(writeBytes(path(u"empty.svg"_s), "<svg xmlns=\"http://www.w3.org/2000/svg\""));

    const struct
    {
        const char *file;
        const char *message;
    } cases[] = {
        {"notes.png", "notes.png is not a picture the report can show. Please choose an SVG or PNG picture."},
        {"program.png", "program.png is not a picture the report can show."},
        {"cut.png", "cut.png is not a picture the report can show."},
        {"empty.svg", "empty.svg is not a picture the report can show."},
        {"huge.png", "huge.png is too large for a logo (30,000 \u00d7 30,000 pixels). Please choose a picture of at "
                     "most 6,000 pixels a side."},
        {"tall.png", "(60 \u00d7 6,001 pixels)"},
        {"heavy.png", "heavy.png is too large for a logo (17.0 MB). Please choose a picture of at most 16 MB."},
        {"missing.png", "missing.png is not a picture the report can show."},
    };
    for (const auto &c : cases) {
        for (const QString &format : {u"pdf"_s, u"html"_s}) {
            SCOPED_TRACE(std::string(c.file) + " " + format.toStdString());
            const QString out = path(u"report."_s + format);
            const Result r = cli(QStringList{u"report"_s} + kMary
                                 + QStringList{u"--sections"_s, u"numerology"_s, u"--logo"_s, path(QString::fromLatin1(c.file)),
                                               u"--format"_s, format, u"--out"_s, out});
            EXPECT_EQ(r.status, 2);
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
            EXPECT_FALSE(QFile::exists(out));
        }
    }
}

TEST_F(CliReport, ALargeLogoIsStoredAtTheSizeItIsShownInBothOutputs)
{
    // 2000 x 1500 pixels of noise: a PNG of 9 MB that cannot be squeezed,
    // shown 128 x 96 points on the title page.
    QImage noise(2000, 1500, QImage::Format_RGB32);
    quint32 seed = 7;
    for (int y = 0; y < noise.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525 + 1013904223;
            line[x] = 0xFF000000 | (seed >> 8);
        }
    }
    ASSERT_TRUE(noise.save(path(u"big.png"_s), "PNG", 100)); // stored, not compressed: quick to write
    ASSERT_GT(QFileInfo(path(u"big.png"_s)).size(), 8 * 1024 * 1024);
    // An SVG too long to embed as it is: a mosaic of many small tiles.
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"300\" height=\"100\">\n";
    for (int i = 0; i < 30000; ++i) {
        svg += "<rect x=\"" + QByteArray::number(i % 300) + "\" y=\"" + QByteArray::number((i / 300) % 100)
               + "\" width=\"1\" height=\"1\" fill=\"#" + QByteArray::number(0x100000 + i * 97 % 0xEFFFFF, 16)
               + "\"/>\n";
    }
    svg += "</svg>\n";
    ASSERT_TRUE(writeBytes(path(u"long.svg"_s), svg));

    for (const QString &logo : {u"big.png"_s, u"long.svg"_s}) {
        SCOPED_TRACE(logo.toStdString());
        const QStringList common = QStringList{u"report"_s} + kMary
                                   + QStringList{u"--sections"_s, u"numerology"_s, u"--logo"_s, path(logo)};
        const Result pdf = cli(common + QStringList{u"--out"_s, path(u"report.pdf"_s)});
        ASSERT_EQ(pdf.status, 0) << pdf.err.toStdString();
        const Result html = cli(common + QStringList{u"--format"_s, u"html"_s, u"--out"_s, path(u"report.html"_s)});
        ASSERT_EQ(html.status, 0) << html.err.toStdString();

        // The web page holds the logo as a PNG of twice the size it is shown at.
        QFile page(path(u"report.html"_s));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        const QRegularExpressionMatch img = QRegularExpression(
            u"<img class=\"logo\" alt=\"\" width=\"(\\d+)\" height=\"(\\d+)\" src=\"data:image/png;base64,([^\"]+)\""_s)
                                                .match(text);
        ASSERT_TRUE(img.hasMatch()) << text.left(3000).toStdString();
        const QSize shown(img.captured(1).toInt(), img.captured(2).toInt());
        const QImage embedded = QImage::fromData(QByteArray::fromBase64(img.captured(3).toLatin1()), "PNG");
        EXPECT_EQ(shown.height(), 128);
        // (Its proportions kept: a side may be a pixel off twice.)
        EXPECT_LE(std::abs(embedded.width() - 2 * shown.width()), 1) << embedded.width();
        EXPECT_LE(std::abs(embedded.height() - 2 * shown.height()), 1) << embedded.height();

        // The PDF holds a picture of at most 300 dots to the inch.
        const QString images = tool(u"pdfimages"_s, {u"-list"_s, path(u"report.pdf"_s)});
        if (logo.endsWith(u".png"_s)) {
            const QRegularExpressionMatch row =
                QRegularExpression(u"^\\s*1\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)"_s, QRegularExpression::MultilineOption)
                    .match(images);
            ASSERT_TRUE(row.hasMatch()) << images.toStdString();
            EXPECT_LE(row.captured(1).toInt(), 600) << images.toStdString();
            EXPECT_LE(row.captured(2).toInt(), 400);
            EXPECT_GE(row.captured(2).toInt(), 300) << "the logo is stored sharp enough to print";
        }
    }
}

TEST_F(CliReport, TheMarriageVibrationReadsTheMarriageDateAndAnEmptySectionIsRefused)
{
    const QStringList asked = QStringList{u"report"_s} + kMary + QStringList{u"--sections"_s, u"numerology"_s, u"--readings"_s,
                                                  u"marriageVibration"_s, u"--format"_s, u"html"_s};
    const Result married = cli(asked + QStringList{u"--married"_s, u"2011-09-09"_s, u"--out"_s, path(u"m.html"_s)});
    ASSERT_EQ(married.status, 0) << married.err.toStdString();
    QFile page(path(u"m.html"_s));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(u"Your Marriage Vibration Number is: 22"_s));

    // Without the day there is nothing to read: no file, and the reason.
    const Result refused = cli(asked + QStringList{u"--out"_s, path(u"none.html"_s)});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.contains(u"marriage date"_s)) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(u"none.html"_s)));
}
