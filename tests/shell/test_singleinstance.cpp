#include "common/brand.h"
#include "common/updatereminder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs the real suite executable with its own runtime and settings folders.
class SuiteProcess
{
public:
    // Unattended, message boxes are answered at once; otherwise they wait
    // for a person, which on the offscreen platform never comes.
    explicit SuiteProcess(const QTemporaryDir &home, bool unattended = true)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (unattended)
            env.insert("KESTRAVA_UNATTENDED", "1");
        else
            env.remove("KESTRAVA_UNATTENDED");
        env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        m_process.setProcessEnvironment(env);
        m_process.setProgram(QStringLiteral(KESTRAVA_EXECUTABLE));
    }
    ~SuiteProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

QTemporaryDir makeHome()
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("runtime");
    QDir(home.path()).mkpath("config");
    QFile::setPermissions(home.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return home;
}

// Waits until the first instance holds its lock.
bool waitForLock(const QTemporaryDir &home)
{
    for (int i = 0; i < 100; ++i) {
        if (!QDir(home.filePath("runtime")).entryList({"*.lock"}, QDir::Files).isEmpty())
            return true;
        QTest::qWait(100);
    }
    return false;
}

} // namespace

TEST(SingleInstance, ASecondStartEndsAndLeavesTheFirstRunning)
{
    QTemporaryDir home = makeHome();
    SuiteProcess first(home);
    first.process().start();
    ASSERT_TRUE(first.process().waitForStarted());
    ASSERT_TRUE(waitForLock(home));

    SuiteProcess second(home);
    second.process().start();
    ASSERT_TRUE(second.process().waitForFinished(15000));
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_TRUE(second.process().readAllStandardError().contains("Application is already running"));

    QTest::qWait(300);
    EXPECT_EQ(first.process().state(), QProcess::Running);
}

TEST(SingleInstance, ALockLeftByACrashedInstanceDoesNotBlockTheNextStart)
{
    QTemporaryDir home = makeHome();
    {
        SuiteProcess crashed(home);
        crashed.process().start();
        ASSERT_TRUE(crashed.process().waitForStarted());
        ASSERT_TRUE(waitForLock(home));
        ::kill(pid_t(crashed.process().processId()), SIGKILL);
        crashed.process().waitForFinished(5000);
    }
    ASSERT_FALSE(QDir(home.filePath("runtime")).entryList({"*.lock"}, QDir::Files).isEmpty());

    SuiteProcess next(home);
    next.process().start();
    ASSERT_TRUE(next.process().waitForStarted());
    EXPECT_FALSE(next.process().waitForFinished(2000));
    EXPECT_EQ(next.process().state(), QProcess::Running);
    EXPECT_FALSE(next.process().readAllStandardError().contains("Application is already running"));
}

// The running copy takes files before its update reminder asks its question:
// a start with a file meanwhile hands it over instead of being turned away.
TEST(SingleInstance, AFileIsTakenWhileTheFirstStartsReminderAsks)
{
    QTemporaryDir home = makeHome();
    QSettings settings(home.filePath("config/") + kestrava::productName() + u'/'
                           + QFileInfo(KESTRAVA_EXECUTABLE).completeBaseName() + ".ini",
                       QSettings::IniFormat);
    settings.setValue("Settings/UpdateReminderDate",
                      kestrava::reminderDateText(QDateTime::currentDateTime().addDays(-30)));
    settings.sync();

    SuiteProcess first(home, false);
    first.process().start();
    ASSERT_TRUE(first.process().waitForStarted());
    ASSERT_TRUE(waitForLock(home));

    SuiteProcess second(home);
    second.process().setArguments({home.filePath("mary.num")});
    second.process().start();
    ASSERT_TRUE(second.process().waitForFinished(15000));
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_FALSE(second.process().readAllStandardError().contains("already running"));
    // The question still waits for its answer.
    EXPECT_EQ(first.process().state(), QProcess::Running);
}
