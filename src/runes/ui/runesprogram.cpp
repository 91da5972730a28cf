#include "runes/ui/runesprogram.h"

#include "runes/ui/runesmain.h"

RunesProgram::RunesProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void RunesProgram::launch()
{
    if (RunesMain *old = window())
        old->close();
    m_window = new RunesMain(*this);
    m_window->showAtTop();
}

void RunesProgram::closeAll()
{
    if (RunesMain *open = window())
        open->close();
}

RunesMain *RunesProgram::window() const
{
    return openOrNull(m_window);
}

void RunesProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    RunesMain *open = window();
    if (!open || !open->isVisible()) {
        closeAll();
        launch();
        open = window();
    }
    if (open)
        open->readFor(person, clientId);
}
