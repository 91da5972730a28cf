#pragma once

#include "numpro/ui/readingwindow.h"

// The display window (frmNumerologyProDisp): readings shown one below the other.
class NumerologyProDisp : public ReadingWindow
{
    Q_OBJECT
public:
    explicit NumerologyProDisp(NumProProgram &program);
};
