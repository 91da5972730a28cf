#pragma once

#include "common/person.h"
#include "widgets/inputfields.h"
#include "widgets/programwindow.h"

#include <array>

class AstrologyProgram;
class ClientLink;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;

// The Ruzazeder Uvuvevizoz window (frmAstrologyNumerologyMain): the input
// view with the name and birth date, and the result view with the fadic
// numbers, the planet, the sign and their texts.
class AstrologyMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit AstrologyMain(AstrologyProgram &program);

    // True when the name is not empty (blanks pass); otherwise says so.
    bool checkName();
    // Computes the reading and brings the result view forward.
    void find();
    void showFadicReading(int month, int day, int year);
    // Back to an empty input view.
    void back();
    // Takes the birth date from a saved Variduzeda Vad reading, then finds.
    void openSavedReading();

    // Fills the fields from a person and finds (see Program::readFor).
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

private:
    QWidget *buildInputView();
    QWidget *buildResultView();
    bool fill(const kestrava::Person &person);

    QStackedWidget *m_views = nullptr;
    QWidget *m_input = nullptr;
    QWidget *m_result = nullptr;
    QLineEdit *m_name = nullptr;
    inputfields::DateLists m_date;
    std::array<QLabel *, 4> m_values{};
    std::array<QPlainTextEdit *, 3> m_texts{};
    ClientLink *m_clients = nullptr;
};
