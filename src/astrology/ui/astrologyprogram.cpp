#include "astrology/ui/astrologyprogram.h"

#include "astrology/ui/astrologymain.h"

AstrologyProgram::AstrologyProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void AstrologyProgram::launch()
{
    if (AstrologyMain *old = window())
        old->close();
    m_window = new AstrologyMain(*this);
    m_window->showAtTop();
}

void AstrologyProgram::closeAll()
{
    if (AstrologyMain *open = window())
        open->close();
}

AstrologyMain *AstrologyProgram::window() const
{
    return openOrNull(m_window);
}

void AstrologyProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    AstrologyMain *open = window();
    if (!open || !open->isVisible()) {
        closeAll();
        launch();
        open = window();
    }
    if (open)
        open->readFor(person, clientId);
}
