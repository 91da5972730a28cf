#include "support/testdoubles.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>

kestrava::MaybeFailure PdfFilePrinter::print(const QTextDocument &document)
{
    QPdfWriter writer(m_path);
    document.print(&writer);
    if (!QFileInfo::exists(m_path))
        return kestrava::Failure{QStringLiteral("no PDF was written")};
    return std::nullopt;
}
