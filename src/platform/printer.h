#pragma once

#include <QString>
#include <optional>

class QTextDocument;

namespace platform {

// Prints a whole document without a dialog.  Returns a message for the user
// when nothing could be printed, nothing on success.
class Printer
{
public:
    virtual ~Printer() = default;
    virtual std::optional<QString> print(const QTextDocument &document) = 0;
};

// The system's default printer.
class DefaultPrinter final : public Printer
{
public:
    std::optional<QString> print(const QTextDocument &document) override;
};

// Writes a PDF file instead of printing; used where output must be read back.
class PdfFilePrinter final : public Printer
{
public:
    explicit PdfFilePrinter(QString path) : m_path(std::move(path)) {}
    std::optional<QString> print(const QTextDocument &document) override;

private:
    QString m_path;
};

} // namespace platform
