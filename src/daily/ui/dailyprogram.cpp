#include "daily/ui/dailyprogram.h"

#include "daily/ui/dailymain.h"
#include "daily/ui/dailyreminder.h"

DailyProgram::DailyProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void DailyProgram::launch()
{
    if (DailyMain *old = window())
        old->closeByProgram();
    m_window = new DailyMain(*this);
    m_window->load();
}

Program::LogonStart DailyProgram::startAtLogon()
{
    // Remembered for the whole run: opened later from the launcher, the
    // window still goes to the tray when the box is checked.
    m_startedAtLogon = true;
    if (!DailyReminder::startsInTray())
        return LogonStart::AsUsual;
    launch();
    const DailyMain *daily = window();
    if (daily && daily->isInTray())
        return LogonStart::Hidden;
    if (daily && daily->isMinimized())
        return LogonStart::Minimised;
    return LogonStart::AsUsual;
}

void DailyProgram::closeAll()
{
    if (DailyMain *open = window())
        open->closeByProgram();
}

DailyMain *DailyProgram::window() const
{
    return openOrNull(m_window);
}

void DailyProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (!window())
        launch();
    if (DailyMain *open = window())
        open->readFor(person, clientId);
}
