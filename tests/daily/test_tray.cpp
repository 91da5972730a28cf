// The notification area for real: these tests run on an X display (Xvfb),
// once without a tray host and once with Debian's trayer as the host (see
// run_tray_tests.sh, which starts both).
#include "daily/ui/dailymain.h"
#include "daily/ui/dayicon.h"
#include "platform/settingsstore.h"
#include "support/suitefixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

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

} // namespace

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

    // A double click on the icon, as the user gives it.
    const QPoint centre = icon->geometry().center();
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y()), "sleep", "0.3", "click", "--repeat", "2",
                   "--delay", "100", "1"});
    ASSERT_TRUE(xdotool.waitForFinished(5000));
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
