#include "platform/printer.h"
#include "support/suitefixture.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <csignal>
#include <memory>
#include <sys/stat.h>

namespace {

// A stand-in for a print-system command: a shell script.
QString writeCommand(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A stand-in for lp: it keeps its arguments and the file it was handed, then
// answers as the script says.
QString writeSpooler(const QTemporaryDir &dir, const QByteArray &answer, const QString &name = "lp")
{
    return writeCommand(dir, name,
                        "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments\"\n"
                        "cp \"$5\" \"$(dirname \"$0\")/spooled.pdf\"\n"
                            + answer);
}

QString writeLpstat(const QTemporaryDir &dir, const QByteArray &answer)
{
    static int count = 0;
    return writeCommand(dir, QStringLiteral("lpstat-%1").arg(++count), answer);
}

const QByteArray kOffice = "echo 'system default destination: office'\n";
const QByteArray kRefused = "echo 'lp: Destination \"office\" is not accepting jobs.' >&2\nexit 1\n";
const QString kRefusedText =
    "The printer \"office\" did not take the job: lp: Destination \"office\" is not accepting jobs.";
const QString kNoPrinter = "No printer is available. Please install or select a default printer and try again.";

// The outcome of one print; empty while the job is on its way.  Shared with
// the job, which may outlive a test that gave up waiting.
using Outcome = std::shared_ptr<std::optional<kestrava::MaybeFailure>>;

Outcome startPrint(platform::Printer &printer, const QTextDocument &document)
{
    auto outcome = std::make_shared<std::optional<kestrava::MaybeFailure>>();
    printer.print(document, [outcome](const kestrava::MaybeFailure &failure) { *outcome = failure; });
    return outcome;
}

Outcome printAndWait(platform::Printer &printer, const QTextDocument &document)
{
    Outcome outcome = startPrint(printer, document);
    // The caller finds the outcome missing if it never came.
    (void)QTest::qWaitFor([&] { return outcome->has_value(); }, 20000);
    return outcome;
}

Outcome printPdfAndWait(platform::Printer &printer, platform::PdfForPaper makePdf)
{
    auto outcome = std::make_shared<std::optional<kestrava::MaybeFailure>>();
    printer.printPdf(std::move(makePdf), [outcome](const kestrava::MaybeFailure &failure) { *outcome = failure; });
    (void)QTest::qWaitFor([&] { return outcome->has_value(); }, 20000);
    return outcome;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The first page's size in points, as the PDF file gives it.
QSize pageSizeOf(const QString &pdf)
{
    static const QRegularExpression box(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
    const QRegularExpressionMatch match = box.match(QString::fromLatin1(readAll(pdf)));
    return QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble()));
}

const QSize kA4(595, 842);
const QSize kLetter(612, 792);

// Sets the locale variables for paper for the life of the object.
class LocaleForPaper
{
public:
    explicit LocaleForPaper(const QByteArray &lcPaper)
    {
        for (const char *name : kNames) {
            m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
            qunsetenv(name);
        }
        qputenv("LC_PAPER", lcPaper);
    }
    ~LocaleForPaper()
    {
        for (const Saved &saved : m_saved) {
            if (saved.set)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }

private:
    static constexpr const char *kNames[] = {"LC_ALL", "LC_PAPER", "LANG"};
    struct Saved
    {
        const char *name;
        bool set;
        QByteArray value;
    };
    std::vector<Saved> m_saved;
};

} // namespace

TEST(DefaultPrinter, TheDefaultQueueTakesTheJobAsAPdfAndEveryFailureIsReported)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;
    const QString office = writeLpstat(dir, kOffice);
    struct Case
    {
        const char *name;
        QString lpstat;
        QString lp;
        QString failure; // empty: printed
        bool spooled;    // whether lp was run
    };
    const Case cases[] = {
        {"no print system", QString(), QString(), kNoPrinter, false},
        {"no default queue", writeLpstat(dir, "echo 'no system default destination'\n"), writeSpooler(dir, "exit 0\n"),
         kNoPrinter, false},
        {"lpstat fails", writeLpstat(dir, "echo 'lpstat: Scheduler is not running.' >&2\nexit 1\n"),
         writeSpooler(dir, "exit 0\n"), kNoPrinter, false},
        {"no spooler", office, QString(), "The print spooler lp could not be found.", false},
        {"spooler gone", office, dir.filePath("no-such-command"),
         "The print spooler " + dir.filePath("no-such-command") + " could not be started.", false},
        {"refused", office, writeSpooler(dir, kRefused, "lp-refusing"), kRefusedText, true},
        {"refused without a word", office, writeSpooler(dir, "exit 3\n", "lp-silent"),
         "The printer \"office\" did not take the job: the spooler ended with status 3", true},
        {"printed", office, writeSpooler(dir, "exit 0\n"), QString(), true},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        QFile::remove(dir.filePath("arguments"));
        QFile::remove(dir.filePath("spooled.pdf"));
        platform::DefaultPrinter printer({test.lpstat, QString(), test.lp});
        const Outcome outcome = printAndWait(printer, document);
        ASSERT_TRUE(outcome->has_value());
        if (test.failure.isEmpty()) {
            EXPECT_FALSE(**outcome);
        } else {
            ASSERT_TRUE(**outcome);
            EXPECT_EQ((**outcome)->reason, test.failure);
        }
        EXPECT_EQ(QFile::exists(dir.filePath("arguments")), test.spooled);
        if (test.failure == kNoPrinter) {
            // A document that lays itself out is not laid out when there is no printer.
            bool laidOut = false;
            const Outcome pdfOutcome = printPdfAndWait(printer, [&laidOut](const QPageSize &) {
                laidOut = true;
                return QByteArray("%PDF-1.4");
            });
            ASSERT_TRUE(pdfOutcome->has_value());
            ASSERT_TRUE(**pdfOutcome);
            EXPECT_EQ((**pdfOutcome)->reason, test.failure);
            EXPECT_FALSE(laidOut);
        }
        if (test.spooled) {
            EXPECT_TRUE(readAll(dir.filePath("arguments")).startsWith("-d\noffice\n-t\nKestrava reading\n"));
            QProcess convert;
            convert.start("pdftotext", {dir.filePath("spooled.pdf"), "-"});
            convert.waitForFinished(20000);
            EXPECT_TRUE(convert.readAllStandardOutput().contains("Your LifePath Number is: 22"));
        }
    }
}

TEST(DefaultPrinter, PrintsOnTheQueuesPaperAndOnTheLocalesWhereTheQueueIsSilent)
{
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;
    const QString lpstat = writeLpstat(dir, kOffice);
    const QString lp = writeSpooler(dir, "exit 0\n");
    // lpoptions answers -l with the PPD's choices and, without, the options.
    auto lpoptions = [&](const QByteArray &choices, const QByteArray &options) {
        static int count = 0;
        return writeCommand(dir, QStringLiteral("lpoptions-%1").arg(++count),
                            "case \"$*\" in\n"
                            "'-p office -l') " + choices + ";;\n"
                            "'-p office') " + options + ";;\n"
                            "*) exit 2;;\n"
                            "esac\n");
    };
    const QByteArray options = "copies=1 device-uri=ipp://printer.local:631/ipp/print job-sheets=none,none";
    const QByteArray silent = "echo '" + options + "'";
    const QByteArray noPpd = "echo 'lpoptions: Unable to get PPD file for office: Not Found' >&2; exit 1";
    struct Case
    {
        const char *name;
        QString lpoptions;
        QByteArray lcPaper;
        QSize page;
    };
    const Case cases[] = {
        {"queue says Letter", lpoptions("echo 'PageSize/Media Size: A4 *Letter Legal'", silent), "de_DE.UTF-8",
         kLetter},
        {"queue says A4", lpoptions("echo 'PageSize/Media Size: *A4 Letter Legal'", silent), "en_US.UTF-8", kA4},
        {"driverless queue set to Letter", lpoptions(noPpd, "echo '" + options + " media=na_letter_8.5x11in'"), "de_DE",
         kLetter},
        {"queue silent, LC_PAPER en_US", lpoptions(noPpd, silent), "en_US.UTF-8", kLetter},
        {"queue silent, LC_PAPER de_DE", lpoptions(noPpd, silent), "de_DE.UTF-8", kA4},
        {"no lpoptions, LC_PAPER en_US", QString(), "en_US", kLetter},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        const LocaleForPaper locale(test.lcPaper);
        QFile::remove(dir.filePath("spooled.pdf"));
        platform::DefaultPrinter printer({lpstat, test.lpoptions, lp});
        const Outcome outcome = printAndWait(printer, document);
        ASSERT_TRUE(outcome->has_value());
        EXPECT_FALSE(**outcome);
        EXPECT_EQ(pageSizeOf(dir.filePath("spooled.pdf")), test.page);

        // A document that lays itself out is asked for the same paper, and
        // its PDF is what the queue gets.
        QSize askedFor;
        const QByteArray made = "%PDF-1.4 laid out for the queue";
        const Outcome pdfOutcome = printPdfAndWait(printer, [&](const QPageSize &paper) {
            askedFor = paper.sizePoints();
            return made;
        });
        ASSERT_TRUE(pdfOutcome->has_value());
        EXPECT_FALSE(**pdfOutcome);
        EXPECT_EQ(askedFor, test.page);
        EXPECT_EQ(readAll(dir.filePath("spooled.pdf")), made);
    }
}

TEST(PaperSize, QueueAnswersAndLocalesNameThePaper)
{
    struct QueueCase
    {
        const char *answer;
        std::optional<QPageSize::PageSizeId> paper;
    };
    const QueueCase answers[] = {
        {"ColorModel/Color Mode: *Gray RGB\nPageSize/Media Size: Letter *A4 Legal\nDuplex/2-Sided: *None", QPageSize::A4},
        {"PageSize/Media Size: A4 *Letter.Fullbleed", QPageSize::Letter},
        {"PageSize/Taille du papier: *iso_a5_148x210mm na_letter_8.5x11in", QPageSize::A5},
        {"PageSize/Media Size: *Legal", QPageSize::Legal},
        {"PageSize/Media Size: A4 Letter", std::nullopt},          // no default
        {"PageSize/Media Size: *Custom.200x300mm A4", std::nullopt}, // a size of its own
        {"copies=1 media=A4 printer-info='Office, first floor'", QPageSize::A4},
        {"media=iso_a4_210x297mm,tray-1 PageSize=Letter", QPageSize::Letter},
        {"copies=1 finishings=3 job-sheets=none,none", std::nullopt},
        {"", std::nullopt},
    };
    for (const QueueCase &test : answers) {
        SCOPED_TRACE(test.answer);
        const std::optional<QPageSize> paper = platform::queuePaperSize(QString::fromUtf8(test.answer));
        ASSERT_EQ(paper.has_value(), test.paper.has_value());
        if (paper) {
            EXPECT_EQ(paper->id(), *test.paper);
        }
    }

    struct LocaleCase
    {
        const char *lcAll, *lcPaper, *lang;
        QPageSize::PageSizeId paper;
    };
    const LocaleCase locales[] = {
        {"", "en_US.UTF-8", "de_DE.UTF-8", QPageSize::Letter},
        {"", "de_DE.UTF-8", "en_US.UTF-8", QPageSize::A4},
        {"de_AT.UTF-8", "en_US.UTF-8", "", QPageSize::A4}, // LC_ALL first
        {"", "", "fr_CA.UTF-8", QPageSize::Letter},         // then LANG
        {"", "", "es_MX@euro", QPageSize::Letter},
        {"", "", "fil_PH", QPageSize::Letter},
        {"", "", "en_GB.UTF-8", QPageSize::A4},
        {"", "", "C.UTF-8", QPageSize::A4},
        {"", "POSIX", "", QPageSize::A4},
        {"", "", "", QPageSize::A4},
    };
    for (const LocaleCase &test : locales) {
        SCOPED_TRACE(std::string(test.lcAll) + "|" + test.lcPaper + "|" + test.lang);
        QProcessEnvironment environment;
        environment.insert("LC_ALL", test.lcAll);
        environment.insert("LC_PAPER", test.lcPaper);
        environment.insert("LANG", test.lang);
        EXPECT_EQ(platform::localePaperSize(environment).id(), test.paper);
    }
}

TEST(DefaultPrinter, AJobOnItsWayWhenThePrinterGoesIsAbandonedCleanly)
{
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;
    // Waits to be released, as a print server that does not answer.
    const QString lp = writeCommand(dir, "lp",
                                    "printf '%s\\n' \"$5\" > \"$(dirname \"$0\")/file\"\n"
                                    "echo $$ > \"$(dirname \"$0\")/pid\"\n"
                                    "while [ ! -e \"$(dirname \"$0\")/release\" ]; do sleep 0.1; done\n");
    auto printer = std::make_unique<platform::DefaultPrinter>(
        platform::PrintCommands{writeLpstat(dir, kOffice), QString(), lp});
    const Outcome outcome = startPrint(*printer, document);
    const QString pid = dir.filePath("pid");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(pid) && readAll(pid).endsWith('\n'); }, 20000));
    const QString printFile = QString::fromLocal8Bit(readAll(dir.filePath("file")).trimmed());
    ASSERT_TRUE(QFile::exists(printFile));

    printer.reset();
    QTest::qWait(50);
    EXPECT_FALSE(outcome->has_value());
    EXPECT_NE(::kill(readAll(pid).trimmed().toInt(), 0), 0) << "lp still runs";
    EXPECT_FALSE(QFile::exists(printFile));
}

TEST(ExportPdf, ANewFileFollowsTheUmaskAndAReplacedOneKeepsItsMode)
{
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;
    auto modeOf = [](const QString &path) {
        struct stat status = {};
        ::stat(QFile::encodeName(path).constData(), &status);
        return status.st_mode & 07777;
    };
    const mode_t previous = ::umask(022);
    const QString fresh = dir.filePath("fresh.pdf");
    const kestrava::MaybeFailure created = platform::exportPdf(document, fresh);

    const QString old = dir.filePath("old.pdf");
    QFile file(old);
    file.open(QIODevice::WriteOnly);
    file.write("old");
    file.close();
    ::chmod(QFile::encodeName(old).constData(), 0640);
    const kestrava::MaybeFailure replaced = platform::exportPdf(document, old);
    ::umask(previous);

    EXPECT_FALSE(created);
    EXPECT_EQ(modeOf(fresh), 0644u);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(modeOf(old), 0640u);
    EXPECT_TRUE(readAll(old).startsWith("%PDF"));
}

// The suite printing to the default queue through stand-in commands.
class StandInQueueTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        test.printer = std::make_unique<platform::DefaultPrinter>(
            platform::PrintCommands{writeLpstat(m_dir, kOffice), QString(), spooler()});
        SuiteTest::SetUp();
    }
    virtual QString spooler() = 0;

    void showLifePath()
    {
        openNavigator("MARY", "ANN", "SMITH");
        click(kNavigator, "cmdLifePath");
    }
    QLabel *status() const { return control<QLabel>(kDisplay, "lblPrintStatus"); }

    const QString kNavigator = "frmNumerologyProResult";
    const QString kDisplay = "frmNumerologyProDisp";
    QTemporaryDir m_dir;
};

// A print server that takes five seconds to refuse the job.
class SlowQueueTest : public StandInQueueTest
{
protected:
    QString spooler() override { return writeSpooler(m_dir, "sleep 5\n" + kRefused); }
};

TEST_F(SlowQueueTest, TheWindowKeepsWorkingWhileTheJobIsSentAndTheOutcomeIsReported)
{
    showLifePath();
    int ticksWhileSending = 0;
    QTimer ticker;
    ticker.setInterval(50);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticksWhileSending += status()->isVisible(); });
    ticker.start();

    click(kDisplay, "cmdPrint");
    // Back at once, showing that the job is being sent.
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_TRUE(status()->isVisible());
    EXPECT_EQ(status()->text(), "Sending to the printer…");
    EXPECT_FALSE(control<QPushButton>(kDisplay, "cmdPrint")->isEnabled());
    EXPECT_EQ(window(kDisplay)->cursor().shape(), Qt::BusyCursor);
    // Another reading can be shown meanwhile.
    click(kNavigator, "cmdDestiny");

    ASSERT_TRUE(QTest::qWaitFor([&] { return !test.messages.shown.isEmpty(); }, 30000));
    EXPECT_GT(ticksWhileSending, 0);
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
    EXPECT_EQ(test.messages.shown[0].text, "The reading could not be printed.\n" + kRefusedText);
    EXPECT_FALSE(status()->isVisible());
    EXPECT_TRUE(control<QPushButton>(kDisplay, "cmdPrint")->isEnabled());
    EXPECT_EQ(window(kDisplay)->cursor().shape(), Qt::ArrowCursor);
}

// A print server that answers when the test releases it.
class HeldQueueTest : public StandInQueueTest
{
protected:
    QString spooler() override
    {
        return writeSpooler(m_dir, "while [ ! -e \"$(dirname \"$0\")/release\" ]; do sleep 0.05; done\n" + kRefused);
    }
};

TEST_F(HeldQueueTest, AWindowClosedWhileSendingLeavesTheJobToFinishAndItsOutcomeIsReported)
{
    showLifePath();
    click(kDisplay, "cmdPrint");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_dir.filePath("spooled.pdf")); }, 20000));
    window(kDisplay)->close();
    QTest::qWait(20);
    EXPECT_EQ(window(kDisplay), nullptr);

    QFile release(m_dir.filePath("release"));
    release.open(QIODevice::WriteOnly);
    release.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !test.messages.shown.isEmpty(); }, 20000));
    EXPECT_EQ(test.messages.texts(), QStringList{"The reading could not be printed.\n" + kRefusedText});
}
