#include "support/testdoubles.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>

void PdfFilePrinter::print(const QTextDocument &document, platform::PrintDone done)
{
    QPdfWriter writer(m_path);
    document.print(&writer);
    if (!QFileInfo::exists(m_path))
        return done(kestrava::Failure{QStringLiteral("no PDF was written")});
    done(std::nullopt);
}
