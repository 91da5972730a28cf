#include "daily/ui/dailyreminder.h"

#include "daily/ui/dailysettings.h"
#include "platform/settingsstore.h"
#include "platform/startupentry.h"
#include "widgets/programhost.h"
#include "widgets/programwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>

using namespace daily::settings;

namespace {

// The executable's base name: the start-up entry and the settings are named after it.
QString executableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

DailyReminder::DailyReminder(ProgramWindow &window)
    : QObject(&window)
    , m_window(window)
{
    // The notification-area icon and its menu; shown only while the window waits there.
    m_tray = new QSystemTrayIcon(this);
    m_tray->setObjectName(QStringLiteral("picHook"));
    m_tray->setToolTip(tr("Recent"));
    m_trayMenu = new QMenu(&window);
    m_trayMenu->setObjectName(QStringLiteral("mnuPopUp"));
    QAction *show = m_trayMenu->addAction(tr("Show"), this, &DailyReminder::showRequested);
    show->setObjectName(QStringLiteral("mnuPop"));
    m_trayMenu->setDefaultAction(show); // drawn bold
    QAction *exit = m_trayMenu->addAction(tr("Exit"), this, &DailyReminder::exitRequested);
    exit->setObjectName(QStringLiteral("mnuExit1"));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit showRequested();
    });

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &DailyReminder::tick);
}

bool DailyReminder::startsInTray()
{
    return hasStartupEntry() && platform::readSetting(kRunAtSysTray) == QLatin1String("True");
}

bool DailyReminder::hasStartupEntry()
{
    return platform::hasStartupEntry(executableName());
}

void DailyReminder::writeStartupEntry(bool on)
{
    if (const kestrava::MaybeFailure failure =
            platform::setStartupEntry(executableName(), QCoreApplication::applicationFilePath(), on)) {
        m_window.host().services().messages->inform(&m_window, platform::Icon::Error, failure->reason);
    }
}

bool DailyReminder::showInTray(const QIcon &icon)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_tray->setIcon(icon);
    m_tray->show();
    return true;
}

void DailyReminder::hideTrayIcon()
{
    m_tray->hide();
}

bool DailyReminder::trayIconShown() const
{
    return m_tray->isVisible();
}

void DailyReminder::start()
{
    m_lastTick = m_window.host().services().clock->now().addSecs(-1);
    m_timer->start();
}

void DailyReminder::stop()
{
    m_timer->stop();
}

void DailyReminder::tick()
{
    const QDateTime now = m_window.host().services().clock->now();
    bool hourOk = false, minuteOk = false, secondOk = false;
    const int hour = platform::readSetting(kHour).toInt(&hourOk);
    const int minute = platform::readSetting(kMinute).toInt(&minuteOk);
    const int second = platform::readSetting(kSecond).toInt(&secondOk);
    const QDateTime previous = m_lastTick;
    m_lastTick = now;
    const QTime time(hour, minute, second);
    if (!hourOk || !minuteOk || !secondOk || !time.isValid())
        return;
    // The latest moment the reading was due; it fires when a tick passes it,
    // so a busy or sleeping machine does not miss the day, and once a day.
    QDateTime due(now.date(), time);
    if (due > now)
        due = due.addDays(-1);
    if (!(previous < due) || m_remindedOn == due.date())
        return;
    m_remindedOn = due.date();
    emit this->due();
}

void DailyReminder::displayTimeChanged(const QTime &time)
{
    // Today's reminder has come; a time still ahead today brings it once more.
    const QDateTime now = m_window.host().services().clock->now();
    if (m_remindedOn == now.date() && time.isValid() && QDateTime(now.date(), time) > now)
        m_remindedOn = QDate();
}
