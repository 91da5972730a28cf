// kestrava-cli report lays out pages with Qt Gui, so its test lives with the
// window tests.
#include "report/practitioner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
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
