#pragma once

#include "numpro/readings/readingresult.h"
#include "widgets/readingwindow.h"

class NumProProgram;

// The display window (frmNumerologyProDisp): readings shown one below the other.
class NumerologyProDisp : public ReadingWindow
{
    Q_OBJECT
public:
    explicit NumerologyProDisp(NumProProgram &program);

    // Appends a reading below those shown and takes its title as the caption.
    void addReading(const numpro::ReadingResult &result);

protected:
    ClientLink *historyLink() const override;
    QStringList documentPeople() const override;

private:
    NumProProgram &m_program;
};
