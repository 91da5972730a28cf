#include "common/brand.h"
#include "daily/dailynumber.h"
#include "daily/ui/dailymain.h"
#include "daily/ui/dailyprogram.h"
#include "platform/settingsstore.h"
#include "platform/startupentry.h"
#include "shell/application.h"
#include "support/suitefixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QSettings>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

namespace {

const QString kDaily = QStringLiteral("frmDailyNumerologyMain");

QString entryName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

// Every test starts as on a machine where the program never ran.
class DailyTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                           QCoreApplication::applicationName());
        settings.remove(QStringLiteral("Settings"));
        settings.sync();
        QFile::remove(platform::startupEntryPath(entryName()));
        SuiteTest::SetUp();
    }

    DailyMain *daily() const { return qobject_cast<DailyMain *>(window(kDaily)); }
    DailyProgram *program() const { return main->findChild<DailyProgram *>(QStringLiteral("daily")); }
    QString text(const char *label) const { return control<QLabel>(kDaily, label)->text(); }
    QComboBox *list(const char *name) const { return control<QComboBox>(kDaily, name); }
    QRadioButton *option(const char *name) const { return control<QRadioButton>(kDaily, name); }
    QCheckBox *trayBox() const { return control<QCheckBox>(kDaily, "chkSysTray"); }
    bool settingsInFront() const
    {
        return control<QStackedWidget>(kDaily, {})->currentWidget()->objectName() == "fraSettings";
    }
    void pick(const char *name, const QString &value) const { list(name)->setCurrentIndex(list(name)->findText(value)); }
    void at(int hour, int minute, int second, QDate date = {2026, 12, 10})
    {
        test.clock.set(QDateTime(date, QTime(hour, minute, second)));
    }
    // A later day's start: a birth date and a display time stored.
    static void storeSettings(const char *day, const char *month, const char *hour = "7",
                              const char *minute = "0")
    {
        platform::writeSetting("HourDailyNumerology", hour);
        platform::writeSetting("MinuteDailyNumerology", minute);
        platform::writeSetting("SecondDailyNumerology", "0");
        platform::writeSetting("BirthDateDailyNumerology", day);
        platform::writeSetting("BirthMonthDailyNumerology", month);
    }
    static QString numberOn(QDate date) { return QString::number(daily::dailyNumber(u"23", u"June", date)); }
    // The suite started once more, this time by the log-in entry.
    void restartAtLogon()
    {
        main.reset();
        QApplication::processEvents();
        main = std::make_unique<MainWindow>(test.services());
        showMainWindow(*main, installPrograms(*main), true);
    }
    bool reminderArmed() const
    {
        const auto *timer = daily() ? daily()->findChild<QTimer *>(QStringLiteral("Timer1")) : nullptr;
        return timer && timer->isActive();
    }
};

TEST_F(DailyTest, FirstStartShowsTheSettingsWithSevenOClock)
{
    main->launch(kestrava::ProgramId::Daily);
    ASSERT_NE(daily(), nullptr);
    EXPECT_EQ(daily()->windowTitle(), "Orvanel Vavov Uvarevuvir");
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(list("cboDate")->currentText(), "1");
    EXPECT_EQ(list("cboMonth")->currentText(), "January");
    EXPECT_EQ(list("cboYear")->currentText(), "1901");
    EXPECT_EQ(list("cboYear")->count(), 150);
    EXPECT_EQ(list("cboHour")->currentText(), "7");
    EXPECT_EQ(list("cboMinute")->currentText(), "0");
    EXPECT_EQ(list("cboSecond")->currentText(), "0");
    EXPECT_EQ(platform::readSetting("HourDailyNumerology"), "7");
    EXPECT_TRUE(settingsInFront());
    EXPECT_TRUE(option("optDontRun")->isChecked());
    EXPECT_FALSE(trayBox()->isChecked());
    EXPECT_FALSE(trayBox()->isEnabled());
    EXPECT_FALSE(QFile::exists(platform::startupEntryPath(entryName())));
    // 1 January on 10 December 2026: 1 + 1 + 1 + 3 + 1 = 7.
    EXPECT_EQ(text("lblNumeroNumberTwo"), "7");
    EXPECT_EQ(text("lblNumeroNumberOne"), "7");
    EXPECT_EQ(text("lblNumber"), "Seven");
    EXPECT_EQ(text("lblNumberDesc"), daily::dailyText(7));
    EXPECT_EQ(text("Label4"), "You Lucky Number");
    EXPECT_EQ(control<QPushButton>(kDaily, "cmdExit")->text(), "&Exit");
    EXPECT_TRUE(test.messages.shown.isEmpty());
}

TEST_F(DailyTest, ALaterStartRestoresTheBirthDateAndShowsTheReading)
{
    platform::writeSetting("HourDailyNumerology", "9");
    platform::writeSetting("MinuteDailyNumerology", "30");
    platform::writeSetting("BirthDateDailyNumerology", "23");
    platform::writeSetting("BirthMonthDailyNumerology", "June");
    platform::writeSetting("BirthYearDailyNumerology", "1980");
    main->launch(kestrava::ProgramId::Daily);
    EXPECT_EQ(list("cboDate")->currentText(), "23");
    EXPECT_EQ(list("cboMonth")->currentText(), "June");
    EXPECT_EQ(list("cboYear")->currentText(), "1980");
    EXPECT_EQ(list("cboHour")->currentText(), "9");
    EXPECT_EQ(list("cboMinute")->currentText(), "30");
    EXPECT_FALSE(settingsInFront());
    const qint16 expected = daily::dailyNumber(u"23", u"June", {2026, 12, 10});
    EXPECT_EQ(text("lblNumeroNumberTwo"), QString::number(expected));

    // Settings and the Tools menu bring the settings page forward.
    click(kDaily, "cmdSettings");
    EXPECT_TRUE(settingsInFront());

    // A selection is stored at once; the number follows when the date is applied.
    pick("cboMonth", "March");
    EXPECT_EQ(platform::readSetting("BirthMonthDailyNumerology"), "March");
    EXPECT_EQ(text("lblNumeroNumberTwo"), QString::number(expected));
    pick("cboSecond", "15");
    EXPECT_EQ(platform::readSetting("SecondDailyNumerology"), "15");
    click(kDaily, "cmdCalculateMoonPhase");
    const qint16 march = daily::dailyNumber(u"23", u"March", {2026, 12, 10});
    ASSERT_NE(march, expected);
    EXPECT_EQ(text("lblNumeroNumberTwo"), QString::number(march));
    EXPECT_EQ(text("lblNumeroNumberOne"), QString::number(march));
    EXPECT_EQ(text("lblNumber"), daily::dailyWord(march));
    EXPECT_EQ(text("lblNumberDesc"), daily::dailyText(march));
    EXPECT_FALSE(settingsInFront());
}

TEST_F(DailyTest, BroughtBackBeforeTheDisplayTimeTheReadingIsTodays)
{
    storeSettings("23", "June");
    const struct
    {
        const char *how;
        std::function<void(DailyMain &)> bringBack;
    } rows[] = {
        {"restored where it waits minimised", [](DailyMain &window) { window.showNormal(); }},
        {"the tray's Show", [](DailyMain &window) { window.showFromTray(); }},
    };
    QDate day(2026, 12, 10);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.how);
        at(9, 0, 0, day);
        main->launch(kestrava::ProgramId::Daily);
        click(kDaily, "cmdCalculateMoonPhase");
        ASSERT_TRUE(daily()->isMinimized());
        EXPECT_EQ(text("lblNumeroNumberTwo"), numberOn(day));
        // The next morning, an hour before seven.
        day = day.addDays(1);
        at(6, 0, 0, day);
        row.bringBack(*daily());
        EXPECT_FALSE(daily()->isMinimized());
        ASSERT_NE(numberOn(day), numberOn(day.addDays(-1)));
        EXPECT_EQ(text("lblNumeroNumberTwo"), numberOn(day));
        EXPECT_EQ(text("lblNumber"), daily::dailyWord(numberOn(day).toShort()));
    }
}

TEST_F(DailyTest, TheStartUpChoiceActsAtOnce)
{
    main->launch(kestrava::ProgramId::Daily);
    const QString entry = platform::startupEntryPath(entryName());
    option("optRun")->click();
    ASSERT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(platform::hasStartupEntry(entryName()));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.contains("Exec=\"" + QCoreApplication::applicationFilePath() + "\" /STARTUP\n"))
        << content.toStdString();
    file.close();
    EXPECT_TRUE(trayBox()->isEnabled());
    trayBox()->click();
    EXPECT_EQ(platform::readSetting("RunAtSysTrayDailyNumerology"), "True");
    // Stored only when the settings are applied.
    EXPECT_TRUE(platform::readSetting("AutorunStartUpDailyNumerology").isEmpty());

    option("optDontRun")->click();
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(trayBox()->isChecked());
    EXPECT_FALSE(trayBox()->isEnabled());
    EXPECT_EQ(platform::readSetting("RunAtSysTrayDailyNumerology"), "False");

    // An entry the desktop switched off does not count.
    option("optRun")->click();
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(platform::hasStartupEntry(entryName()));

    // A folder that cannot be made says why, and the option stays chosen.
    option("optDontRun")->click();
    const QString folder = QFileInfo(entry).absolutePath();
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    option("optRun")->click();
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.startsWith("Error ")) << test.messages.shown[0].text.toStdString();
    EXPECT_TRUE(test.messages.shown[0].text.contains(" opening key\r\n"));
    EXPECT_TRUE(option("optRun")->isChecked());
    QFile::remove(folder);
}

TEST_F(DailyTest, EachOpeningWritesTheStartUpEntryOnceAsLastChosen)
{
    const QString entry = platform::startupEntryPath(entryName());
    const QString folder = QFileInfo(entry).absolutePath();
    // Whether the entry exists and the stored choice: the stored choice wins.
    const struct
    {
        const char *name;
        bool entryBefore;
        const char *autorun;
        bool folderBlocked;
        bool entryAfter;
    } rows[] = {
        {"kept", true, "True", false, true},
        {"taken away as applied", true, "False", false, false},
        {"written again as applied", false, "True", false, true},
        {"cannot be written", false, "True", true, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        if (daily())
            daily()->closeByProgram();
        test.messages.shown.clear();
        QDir(folder).removeRecursively();
        if (row.entryBefore) {
            ASSERT_FALSE(platform::setStartupEntry(entryName(), QCoreApplication::applicationFilePath(), true));
        }
        if (row.folderBlocked) {
            QFile blocker(folder);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        }
        storeSettings("23", "June");
        platform::writeSetting("AutorunStartUpDailyNumerology", row.autorun);

        main->launch(kestrava::ProgramId::Daily);
        if (row.folderBlocked)
            QFile::remove(folder);
        const bool run = QLatin1String(row.autorun) == QLatin1String("True");
        EXPECT_EQ(option("optRun")->isChecked(), run);
        EXPECT_EQ(trayBox()->isEnabled(), run);
        EXPECT_EQ(QFileInfo(entry).isFile(), row.entryAfter);
        if (row.folderBlocked) {
            // Told once, not once for each time the load sequence chose.
            ASSERT_EQ(test.messages.shown.size(), 1);
            EXPECT_TRUE(test.messages.shown[0].text.contains(" opening key\r\n"));
        } else {
            EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join(' ').toStdString();
        }
    }
}

TEST_F(DailyTest, TheReminderComesOnceADayWhenItsTimePasses)
{
    platform::writeSetting("HourDailyNumerology", "7");
    platform::writeSetting("MinuteDailyNumerology", "0");
    platform::writeSetting("SecondDailyNumerology", "0");
    platform::writeSetting("BirthDateDailyNumerology", "23");
    platform::writeSetting("BirthMonthDailyNumerology", "June");
    at(6, 59, 58);
    main->launch(kestrava::ProgramId::Daily);
    // No notification area on this platform: the window waits minimised.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    click(kDaily, "cmdCalculateMoonPhase");
    EXPECT_TRUE(daily()->isMinimized());
    EXPECT_TRUE(daily()->isVisible());
    EXPECT_FALSE(daily()->trayIcon()->isVisible());
    EXPECT_EQ(platform::readSetting("AutorunStartUpDailyNumerology"), "False");

    at(6, 59, 59);
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());
    at(7, 0, 0);
    daily()->tick();
    EXPECT_FALSE(daily()->isMinimized());
    EXPECT_FALSE(settingsInFront());

    click(kDaily, "cmdCalculateMoonPhase");
    at(7, 0, 1);
    daily()->tick();
    at(18, 0, 0);
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());

    // The next day, a machine that slept through seven o'clock still gets
    // its reading, computed for the new date.
    at(9, 30, 0, {2026, 12, 11});
    daily()->tick();
    EXPECT_FALSE(daily()->isMinimized());
    EXPECT_EQ(text("lblNumeroNumberTwo"), QString::number(daily::dailyNumber(u"23", u"June", {2026, 12, 11})));
    click(kDaily, "cmdCalculateMoonPhase");
    at(9, 30, 1, {2026, 12, 11});
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());
}

TEST_F(DailyTest, ALaterDisplayTimeTheSameDayBringsTheReadingAgain)
{
    storeSettings("23", "June");
    at(6, 59, 59);
    main->launch(kestrava::ProgramId::Daily);
    click(kDaily, "cmdCalculateMoonPhase");
    at(7, 0, 0);
    daily()->tick();
    ASSERT_FALSE(daily()->isMinimized());

    // At eight the user moves the time to half past nine.  Half past seven,
    // on the way, is gone already and brings nothing.
    at(8, 0, 0);
    daily()->showSettingsPage();
    pick("cboMinute", "30");
    click(kDaily, "cmdCalculateMoonPhase");
    at(8, 0, 1);
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());
    daily()->showNormal();
    pick("cboHour", "9");
    click(kDaily, "cmdCalculateMoonPhase");
    at(9, 29, 59);
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());
    at(9, 30, 0);
    daily()->tick();
    EXPECT_FALSE(daily()->isMinimized());
    EXPECT_FALSE(settingsInFront());

    // Once only.
    click(kDaily, "cmdCalculateMoonPhase");
    at(9, 30, 1);
    daily()->tick();
    at(23, 0, 0);
    daily()->tick();
    EXPECT_TRUE(daily()->isMinimized());
}

TEST_F(DailyTest, ExitAsksAndNoAppliesTheSettings)
{
    main->launch(kestrava::ProgramId::Daily);
    pick("cboMonth", "April");
    pick("cboDate", "31");
    click(kDaily, "cmdExit"); // answered No
    ASSERT_EQ(test.messages.shown.size(), 2);
    EXPECT_EQ(test.messages.shown[0].text, "Are You Sure You Want To Quit Orvanel Vavov Uvarevuvir ?");
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Warning);
    EXPECT_EQ(test.messages.shown[1].text, "Please Enter Correct Date !");
    EXPECT_EQ(test.messages.shown[1].icon, platform::Icon::Information);
    ASSERT_NE(daily(), nullptr);
    EXPECT_FALSE(daily()->isMinimized());

    // 29 February passes, 30 February does not.
    test.messages.shown.clear();
    pick("cboMonth", "February");
    pick("cboDate", "29");
    click(kDaily, "cmdCalculateMoonPhase");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    daily()->showNormal();
    pick("cboDate", "30");
    click(kDaily, "cmdCalculateMoonPhase");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Correct Date !"});

    test.messages.answers.push_back(true);
    option("optRun")->click();
    click(kDaily, "cmdExit");
    EXPECT_EQ(daily(), nullptr);
    EXPECT_EQ(platform::readSetting("AutorunStartUpDailyNumerology"), "True");
    EXPECT_TRUE(welcome()->isVisible());
}

// Each Alt letter of the settings page reaches one menu or one list, on
// every press: a letter two of them claim went to each in turn.
TEST_F(DailyTest, EachAltLetterOfTheSettingsPageReachesOneMenuOrList)
{
    main->launch(kestrava::ProgramId::Daily);
    ASSERT_TRUE(settingsInFront());
    const struct
    {
        Qt::Key key;
        const char *menu; // or
        const char *list;
    } rows[] = {
        {Qt::Key_F, "mnuFile", nullptr},  {Qt::Key_C, "mnuClients", nullptr}, {Qt::Key_T, "mnuTools", nullptr},
        {Qt::Key_H, "mnuHelp", nullptr},  {Qt::Key_O, nullptr, "cboHour"},      {Qt::Key_I, nullptr, "cboMinute"},
        {Qt::Key_D, nullptr, "cboSecond"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(QKeySequence(row.key).toString().toStdString());
        for (int round = 0; round < 2; ++round) {
            list("cboDate")->setFocus();
            QTest::keyClick(main->windowHandle(), row.key, Qt::AltModifier);
            QApplication::processEvents();
            QWidget *popup = QApplication::activePopupWidget();
            if (row.menu) {
                ASSERT_NE(popup, nullptr) << round;
                EXPECT_EQ(popup->objectName(), row.menu) << round;
            } else {
                EXPECT_EQ(popup, nullptr) << round;
                EXPECT_EQ(QApplication::focusWidget(), list(row.list)) << round;
            }
            while (QWidget *open = QApplication::activePopupWidget())
                open->close();
        }
    }
}

// A client's reading names the client, and every way back to the user's own
// reading shows the user's own number under the plain caption again.
TEST_F(DailyTest, AClientsReadingNamesTheClientAndGivesWayToTheUsersOwn)
{
    storeSettings("23", "June");
    at(6, 59, 59);
    main->launch(kestrava::ProgramId::Daily);
    const QString own = numberOn({2026, 12, 10});
    const QString lynns = QString::number(daily::dailyNumber(u"4", u"March", {2026, 12, 10}));
    ASSERT_NE(own, lynns);
    auto *reading = control<QGroupBox>(kDaily, "fraRune");
    auto *ownReading = control<QPushButton>(kDaily, "cmdOwnReading");
    ASSERT_NE(ownReading, nullptr);
    EXPECT_FALSE(ownReading->isVisible());

    const struct
    {
        const char *how;
        std::function<void()> back;
    } ways[] = {
        // First, while the clock has not yet passed the display time.
        {"the reminder", [&] {
             at(7, 0, 0);
             daily()->tick();
         }},
        {"Your Own Reading", [&] { click(kDaily, "cmdOwnReading"); }},
        {"the close box", [&] {
             daily()->close();
             daily()->showNormal();
         }},
        {"Tools > Settings", [&] {
             daily()->findChild<QAction *>(QStringLiteral("mnuSettings"))->trigger();
             EXPECT_TRUE(settingsInFront());
         }},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(way.how);
        // Names come as typed; the reading takes them in capitals.
        daily()->readFor({QStringLiteral("Lynn"), {}, QStringLiteral("Wynn"), QDate(1990, 3, 4), {}}, 0);
        EXPECT_FALSE(settingsInFront());
        EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading for LYNN WYNN");
        EXPECT_EQ(text("lblNumeroNumberTwo"), lynns);
        EXPECT_EQ(text("lblNumberDesc"), daily::dailyText(lynns.toInt()));
        EXPECT_EQ(text("lblNumeroNumberOne"), own);
        EXPECT_TRUE(ownReading->isVisible());

        way.back();
        EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading");
        EXPECT_EQ(text("lblNumeroNumberTwo"), own);
        EXPECT_EQ(text("lblNumberDesc"), daily::dailyText(own.toInt()));
        EXPECT_FALSE(ownReading->isVisible());
        EXPECT_EQ(list("cboDate")->currentText(), "23");
        EXPECT_EQ(list("cboMonth")->currentText(), "June");
        daily()->showNormal();
    }

    // A person without names is still told apart from the user.
    daily()->readFor({{}, {}, {}, QDate(1990, 3, 4), {}}, 0);
    EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading for a Client Born 4 March 1990");
    EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join('|').toStdString();
}

TEST_F(DailyTest, TheCloseBoxPutsTheReadingAwayAndTheLauncherClosesIt)
{
    main->launch(kestrava::ProgramId::Daily);
    daily()->close();
    ASSERT_NE(daily(), nullptr);
    EXPECT_TRUE(daily()->isMinimized());
    EXPECT_FALSE(settingsInFront());
    // Put away, the window leaves the welcome panel in view.
    EXPECT_TRUE(welcome()->isVisible());
    daily()->showNormal();
    EXPECT_FALSE(welcome()->isVisible());

    main->launch(kestrava::ProgramId::Tarot);
    EXPECT_EQ(daily(), nullptr);
    EXPECT_EQ(platform::readSetting("SystemTrayDailyNumerology"), "False");
}

TEST_F(DailyTest, StartedAtLogOnWithTheTrayBoxItWaitsMinimisedWithoutANotificationArea)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    storeSettings("23", "June");
    platform::writeSetting("RunAtSysTrayDailyNumerology", "True");
    platform::writeSetting("SystemTrayDailyNumerology", "True");
    platform::writeSetting("AutorunStartUpDailyNumerology", "True");
    ASSERT_FALSE(platform::setStartupEntry(entryName(), QCoreApplication::applicationFilePath(), true));
    at(6, 30, 0);
    restartAtLogon();

    ASSERT_NE(daily(), nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMinimized());
    EXPECT_TRUE(daily()->isMinimized());
    EXPECT_TRUE(reminderArmed());
    EXPECT_TRUE(option("optRun")->isChecked());
    EXPECT_TRUE(trayBox()->isChecked());
    EXPECT_TRUE(platform::hasStartupEntry(entryName()));
    EXPECT_TRUE(test.messages.shown.isEmpty());

    // At seven the reading comes up, and the suite around it.
    at(7, 0, 0);
    daily()->tick();
    EXPECT_FALSE(main->isMinimized());
    EXPECT_TRUE(main->isMaximized());
    EXPECT_FALSE(daily()->isMinimized());
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(text("lblNumeroNumberTwo"), numberOn({2026, 12, 10}));
    auto atTheLaunchersPlace = [this] {
        QTest::qWait(20);
        const QWidget *area = main->documentArea()->viewport();
        EXPECT_NEAR(daily()->x(), qMax(0, (area->width() - daily()->width()) / 2), 1);
        EXPECT_EQ(daily()->y(), 0);
    };
    atTheLaunchersPlace();

    // The user may restore the suite, then the reading, before seven.
    at(6, 30, 0);
    restartAtLogon();
    main->showMaximized();
    EXPECT_TRUE(daily()->isMinimized());
    EXPECT_TRUE(welcome()->isVisible());
    daily()->showNormal();
    EXPECT_FALSE(welcome()->isVisible());
    atTheLaunchersPlace();
}

TEST_F(DailyTest, StartedAtLogOnWithoutTheTrayBoxTheSuiteOpensAsUsual)
{
    // The box counts only with the start-up entry there.
    const struct
    {
        const char *name;
        bool entry;
        const char *trayBox;
    } rows[] = {
        {"entry, box cleared", true, "False"},
        {"box set, no entry", false, "True"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        storeSettings("23", "June");
        platform::writeSetting("RunAtSysTrayDailyNumerology", row.trayBox);
        platform::writeSetting("AutorunStartUpDailyNumerology", row.entry ? "True" : "False");
        ASSERT_FALSE(platform::setStartupEntry(entryName(), QCoreApplication::applicationFilePath(), row.entry));
        restartAtLogon();
        EXPECT_TRUE(main->isVisible());
        EXPECT_FALSE(main->isMinimized());
        EXPECT_TRUE(main->isMaximized());
        EXPECT_EQ(daily(), nullptr);
        EXPECT_TRUE(welcome()->isVisible());
    }

    // Opened from the launcher once the box is set, the window still goes
    // straight to the tray, as it does in any run started at log-in.
    ASSERT_FALSE(platform::setStartupEntry(entryName(), QCoreApplication::applicationFilePath(), true));
    platform::writeSetting("RunAtSysTrayDailyNumerology", "True");
    platform::writeSetting("SystemTrayDailyNumerology", "True");
    main->launch(kestrava::ProgramId::Daily);
    ASSERT_NE(daily(), nullptr);
    EXPECT_TRUE(daily()->isMinimized());
    EXPECT_TRUE(reminderArmed());
}
