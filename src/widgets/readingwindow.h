#pragma once

#include "platform/services.h"
#include "richtext/composition.h"
#include "widgets/programwindow.h"

#include <QLabel>
#include <QStringList>

#include <optional>

class ClientLink;
class QHBoxLayout;
class QPushButton;
class QTextDocument;
class QTextEdit;

// What a reading window's Save writes: the subject behind the reading (not
// its text), as a file of shifted lines.
class SavedSubject
{
public:
    virtual ~SavedSubject() = default;
    // Title, filter and ending of the save dialog, and the name it suggests.
    virtual platform::FileRequest saveRequest() const = 0;
    // The file's lines, in order, before shifting.
    virtual QStringList savedLines() const = 0;
};

// Saves the subject to a file the user picks.  Characters the file cannot
// keep are named first; a failed save says why and keeps an existing file.
// The file written, if one was.
std::optional<QString> saveSubject(QWidget *window, const platform::Services &services, const SavedSubject &saved);

// A window's print on its way to the printer.  While the job is sent the
// window stays in use, with a busy cursor, its Print button (cmdPrint) off
// and this note in the corner of its document view; a failure is reported
// when the outcome comes.  A window closed meanwhile leaves the job to
// finish; a failure is then reported over the main window.
class PrintSender : public QLabel
{
    Q_OBJECT
public:
    PrintSender(ProgramWindow *window, QTextEdit *view);
    // Sends the document; the window may change or close at once.
    void print(const platform::Services &services, const QTextDocument &document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr int kInset = 6;
    void place();
    void setSending(bool sending);

    ProgramWindow *m_window;
    QTextEdit *m_view;
    bool m_sending = false;
};

// Asks where to, offering suggestedName, and writes the document as a PDF
// file with the printed page layout; a failure is shown and leaves an
// existing file as it was.  The file written, if one was.
std::optional<QString> exportDocumentAsPdf(QWidget *window, const platform::Services &services,
                                           const QTextDocument &document, const QString &suggestedName);

// A window showing a composed reading: the read-only view with its links,
// Print, Save of the subject, the forum and advertising notes, and the
// buttons the window adds.
class ReadingWindow : public ProgramWindow
{
    Q_OBJECT
public:
    // saved may be null for a window that has nothing to save.
    ReadingWindow(ProgramHost &host, const QString &name, const QString &caption, const SavedSubject *saved);

    // Appends a composed reading at the end of the view.
    void appendReading(const richtext::Composition &reading);
    QTextEdit *view() const { return m_view; }

    // Saves the subject to a file the user picks.  Characters the file cannot
    // keep are named first; a failed save says why and keeps an existing file.
    void save();
    // Sends the whole view to the default printer while the window stays in
    // use; says so when it cannot.
    void print();
    // Writes the whole view as a PDF file, laid out as printed.
    void exportPdf();

protected:
    // Adds a button at the bottom right, after those added before.
    QPushButton *addButton(const QString &name, const QString &caption);
    // What Print and Export as PDF put on paper: the view's document, or,
    // for a window that shows more than its view, a document holding that
    // too.  It need last only until the next call.
    virtual const QTextDocument &paperDocument();
    // The input window's link to the client book, when the reading shown
    // is the one it last put into a client's history: a file the reading is
    // saved or exported to is recorded there.
    virtual ClientLink *historyLink() const { return nullptr; }
    // The names of the people the reading is about, as the fields hold
    // them: the PDF export offers its file under them.
    virtual QStringList documentPeople() const { return {}; }

private:
    const SavedSubject *m_saved;
    QTextEdit *m_view;
    QHBoxLayout *m_buttons;
    PrintSender *m_printSender;
};
