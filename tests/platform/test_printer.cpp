#include "platform/printer.h"
#include "support/suitefixture.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <sys/stat.h>

namespace {

// A stand-in for the lp command: it keeps what it was handed and answers as
// the script says.
QString writeSpooler(const QTemporaryDir &dir, const QByteArray &answer)
{
    const QString path = dir.filePath("lp");
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n"
                 "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments\"\n"
                 "cp \"$5\" \"$(dirname \"$0\")/spooled.pdf\"\n"
                 + answer);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

const QByteArray kRefused = "echo 'lp: Destination \"office\" is not accepting jobs.' >&2\nexit 1\n";

QString pdfText(const QString &path)
{
    QProcess convert;
    convert.start("pdftotext", {path, "-"});
    convert.waitForFinished(20000);
    return QString::fromUtf8(convert.readAllStandardOutput());
}

} // namespace

TEST(SpoolingPrinter, TheJobGoesToTheQueueAsAPdfAndARefusalIsReported)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;

    platform::SpoolingPrinter taken("office", writeSpooler(dir, "exit 0\n"));
    EXPECT_FALSE(taken.print(document));
    QFile arguments(dir.filePath("arguments"));
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_TRUE(arguments.readAll().startsWith("-d\noffice\n-t\n"));
    EXPECT_TRUE(pdfText(dir.filePath("spooled.pdf")).contains("Your LifePath Number is: 22"));

    platform::SpoolingPrinter refused("office", writeSpooler(dir, kRefused));
    const kestrava::MaybeFailure failure = refused.print(document);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason,
              "The printer \"office\" did not take the job: lp: Destination \"office\" is not accepting jobs.");

    platform::SpoolingPrinter missing("office", dir.filePath("no-such-command"));
    EXPECT_TRUE(missing.print(document));
}

// A stand-in for lpstat that answers -d as the script says.
QString writeLpstat(const QTemporaryDir &dir, const QByteArray &answer)
{
    static int count = 0;
    const QString path = dir.filePath(QStringLiteral("lpstat-%1").arg(++count));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n" + answer);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(DefaultPrinter, TheDefaultQueueTakesTheJobAndNoPrinterIsReportedInsteadOfPrintingNothing)
{
    const QTextDocument document("Your LifePath Number is: 22");
    QTemporaryDir dir;
    const QString lp = writeSpooler(dir, "exit 0\n");
    const QString noPrinter = "No printer is available. Please install or select a default printer and try again.";
    struct Case
    {
        const char *name;
        QString lpstat;
        QString lp;
        QString failure; // empty: printed
    };
    const Case cases[] = {
        {"no print system", QString(), QString(), noPrinter},
        {"no default queue", writeLpstat(dir, "echo 'no system default destination'\n"), lp, noPrinter},
        {"lpstat fails", writeLpstat(dir, "echo 'lpstat: Scheduler is not running.' >&2\nexit 1\n"), lp, noPrinter},
        {"no spooler", writeLpstat(dir, "echo 'system default destination: office'\n"), QString(),
         "The print spooler lp could not be found."},
        {"printed", writeLpstat(dir, "echo 'system default destination: office'\n"), lp, QString()},
    };
    for (const Case &test : cases) {
        QFile::remove(dir.filePath("arguments"));
        platform::DefaultPrinter printer(test.lpstat, test.lp);
        const kestrava::MaybeFailure failure = printer.print(document);
        if (test.failure.isEmpty()) {
            EXPECT_FALSE(failure) << test.name;
            QFile arguments(dir.filePath("arguments"));
            ASSERT_TRUE(arguments.open(QIODevice::ReadOnly)) << test.name;
            EXPECT_TRUE(arguments.readAll().startsWith("-d\noffice\n")) << test.name;
        } else {
            ASSERT_TRUE(failure) << test.name;
            EXPECT_EQ(failure->reason, test.failure) << test.name;
            EXPECT_FALSE(QFile::exists(dir.filePath("arguments"))) << test.name;
        }
    }
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
    QFile written(old);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF"));
}

// The suite printing to a queue that refuses every job.
class RefusingQueueTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        test.printer = std::make_unique<platform::SpoolingPrinter>("office", writeSpooler(m_dir, kRefused));
        SuiteTest::SetUp();
    }
    QTemporaryDir m_dir;
};

TEST_F(RefusingQueueTest, APrintTheQueueRefusesSaysSo)
{
    openNavigator("MARY", "ANN", "SMITH");
    click("frmNumerologyProResult", "cmdLifePath");
    click("frmNumerologyProDisp", "cmdPrint");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
    EXPECT_EQ(test.messages.shown[0].text, "The reading could not be printed.\n"
                                           "The printer \"office\" did not take the job: "
                                           "lp: Destination \"office\" is not accepting jobs.");
}
