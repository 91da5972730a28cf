#pragma once

#include "common/person.h"
#include "widgets/inputfields.h"
#include "widgets/programwindow.h"

class ClientLink;
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

    // Fills the fields from a person and goes on as next() (see Program::readFor).
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

private:
    bool checkName();
    bool fill(const kestrava::Person &person);

    TantricProgram &m_program;
    ClientLink *m_clients = nullptr;
    QLineEdit *m_name = nullptr;
    inputfields::DateLists m_date;
};
