#include "tarot/ui/tarotprogram.h"

#include "tarot/ui/tarotmain.h"
#include "tarot/ui/tarotresult.h"

TarotProgram::TarotProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void TarotProgram::launch()
{
    if (TarotMain *old = input())
        old->close();
    m_input = new TarotMain(*this);
    m_input->showAtTop();
}

void TarotProgram::closeAll()
{
    if (TarotResult *window = result())
        window->close();
    if (TarotMain *window = input())
        window->close();
}

TarotMain *TarotProgram::input() const { return openOrNull(m_input); }
TarotResult *TarotProgram::result() const { return openOrNull(m_result); }

void TarotProgram::showReading(const tarot::TarotReading &reading)
{
    m_reading = reading;
    // Every reading works on a newly loaded window: the card positions start at 1.
    if (TarotResult *old = result())
        old->close();
    m_result = new TarotResult(*this);
    m_result->showLifePathProfile(reading.lifePath);
    m_result->showDestinyProfile(reading.destiny);
    if (TarotMain *window = input())
        window->hide();
    m_result->showAtTop();
}

void TarotProgram::backToInput()
{
    if (TarotMain *window = input())
        window->showAtTop();
    if (TarotResult *window = result())
        window->close();
}
