#include "support/testdoubles.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>

kestrava::MaybeFailure PdfFilePrinter::print(const QTextDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    document.print(&printer);
    if (!QFileInfo::exists(m_path))
        return kestrava::Failure{QStringLiteral("no PDF was written")};
    return std::nullopt;
}
