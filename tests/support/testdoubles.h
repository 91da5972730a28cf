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
// done before print() returns.
class PdfFilePrinter final : public platform::Printer
{
public:
    explicit PdfFilePrinter(QString path) : m_path(std::move(path)) {}
    void print(const QTextDocument &document, platform::PrintDone done) override;

private:
    QString m_path;
};
