#pragma once

#include "shell/program.h"
#include "tarot/tarotreading.h"

#include <QObject>
#include <QPointer>

class ProgramHost;
class TarotMain;
class TarotResult;

// Virer Ovuvudavov as a whole: its input and result windows and the reading
// the proceed action stored.  Owned by the main window.
class TarotProgram : public QObject, public Program
{
    Q_OBJECT
public:
    explicit TarotProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    // Program
    kestrava::ProgramId id() const override { return kestrava::ProgramId::Tarot; }
    void launch() override;
    void closeAll() override;

    // Open windows, or null.
    TarotMain *input() const;
    TarotResult *result() const;

    // Stores the reading and shows it in a freshly loaded result window.
    void showReading(const tarot::TarotReading &reading);
    // Back from the result window to the input window.
    void backToInput();

    const tarot::TarotReading &reading() const { return m_reading; }

private:
    ProgramHost &m_host;
    QPointer<TarotMain> m_input;
    QPointer<TarotResult> m_result;
    tarot::TarotReading m_reading;
};
