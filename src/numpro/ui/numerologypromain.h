#pragma once

#include "common/person.h"
#include "numpro/readings/readinginputs.h"
#include "widgets/programwindow.h"

class ClientLink;
class NumProProgram;
class QComboBox;
class QLineEdit;
class QPushButton;

// The Variduzeda Vad input window (frmNumerologyProMain): name and birth date.
// It stays loaded, hidden, while the navigator is open; the readings read
// its fields whenever they run.
class NumerologyProMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit NumerologyProMain(NumProProgram &program);

    // The load steps that may talk to the user: the hidden document window
    // and the update reminder.
    void afterLoad();

    // Validates, stores the reading subject and moves on to the navigator.
    void next();
    // Next's checks: false, after saying so, when a field is missing.
    bool checkFields();
    // Opens a saved reading and moves on as Next does.
    void openSavedReading();
    // Opens a saved reading chosen elsewhere (the command line, a file manager).
    void openReadingFile(const QString &path);

    // The fields as they stand, untrimmed; today is the caller's to fill in.
    numpro::ReadingInputs inputs() const;
    // Empties the three name fields (the dates keep their selection).
    void clearNames();

    // Fills the fields from a person and runs Next (see Program::readFor).
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

private:
    void buildMenus();
    bool fill(const kestrava::Person &person);

    NumProProgram &m_program;
    ClientLink *m_clients = nullptr;
    QLineEdit *m_first = nullptr;
    QLineEdit *m_middle = nullptr;
    QLineEdit *m_last = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_date = nullptr;
    QComboBox *m_year = nullptr;
};
