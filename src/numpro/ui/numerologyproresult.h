#pragma once

#include "numpro/readings/birthinputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/resultstate.h"
#include "widgets/programwindow.h"

#include <QHash>

class NumProProgram;
class QLabel;

// The result navigator (frmNumerologyProResult): one button per reading.
// It owns the result-form state, fresh each time it opens.
class NumerologyProResult : public ProgramWindow
{
    Q_OBJECT
public:
    explicit NumerologyProResult(NumProProgram &program);

    const numpro::ResultState &state() const { return m_state; }

    // Runs every built reading into the document window and shows it.
    void comprehensiveReading();
    // Back to the input window with its names emptied.
    void back();

protected:
    void onClosed() override;

private:
    using Reading = numpro::ReadingResult (*)(const numpro::BirthInputs &, numpro::ResultState &,
                                             numpro::OutputMode);
    void runReading(Reading reading);
    void deliver(const numpro::ReadingResult &result, numpro::OutputMode mode);
    void syncHiddenLabels();
    numpro::BirthInputs currentInputs() const;

    NumProProgram &m_program;
    numpro::ResultState m_state;
    QHash<QString, QLabel *> m_hiddenLabels;
    bool m_backing = false;
};
