#pragma once

#include "shell/program.h"

#include <QObject>
#include <QPointer>

class DailyMain;
class ProgramHost;

// Vavov Uvarevuvir as a whole: its one window, which stays loaded (shown or
// waiting in the notification area) until it is closed by program.  Owned by
// the main window.
class DailyProgram : public QObject, public Program
{
    Q_OBJECT
public:
    explicit DailyProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    // Program
    kestrava::ProgramId id() const override { return kestrava::ProgramId::Daily; }
    void launch() override;
    void closeAll() override;
    // With "Start at system tray" chosen, opens straight into the
    // notification area (minimised where there is none); the main window
    // stays out of sight until the reading comes up.
    LogonStart startAtLogon() override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    // The window while it is loaded, or null.
    DailyMain *window() const;

    // True when the suite was started from the log-in entry ("/STARTUP").
    bool startedAtLogon() const { return m_startedAtLogon; }

private:
    ProgramHost &m_host;
    QPointer<DailyMain> m_window;
    bool m_startedAtLogon = false;
};
