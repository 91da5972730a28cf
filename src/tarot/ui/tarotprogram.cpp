#include "tarot/ui/tarotprogram.h"

#include "common/filenames.h"
#include "common/numerology.h"
#include "tarot/ui/tarotmain.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotresult.h"
#include "tarot/ui/tarotsave.h"
#include "widgets/programhost.h"

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
    if (TarotSave *window = document())
        window->close();
    if (TarotResult *window = result())
        window->close();
    if (TarotMain *window = input())
        window->close();
}

TarotMain *TarotProgram::input() const { return openOrNull(m_input); }
TarotResult *TarotProgram::result() const { return openOrNull(m_result); }
TarotSave *TarotProgram::document() const { return openOrNull(m_document); }

void TarotProgram::showReading(const tarot::TarotReading &reading)
{
    m_reading = reading;
    // Every reading works on a newly loaded window: the card positions start at 1.
    if (TarotResult *old = result())
        old->close();
    m_result = new TarotResult(*this);
    m_result->showLifePathProfile(reading.lifePath);
    m_result->showDestinyProfile(reading.destiny, kestrava::unvaluedLettersSentence(kestrava::unvaluedLetters(reading.name)));
    // A new deal for every reading, also of the same subject.
    if (const auto cards = tarot::dealSpread(tarot::kNumerologySpread, *m_host.services().random))
        m_spread = *cards;
    m_result->showSpread(m_spread);
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

void TarotProgram::openDocument()
{
    TarotResult *over = result();
    if (!over)
        return;
    if (TarotSave *old = document())
        old->close();
    m_document = new TarotSave(*this);
    m_document->showAtTop(over);
}

platform::FileRequest TarotProgram::saveRequest() const
{
    // A saved reading is the person, not a day's document: no date.
    return {tr("Pellacor"), tr("Pellacor (*.tnm)"), QStringLiteral("tnm"),
            kestrava::suggestedFileName(m_reading.name, {}, QStringLiteral("tnm"), tr("Reading"))};
}

QStringList TarotProgram::savedLines() const
{
    return tarot::tnmLines(m_reading);
}

void TarotProgram::openSavedReading(const QString &path)
{
    if (TarotMain *window = input())
        window->openReadingFile(path);
}

void TarotProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    TarotMain *window = input();
    if (!window || !window->isVisible()) {
        closeAll();
        launch();
        window = input();
    }
    if (window)
        window->readFor(person, clientId);
}
