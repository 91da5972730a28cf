#pragma once

#include "shell/program.h"
#include "tantric/tantricnumbers.h"

#include <QObject>
#include <QPointer>

class ProgramHost;
class TantricDisplay;
class TantricMain;

// Vorizov Avazodizaz as a whole: its input and result windows and the reading
// subject of the last request.  Owned by the main window.
class TantricProgram : public QObject, public Program
{
    Q_OBJECT
public:
    explicit TantricProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    kestrava::ProgramId id() const override { return kestrava::ProgramId::Tantric; }
    void launch() override;
    void closeAll() override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    TantricMain *input() const;
    TantricDisplay *result() const;

    // Computes the five numbers and shows them in a freshly filled result window.
    void calculateTantricReading(const QString &name, int day, int month, int year);
    // Back from the result window to the input window.
    void backToInput();

private:
    ProgramHost &m_host;
    QPointer<TantricMain> m_input;
    QPointer<TantricDisplay> m_result;
};
