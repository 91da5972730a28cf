#pragma once

#include "platform/clock.h"
#include "platform/printer.h"

// A clock that says what it is told.
class FixedClock final : public platform::Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }

private:
    QDateTime m_now;
};

// Writes a PDF file instead of printing, so the output can be read back;
// done before print() returns.  A document that lays itself out does so on
// the paper this printer is said to hold (A4 unless told).
class PdfFilePrinter final : public platform::Printer
{
public:
    explicit PdfFilePrinter(QString path) : m_path(std::move(path)) {}
    void print(const QTextDocument &document, platform::PrintDone done) override;
    void printPdf(platform::PdfForPaper makePdf, platform::PrintDone done) override;

    QPageSize paper{QPageSize::A4};

private:
    QString m_path;
};
