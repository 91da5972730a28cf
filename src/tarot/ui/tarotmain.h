#pragma once

#include "common/person.h"
#include "widgets/programwindow.h"

class ClientLink;
class LinkLabel;
class TarotProgram;
class QComboBox;
class QLineEdit;

// The short invitation to the forum that the program's windows carry near
// their top; clicking it opens the site.
LinkLabel *makeCardForumLabel(const QString &name, QWidget *parent);

// The Virer Ovuvudavov input window (frmTarotNumerologyMain): name and birth date.
class TarotMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit TarotMain(TarotProgram &program);

    // True when the name is not empty (blanks pass); otherwise says so.
    bool checkName();
    // Computes the reading and shows it.
    void proceed();
    // Opens a saved reading and proceeds with it.
    void openSavedReading();
    // Opens a saved reading chosen elsewhere (the command line, a file manager).
    void openReadingFile(const QString &path);

    // Fills the fields from a person and proceeds (see Program::readFor).
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

private:
    bool fill(const kestrava::Person &person);

    TarotProgram &m_program;
    ClientLink *m_clients = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_day = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_year = nullptr;
};
