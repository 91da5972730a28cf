#include "platform/printer.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace platform {

namespace {

std::optional<QString> printTo(QPrinter &printer, const QTextDocument &document)
{
    if (!printer.isValid())
        return QStringLiteral("The printer could not be opened. The reading was not printed.");
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("Printing failed. The reading was not printed.");
    return std::nullopt;
}

} // namespace

std::optional<QString> DefaultPrinter::print(const QTextDocument &document)
{
    // Without a print system QPrinter quietly becomes a PDF printer with no
    // file and prints nothing, so ask for the default printer first.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return QStringLiteral("No printer is available. Please install or select a default printer and try again.");
    QPrinter printer(info, QPrinter::HighResolution);
    return printTo(printer, document);
}

std::optional<QString> PdfFilePrinter::print(const QTextDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    auto result = printTo(printer, document);
    if (!result && !QFileInfo::exists(m_path))
        return QStringLiteral("Printing failed. The reading was not printed.");
    return result;
}

} // namespace platform
