#pragma once

#include "richtext/composition.h"
#include "widgets/programwindow.h"

class PrintSender;
class TarotProgram;
class QTextEdit;

// The reading document window (frmTarotNumerologySave): the whole reading as
// formatted text, with Save (the inputs as a .tnm file) and Print.  It sits
// over the result window, which cannot be used while it is open.
class TarotSave : public ProgramWindow
{
    Q_OBJECT
public:
    explicit TarotSave(TarotProgram &program);

    QTextEdit *view() const { return m_view; }
    QTextEdit *printView() const { return m_printView; }

    void save();
    // Prints the document's plain text between two credit lines; the same
    // report each time.
    void print();
    // The printed report as a PDF file.
    void exportPdf();

private:
    // Fills the print view with the report; the same report each time.
    void composeReport();
    // Records a file the reading was written to in the client's history.
    void fileWritten(const QString &path);

protected:
    void onClosed() override;

private:
    TarotProgram &m_program;
    richtext::Composition m_document;
    QTextEdit *m_view = nullptr;
    QTextEdit *m_printView = nullptr;
    PrintSender *m_printSender = nullptr;
};
