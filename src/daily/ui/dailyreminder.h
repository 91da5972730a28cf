#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

class ProgramWindow;
class QIcon;
class QMenu;
class QSystemTrayIcon;
class QTime;
class QTimer;

// Vavov Uvarevuvir's reminder: the icon that waits in the notification area
// with its Show / Exit menu, the clock that brings the reading up once a day
// at the chosen time, and the log-in entry that starts the suite for it.
// Owned by the daily window; what the window does when the reminder calls is
// the window's own business.
class DailyReminder : public QObject
{
    Q_OBJECT
public:
    explicit DailyReminder(ProgramWindow &window);

    // True when the start-up entry exists and "Start at system tray" was
    // left checked: a start from the log-in entry goes to the tray.
    static bool startsInTray();
    // True when the suite is in the desktop's log-in list.
    static bool hasStartupEntry();
    // Writes or removes the start-up entry; a failure is told.
    void writeStartupEntry(bool on);

    // Shows the icon in the notification area wearing `icon`; false (and
    // nothing shown) where the desktop has no notification area.
    bool showInTray(const QIcon &icon);
    void hideTrayIcon();
    bool trayIconShown() const;
    QSystemTrayIcon *trayIcon() const { return m_tray; }

    // Starts the clock from now: a display time already past today does not
    // fire until a tick passes it again.
    void start();
    void stop();
    // One tick of the clock (the timer calls it every second).
    void tick();
    // A new display time re-arms today's reminder when it is still ahead.
    void displayTimeChanged(const QTime &time);

signals:
    // The tray's Show, or a double click on the icon.
    void showRequested();
    // The tray's Exit.
    void exitRequested();
    // The display time has come (once a day).
    void due();

private:
    ProgramWindow &m_window;
    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QTimer *m_timer = nullptr;
    QDateTime m_lastTick;
    QDate m_remindedOn;
};
