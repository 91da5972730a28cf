#pragma once

#include "widgets/inputfields.h"
#include "widgets/programwindow.h"

class QLineEdit;
class TantricProgram;

// The Vorizov Avazodizaz input window (frmTantricNumerologyMain): name and
// birth date.
class TantricMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit TantricMain(TantricProgram &program);

    // Checks the name, computes the reading and shows it.
    void next();
    // Takes the birth date from a saved Variduzeda Vad reading, then goes on as next().
    void openSavedReading();

private:
    TantricProgram &m_program;
    QLineEdit *m_name = nullptr;
    inputfields::DateLists m_date;
};
