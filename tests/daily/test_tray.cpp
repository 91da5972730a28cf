// The notification area for real: these tests run on an X display (Xvfb),
// once without a tray host and once with Debian's trayer as the host (see
// run_tray_tests.sh, which starts both).
#include "daily/ui/dailymain.h"
#include "daily/ui/dayicon.h"
#include "platform/settingsstore.h"
#include "platform/startupentry.h"
#include "shell/application.h"
#include "support/suitefixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kDaily = QStringLiteral("frmDailyNumerologyMain");

// Launches the program as on a later day (reading page in front) and
// applies the settings, which sends the window to the tray.
DailyMain *launchAndApply(MainWindow &main)
{
    platform::writeSetting(QStringLiteral("HourDailyNumerology"), QStringLiteral("7"));
    main.launch(kestrava::ProgramId::Daily);
    auto *window = main.findChild<DailyMain *>(kDaily);
    if (window)
        window->applySettings();
    return window;
}

// Lets events run until the condition holds; false after five seconds.
// (QtTest's QTRY macros would not report to this test framework.)
template <typename Condition>
bool waitFor(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 5000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// A double click as the user gives it.  The pointer first leaves the spot:
// xdotool's synchronous move waits for a motion that never comes when the
// pointer is already there.
bool doubleClickAt(const QPoint &point)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {"mousemove", "0", "0", "mousemove", "--sync", QString::number(point.x()),
                   QString::number(point.y()), "sleep", "0.3", "click", "--repeat", "2", "--delay", "100", "1"});
    return xdotool.waitForFinished(5000) && xdotool.exitCode() == 0;
}

// Sees whether a window was asked to close.
class CloseWatch : public QObject
{
public:
    explicit CloseWatch(QObject *watched) { watched->installEventFilter(this); }
    bool closed = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        closed = closed || event->type() == QEvent::Close;
        return false;
    }
};

} // namespace

// The suite started by the log-in entry of a user who chose "Run at
// start-up" with "Start at system tray".
class LogOnStart : public SuiteTest
{
protected:
    void SetUp() override
    {
        SuiteTest::SetUp();
        platform::writeSetting(QStringLiteral("HourDailyNumerology"), QStringLiteral("7"));
        platform::writeSetting(QStringLiteral("MinuteDailyNumerology"), QStringLiteral("0"));
        platform::writeSetting(QStringLiteral("SecondDailyNumerology"), QStringLiteral("0"));
        platform::writeSetting(QStringLiteral("RunAtSysTrayDailyNumerology"), QStringLiteral("True"));
        platform::writeSetting(QStringLiteral("SystemTrayDailyNumerology"), QStringLiteral("True"));
        platform::writeSetting(QStringLiteral("AutorunStartUpDailyNumerology"), QStringLiteral("True"));
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        ASSERT_FALSE(platform::setStartupEntry(name, QCoreApplication::applicationFilePath(), true));
        test.clock.set(QDateTime(QDate(2026, 12, 10), QTime(6, 30)));
        main.reset();
        QApplication::processEvents();
        main = std::make_unique<MainWindow>(test.services());
        showMainWindow(*main, installPrograms(*main), true);
        daily = main->findChild<DailyMain *>(kDaily);
        ASSERT_NE(daily, nullptr);
    }
    bool reminderArmed() const { return daily->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive(); }

    DailyMain *daily = nullptr;
};

TEST_F(LogOnStart, WithoutANotificationAreaTheSuiteWaitsMinimised)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "a tray host is running";
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMinimized());
    EXPECT_TRUE(daily->isVisible());
    EXPECT_TRUE(daily->isMinimized());
    EXPECT_FALSE(daily->trayIcon()->isVisible());
    EXPECT_TRUE(reminderArmed());
    EXPECT_TRUE(test.messages.shown.isEmpty());
}

TEST_F(LogOnStart, InTheNotificationAreaTheSuiteWaitsHiddenUntilShow)
{
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(daily->isInTray());
    QSystemTrayIcon *icon = daily->trayIcon();
    EXPECT_TRUE(icon->isVisible());
    EXPECT_TRUE(reminderArmed());
    ASSERT_TRUE(waitFor([icon] { return icon->geometry().top() > 0; })) << icon->geometry().top();

    ASSERT_TRUE(doubleClickAt(icon->geometry().center()));
    ASSERT_TRUE(waitFor([this] { return daily->isVisible() && main->isVisible(); }));
    QTest::qWait(50);
    EXPECT_TRUE(main->isMaximized());
    EXPECT_FALSE(daily->isMinimized());
    EXPECT_FALSE(icon->isVisible());
    EXPECT_TRUE(welcome()->isHidden());
    const QWidget *area = main->documentArea()->viewport();
    EXPECT_NEAR(daily->x(), qMax(0, (area->width() - daily->width()) / 2), 1);
    EXPECT_NEAR(daily->y(), qMax(0, (area->height() - daily->height()) / 2), 1);
}

TEST_F(LogOnStart, InTheNotificationAreaTheReminderBringsTheSuiteUp)
{
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    ASSERT_FALSE(main->isVisible());
    test.clock.set(QDateTime(QDate(2026, 12, 10), QTime(7, 0)));
    daily->tick();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMaximized());
    EXPECT_TRUE(daily->isVisible());
    EXPECT_FALSE(daily->isMinimized());
    // The reminder leaves the icon where it is.
    EXPECT_TRUE(daily->trayIcon()->isVisible());
    EXPECT_TRUE(welcome()->isHidden());
    // Where the launcher would have put it: the document area had no size
    // yet when the window was loaded.
    QTest::qWait(50);
    const QWidget *area = main->documentArea()->viewport();
    EXPECT_GT(area->width(), daily->width());
    EXPECT_NEAR(daily->x(), (area->width() - daily->width()) / 2, 1);
    EXPECT_EQ(daily->y(), 0);
}

TEST_F(LogOnStart, InTheNotificationAreaExitEndsTheHiddenSuite)
{
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    ASSERT_FALSE(main->isVisible());
    CloseWatch watch(main.get());
    const QList<QAction *> items = daily->trayIcon()->contextMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    items[1]->trigger();
    EXPECT_EQ(window(kDaily), nullptr);
    // Nothing of the suite is left to reach: the main window closes too.
    EXPECT_TRUE(waitFor([&watch] { return watch.closed; }));
    EXPECT_FALSE(main->isVisible());
}

TEST_F(SuiteTest, WithoutANotificationAreaTheWindowWaitsMinimised)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "a tray host is running";
    DailyMain *daily = launchAndApply(*main);
    ASSERT_NE(daily, nullptr);
    EXPECT_TRUE(daily->isVisible());
    EXPECT_TRUE(daily->isMinimized());
    EXPECT_FALSE(daily->trayIcon()->isVisible());
}

TEST_F(SuiteTest, InTheNotificationAreaShowBringsTheWindowBack)
{
    ASSERT_TRUE(waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));
    DailyMain *daily = launchAndApply(*main);
    ASSERT_NE(daily, nullptr);
    QSystemTrayIcon *icon = daily->trayIcon();
    EXPECT_FALSE(daily->isVisible());
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "Recent");
    EXPECT_FALSE(welcome()->isHidden());
    // The host has taken the icon in once it has its place in the host's
    // strip (at the bottom of the screen).
    ASSERT_TRUE(waitFor([icon] { return icon->geometry().top() > 0; })) << icon->geometry().top();

    ASSERT_TRUE(doubleClickAt(icon->geometry().center()));
    ASSERT_TRUE(waitFor([daily] { return daily->isVisible(); }));
    QTest::qWait(50);
    // Restored: centred both ways in the document area, wearing the 31st icon.
    const QWidget *area = main->documentArea()->viewport();
    EXPECT_NEAR(daily->x(), qMax(0, (area->width() - daily->width()) / 2), 1);
    EXPECT_NEAR(daily->y(), qMax(0, (area->height() - daily->height()) / 2), 1);
    EXPECT_EQ(daily->windowIcon().pixmap(32).toImage(), daily::dayIcon(31).pixmap(32).toImage());
    EXPECT_FALSE(daily->isMinimized());
    EXPECT_FALSE(icon->isVisible());
    EXPECT_TRUE(welcome()->isHidden());

    // Back in the tray, the menu's Exit closes the program without a question.
    daily->applySettings();
    EXPECT_TRUE(icon->isVisible());
    ASSERT_NE(icon->contextMenu(), nullptr);
    const QList<QAction *> items = icon->contextMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "Show");
    EXPECT_EQ(icon->contextMenu()->defaultAction(), items[0]);
    items[1]->trigger();
    EXPECT_FALSE(icon->isVisible());
    EXPECT_EQ(window(kDaily), nullptr);
    EXPECT_TRUE(test.messages.shown.isEmpty());
}

int main(int argc, char **argv)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("runtime");
    QDir(home.path()).mkpath("config");
    QDir(home.path()).mkpath("cache");
    QFile::setPermissions(home.path() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
