#include "common/shiftedlines.h"
#include "common/updatereminder.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/numproprogram.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "shell/application.h"
#include "shell/filereception.h"
#include "shell/updatereminderrun.h"
#include "support/suitefixture.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotprogram.h"

#include <QCoreApplication>
#include <QProcess>

#include <functional>
#include <memory>

namespace {

const QString kNavigator = QStringLiteral("frmNumerologyProResult");
const QString kTarotResult = QStringLiteral("frmTarotNumerologyResult");
const numpro::ReadingSubject kMary{"MARY", "ANN", "SMITH", "March", "7", "1980"};

} // namespace

class OpenFilesTest : public SuiteTest
{
protected:
    QString path(const QString &name) const { return test.dir.filePath(name); }
    QString saveNum(const QString &name, const numpro::ReadingSubject &subject)
    {
        EXPECT_FALSE(numpro::writeNumFile(path(name), subject));
        return path(name);
    }
    NumProProgram *numPro() const { return main->findChild<NumProProgram *>(QStringLiteral("numPro")); }
    TarotProgram *tarot() const { return main->findChild<TarotProgram *>(QStringLiteral("tarot")); }

    // The single-instance lock and socket of the real program, for this test
    // to play the running suite.
    static std::unique_ptr<platform::SingleInstance> runningSuite()
    {
        const QString testName = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QFileInfo(KESTRAVA_EXECUTABLE).completeBaseName());
        auto instance = std::make_unique<platform::SingleInstance>();
        QCoreApplication::setApplicationName(testName);
        return instance;
    }
    // Starts the real program once more and returns what it wrote to
    // standard error once it has ended.
    static QString startSecond(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KESTRAVA_UNATTENDED", "1");
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(KESTRAVA_EXECUTABLE, arguments);
        EXPECT_TRUE(second.waitForStarted(5000));
        // Keep answering while it runs: it waits for this instance's reply.
        for (int waited = 0; second.state() != QProcess::NotRunning && waited < 15000; waited += 20)
            QTest::qWait(20);
        EXPECT_EQ(second.exitCode(), 0);
        return QString::fromUtf8(second.readAllStandardError());
    }
};

TEST_F(OpenFilesTest, AFileOpensInTheProgramThatSavedIt)
{
    main->openFile(saveNum("mary.num", kMary));
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_TRUE(window(kNavigator)->isVisible());
    EXPECT_EQ(numPro()->subject(), kMary);
    EXPECT_TRUE(test.messages.shown.isEmpty());

    tarot::TarotReading john;
    john.name = "John Smith";
    john.birthDay = "7";
    john.birthMonth = "March";
    john.birthYear = "1980";
    ASSERT_FALSE(kestrava::writeShiftedLines(path("john.tnm"), tarot::tnmLines(john)));
    main->openFile(path("john.tnm"));
    EXPECT_EQ(window(kNavigator), nullptr); // the launcher's closing sequence ran
    ASSERT_NE(window(kTarotResult), nullptr);
    EXPECT_EQ(tarot()->reading().name, "John Smith");
    EXPECT_EQ(tarot()->reading().birthDate, "7 March 1980");

    // The same checks and messages as the Open commands, and one for any other file.
    QFile::copy(path("mary.num"), path("MARY.NUM"));
    main->openFile(path("MARY.NUM"));
    QFile other(path("notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    main->openFile(other.fileName());
    main->openFile(path("gone.num"));
    ASSERT_EQ(test.messages.shown.size(), 3);
    EXPECT_EQ(test.messages.shown[0].text, "Please Check The File.");
    EXPECT_TRUE(test.messages.shown[1].text.endsWith(
        "notes.txt is not a saved reading. Kestrava opens its saved readings (*.num, *.knc, *.tnm)."))
        << test.messages.shown[1].text.toStdString();
    EXPECT_TRUE(test.messages.shown[2].text.endsWith("gone.num cannot be found."));
}

TEST_F(OpenFilesTest, StartingWithAFileOpensIt)
{
    const QString file = saveNum("mary.num", kMary);
    EXPECT_EQ(commandLineFiles({"/STARTUP", "mary.num"}), QStringList{QDir::current().absoluteFilePath("mary.num")});
    platform::SingleInstance instance;
    FileReception reception(instance, commandLineFiles({file}));
    reception.openIn(*main);
    EXPECT_EQ(window(kNavigator), nullptr); // once the event loop runs
    QTest::qWait(50);
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_EQ(numPro()->subject(), kMary);
}

// A second start of the real program with a file gives it to the running
// instance (this test plays that instance) and ends without a message.
TEST_F(OpenFilesTest, ASecondStartHandsItsFileToTheRunningSuite)
{
    const QString file = saveNum("mary.num", kMary);
    std::unique_ptr<platform::SingleInstance> instance = runningSuite();
    ASSERT_TRUE(instance->acquire());
    FileReception reception(*instance, {});
    reception.openIn(*main);

    EXPECT_FALSE(startSecond({file}).contains("already running"));
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_EQ(numPro()->subject(), kMary);
    EXPECT_TRUE(test.messages.shown.isEmpty());

    // Without a file there is nothing to hand over.
    EXPECT_TRUE(startSecond({}).contains("Application is already running"));
}

namespace {

// The update reminder's question, open while a second start hands over its
// file; answers No.
class QuestionDuringASecondStart final : public platform::MessageBoxes
{
public:
    explicit QuestionDuringASecondStart(std::function<QString()> secondStart)
        : m_secondStart(std::move(secondStart))
    {
    }
    void inform(QWidget *, platform::Icon, const QString &) override {}
    bool ask(QWidget *, platform::Icon, const QString &text) override
    {
        questions << text;
        secondStartSaid = m_secondStart();
        return false;
    }

    QStringList questions;
    QString secondStartSaid;

private:
    std::function<QString()> m_secondStart;
};

} // namespace

// The running suite takes files from the moment it holds the lock, so a
// start while its update reminder still asks is not told "Application is
// already running"; the file opens once the main window is there.
TEST_F(OpenFilesTest, AFileHandedOverWhileTheReminderAsksOpensAfterIt)
{
    const QString file = saveNum("mary.num", kMary);
    const QString reminderKey = QStringLiteral("UpdateReminderDate");
    platform::writeSetting(reminderKey, kestrava::reminderDateText(test.clock.now().addDays(-30)));
    std::unique_ptr<platform::SingleInstance> instance = runningSuite();
    ASSERT_TRUE(instance->acquire());

    // The start-up order of the suite: take files, remind, show the window.
    FileReception reception(*instance, {});
    QuestionDuringASecondStart question([&] { return startSecond({file}); });
    platform::Services services = test.services();
    services.messages = &question;
    runUpdateReminder(services, nullptr);
    platform::writeSetting(reminderKey, QString());

    ASSERT_EQ(question.questions.size(), 1);
    EXPECT_FALSE(question.secondStartSaid.contains("already running")) << question.secondStartSaid.toStdString();
    EXPECT_EQ(reception.waiting(), QStringList{file});
    EXPECT_EQ(window(kNavigator), nullptr);

    reception.openIn(*main);
    QTest::qWait(50);
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_EQ(numPro()->subject(), kMary);
    EXPECT_TRUE(reception.waiting().isEmpty());
}
