#pragma once

#include "platform/services.h"
#include "richtext/composition.h"
#include "widgets/programwindow.h"

#include <QStringList>

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
    // Title, filter and ending of the save dialog.
    virtual platform::FileRequest saveRequest() const = 0;
    // The file's lines, in order, before shifting.
    virtual QStringList savedLines() const = 0;
};

// Saves the subject to a file the user picks.  Characters the file cannot
// keep are named first; a failed save says why and keeps an existing file.
void saveSubject(QWidget *window, const platform::Services &services, const SavedSubject &saved);

// Prints the document on the services' printer; says so when it cannot.
void printDocument(QWidget *window, const platform::Services &services, const QTextDocument &document);

// Asks where to and writes the document as a PDF file with the printed page
// layout; a failure is shown and leaves an existing file as it was.
void exportDocumentAsPdf(QWidget *window, const platform::Services &services, const QTextDocument &document);

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
    // Prints the whole view on the default printer; says so when it cannot.
    void print();
    // Writes the whole view as a PDF file, laid out as printed.
    void exportPdf();

protected:
    // Adds a button at the bottom right, after those added before.
    QPushButton *addButton(const QString &name, const QString &caption);

private:
    const SavedSubject *m_saved;
    QTextEdit *m_view;
    QHBoxLayout *m_buttons;
};
