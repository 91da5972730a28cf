#include "daily/ui/dailyprogram.h"

#include "daily/ui/dailymain.h"
#include "platform/startupentry.h"

#include <QCoreApplication>

DailyProgram::DailyProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_startedAtLogon(QCoreApplication::arguments().contains(QLatin1String(platform::kStartupSwitch),
                                                              Qt::CaseInsensitive))
{
}

void DailyProgram::launch()
{
    if (DailyMain *old = window())
        old->closeByProgram();
    m_window = new DailyMain(*this);
    m_window->load();
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
