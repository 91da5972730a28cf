#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/numproprogram.h"
#include "platform/singleinstance.h"
#include "shell/application.h"
#include "support/suitefixture.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotprogram.h"

#include <QCoreApplication>
#include <QProcess>

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
        "notes.txt is not a saved reading. Kestrava opens its saved readings (*.num, *.tnm)."))
        << test.messages.shown[1].text.toStdString();
    EXPECT_TRUE(test.messages.shown[2].text.endsWith("gone.num cannot be found."));
}

TEST_F(OpenFilesTest, StartingWithAFileOpensIt)
{
    const QString file = saveNum("mary.num", kMary);
    EXPECT_EQ(commandLineFiles({"/STARTUP", "mary.num"}), QStringList{QDir::current().absoluteFilePath("mary.num")});
    platform::SingleInstance instance;
    acceptFiles(*main, instance, commandLineFiles({file}));
    QTest::qWait(50);
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_EQ(numPro()->subject(), kMary);
}

// A second start of the real program with a file gives it to the running
// instance (this test plays that instance) and ends without a message.
TEST_F(OpenFilesTest, ASecondStartHandsItsFileToTheRunningSuite)
{
    const QString file = saveNum("mary.num", kMary);
    const QString testName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QFileInfo(KESTRAVA_EXECUTABLE).completeBaseName());
    platform::SingleInstance instance;
    QCoreApplication::setApplicationName(testName);
    ASSERT_TRUE(instance.acquire());
    acceptFiles(*main, instance, {});

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KESTRAVA_UNATTENDED", "1");
    auto start = [&](const QStringList &arguments) {
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(KESTRAVA_EXECUTABLE, arguments);
        EXPECT_TRUE(second.waitForStarted(5000));
        // Keep answering while it runs: it waits for this instance's reply.
        for (int waited = 0; second.state() != QProcess::NotRunning && waited < 15000; waited += 20)
            QTest::qWait(20);
        EXPECT_EQ(second.exitCode(), 0);
        return QString::fromUtf8(second.readAllStandardError());
    };

    EXPECT_FALSE(start({file}).contains("already running"));
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_EQ(numPro()->subject(), kMary);
    EXPECT_TRUE(test.messages.shown.isEmpty());

    // Without a file there is nothing to hand over.
    EXPECT_TRUE(start({}).contains("Application is already running"));
}
