#pragma once

#include "common/person.h"
#include "widgets/programwindow.h"

class ClientLink;
class RunesProgram;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;

// The Dudov Aduradudav window (frmRunesNumerologyMain): the name on the input
// page; the destiny number and its rune on the two tabs of the result page.
class RunesMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit RunesMain(RunesProgram &program);

    // "Get My Reading": checks the name, fills both tabs, shows the first.
    void getReading();
    // Fills both tabs for a destiny number.
    void numerologyRunesDisplay(int number);
    // Back to an empty input page.
    void back();

    // Puts the person's names, joined, in the name field and gets the
    // reading (see Program::readFor).
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

private:
    QWidget *buildInputPage();
    QWidget *buildResultPage();

    QStackedWidget *m_pages = nullptr;
    QWidget *m_inputPage = nullptr;
    QWidget *m_resultPage = nullptr;
    QLineEdit *m_name = nullptr;
    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_panes = nullptr;
    QLabel *m_number = nullptr;
    QLabel *m_significance = nullptr;
    QPlainTextEdit *m_interpretation = nullptr;
    QLabel *m_rune = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_keywords = nullptr;
    QLabel *m_runeText = nullptr;
    ClientLink *m_clients = nullptr;
};
