#include "tantric/ui/tantricprogram.h"

#include "tantric/ui/tantricdisplay.h"
#include "tantric/ui/tantricmain.h"

TantricProgram::TantricProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void TantricProgram::launch()
{
    if (TantricMain *old = input())
        old->close();
    m_input = new TantricMain(*this);
    m_input->showAtTop();
}

void TantricProgram::closeAll()
{
    if (TantricDisplay *window = result())
        window->close();
    if (TantricMain *window = input())
        window->close();
}

TantricMain *TantricProgram::input() const { return openOrNull(m_input); }
TantricDisplay *TantricProgram::result() const { return openOrNull(m_result); }

void TantricProgram::calculateTantricReading(const QString &name, int day, int month, int year)
{
    if (!result())
        m_result = new TantricDisplay(*this);
    m_result->showReading(name, tantric::tantricNumbers(day, month, year));
    if (TantricMain *window = input())
        window->hide();
    m_result->showAtTop();
}

void TantricProgram::backToInput()
{
    if (TantricMain *window = input())
        window->showAtTop();
    if (TantricDisplay *window = result())
        window->close();
}

void TantricProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    TantricMain *window = input();
    if (!window || !window->isVisible()) {
        closeAll();
        launch();
        window = input();
    }
    if (window)
        window->readFor(person, clientId);
}
