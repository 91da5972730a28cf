#pragma once

#include "shell/program.h"
#include "tarot/spread.h"
#include "tarot/tarotreading.h"
#include "widgets/readingwindow.h"

#include <QObject>
#include <QPointer>

class ProgramHost;
class TarotMain;
class TarotResult;
class TarotSave;

// Virer Ovuvudavov as a whole: its input and result windows and the reading
// the proceed action stored.  Owned by the main window.
class TarotProgram : public QObject, public Program, public SavedSubject
{
    Q_OBJECT
public:
    explicit TarotProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    // Program
    kestrava::ProgramId id() const override { return kestrava::ProgramId::Tarot; }
    void launch() override;
    void closeAll() override;
    QString savedReadingEnding() const override { return QStringLiteral("tnm"); }
    void openSavedReading(const QString &path) override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    // Open windows, or null.
    TarotMain *input() const;
    TarotResult *result() const;
    TarotSave *document() const;

    // Stores the reading and shows it in a freshly loaded result window.
    void showReading(const tarot::TarotReading &reading);
    // Back from the result window to the input window.
    void backToInput();
    // Opens the reading document over the result window.
    void openDocument();

    const tarot::TarotReading &reading() const { return m_reading; }
    // The cards of the last deal, kept until the next one.
    const tarot::SpreadCards &spread() const { return m_spread; }

    // SavedSubject: the reading's inputs as a .tnm file.
    platform::FileRequest saveRequest() const override;
    QStringList savedLines() const override;

private:
    ProgramHost &m_host;
    QPointer<TarotMain> m_input;
    QPointer<TarotResult> m_result;
    QPointer<TarotSave> m_document;
    tarot::TarotReading m_reading;
    tarot::SpreadCards m_spread{};
};
