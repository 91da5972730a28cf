#pragma once

#include "widgets/readingwindow.h"

class NumProProgram;

// The display window (frmNumerologyProDisp): readings shown one below the other.
class NumerologyProDisp : public ReadingWindow
{
    Q_OBJECT
public:
    explicit NumerologyProDisp(NumProProgram &program);

private:
    NumProProgram &m_program;
};
