#pragma once

#include "common/failure.h"

#include <QObject>
#include <QPageSize>
#include <QProcessEnvironment>
#include <QString>

#include <functional>
#include <optional>

class QTextDocument;

namespace platform {

// How a print ended: nothing when the job reached the printer's queue, else
// why not.
using PrintDone = std::function<void(kestrava::MaybeFailure)>;

// Makes the PDF of a document laid out on the paper given: a document that
// lays itself out (the report) does so on the paper the printer holds.
using PdfForPaper = std::function<QByteArray(const QPageSize &paper)>;

// Prints a whole document without a dialog.
class Printer
{
public:
    virtual ~Printer() = default;
    // Starts printing and returns without waiting for the print system; the
    // document is copied first, so the caller may change or drop it at once.
    // done runs once on this thread, possibly before print() returns.
    virtual void print(const QTextDocument &document, PrintDone done) = 0;
    // The same for a document that lays itself out: makePdf is called once,
    // on this thread, with the paper the print goes on, and not at all when
    // the print fails before (no printer).
    virtual void printPdf(PdfForPaper makePdf, PrintDone done) = 0;
};

// The commands of the print system (CUPS's client tools); an empty one is
// missing.
struct PrintCommands
{
    QString lpstat;    // names the default queue
    QString lpoptions; // tells the queue's paper size
    QString lp;        // hands a file to a queue
};

// The print system's default queue (asked of lpstat), on its paper size
// (asked of lpoptions), through its spooler (lp), whose answer tells whether
// the queue took the job: a queue that refuses jobs is reported, not passed
// over in silence.  Without a print system, or without a default queue, it
// says so.
//
// The commands run one after the other outside the window thread's way: a
// slow print server keeps no window waiting.  A job still on its way when the
// printer is destroyed (the end of the application) is abandoned: its
// command is stopped, its print file removed, and done never runs.
class DefaultPrinter final : public Printer
{
public:
    DefaultPrinter(); // the commands from the search path
    explicit DefaultPrinter(PrintCommands commands);
    ~DefaultPrinter() override;
    void print(const QTextDocument &document, PrintDone done) override;
    void printPdf(PdfForPaper makePdf, PrintDone done) override;

private:
    PrintCommands m_commands;
    QObject m_jobs; // parent of the jobs on their way
};

// The paper a queue's options name, from the answer of `lpoptions -p QUEUE -l`
// (the PageSize line, default starred) or of `lpoptions -p QUEUE` (its
// PageSize= or media= option); nothing when the answer names none this
// program knows.
std::optional<QPageSize> queuePaperSize(const QString &lpoptionsAnswer);

// The paper of the user's locale for paper (LC_ALL, else LC_PAPER, else LANG):
// Letter in the countries that use it, A4 everywhere else and for the C
// locale.
QPageSize localePaperSize(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// Writes the document as a PDF file with the page layout of the printed one,
// on the locale's paper.  The file takes the old one's place only when
// complete, so a failure never damages an existing file; a new file gets the
// umask's mode, a replaced one keeps its mode, as a saved reading does.
kestrava::MaybeFailure exportPdf(const QTextDocument &document, const QString &path);

} // namespace platform
