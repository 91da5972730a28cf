#pragma once

#include "common/failure.h"

#include <QString>

class QTextDocument;

namespace platform {

// Prints a whole document without a dialog.  Returns why nothing was
// printed, nothing when the job reached the printer's queue.
class Printer
{
public:
    virtual ~Printer() = default;
    virtual kestrava::MaybeFailure print(const QTextDocument &document) = 0;
};

// Hands the document to one print queue as a PDF file through the spooler
// command (lp), whose answer tells whether the queue took the job: a queue
// that refuses jobs is reported, not passed over in silence.
class SpoolingPrinter final : public Printer
{
public:
    SpoolingPrinter(QString queue, QString spooler);
    kestrava::MaybeFailure print(const QTextDocument &document) override;

private:
    QString m_queue;
    QString m_spooler;
};

// The print system's default queue (asked of lpstat), through its spooler
// (lp).  Without a print system, or without a default queue, it says so.
class DefaultPrinter final : public Printer
{
public:
    DefaultPrinter(); // lpstat and lp from the search path
    DefaultPrinter(QString lpstat, QString lp);
    kestrava::MaybeFailure print(const QTextDocument &document) override;

private:
    QString m_lpstat;
    QString m_lp;
};

// The default queue's name as lpstat gives it; empty when there is none.
QString defaultQueue(const QString &lpstat);

// Writes the document as a PDF file with the page layout the printer gets.
// The file takes the old one's place only when complete, so a failure never
// damages an existing file; a new file gets the umask's mode, a replaced one
// keeps its mode, as a saved reading does.
kestrava::MaybeFailure exportPdf(const QTextDocument &document, const QString &path);

} // namespace platform
