#pragma once

#include "widgets/readingwindow.h"

class NumProProgram;

// The document window (frmNumerologyProsave): the comprehensive reading.
// It exists hidden while Variduzeda Vad runs and shows when a comprehensive
// reading has been written into it.
class NumerologyProSave : public ReadingWindow
{
    Q_OBJECT
public:
    explicit NumerologyProSave(NumProProgram &program);

protected:
    void onClosed() override;
    ClientLink *historyLink() const override;
    QStringList documentPeople() const override;

private:
    NumProProgram &m_program;
};
