#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/resultstate.h"
#include "widgets/programwindow.h"

#include <QHash>

class NumProProgram;
namespace numpro {
struct Reading;
}
class MarriageDateGroup;
class QLabel;

// The result navigator (frmNumerologyProResult): one button per reading.
// It owns the result-form state, fresh each time it opens.
class NumerologyProResult : public ProgramWindow
{
    Q_OBJECT
public:
    explicit NumerologyProResult(NumProProgram &program);

    // What the readings run on: the input window's fields as they stand and
    // the clock's today.
    numpro::ReadingInputs readingInputs() const;

    // Runs every built reading into the document window and shows it.
    void comprehensiveReading();
    // Back to the input window with its names emptied.
    void back();
    // The life timeline and the forecast of the person as of today.
    void openLifeTimeline();
    void openForecast();
    // The compatibility of the person with a second one, typed in its window.
    void openCompatibility();

private:
    void runReading(const numpro::Reading &reading);
    void deliver(const numpro::ReadingResult &result, numpro::OutputMode mode);
    void syncHiddenLabels();

    NumProProgram &m_program;
    numpro::ResultState m_state;
    QHash<QString, QLabel *> m_hiddenLabels;
    MarriageDateGroup *m_marriageDate = nullptr;
};
