#pragma once

#include "richtext/composition.h"
#include "widgets/programwindow.h"

class NumProProgram;
class QHBoxLayout;
class QPushButton;
class QTextEdit;

// What the display and document windows share: the reading view with its
// links, Print and Save of the reading subject, the forum and advertising notes.
class ReadingWindow : public ProgramWindow
{
    Q_OBJECT
public:
    ReadingWindow(NumProProgram &program, const QString &name, const QString &caption);

    // Appends a composed reading at the end of the view.
    void appendReading(const richtext::Composition &reading);
    QTextEdit *view() const { return m_view; }

    // Saves the reading subject to a num file the user picks.
    void save();
    // Prints the whole view on the default printer.
    void print();

protected:
    NumProProgram &program() const { return m_program; }
    // Adds a button at the bottom right, after those added before.
    QPushButton *addButton(const QString &name, const QString &caption);

private:
    NumProProgram &m_program;
    QTextEdit *m_view;
    QHBoxLayout *m_buttons;
};
