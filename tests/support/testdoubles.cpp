#include "support/testdoubles.h"

#include <QFile>
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

void PdfFilePrinter::printPdf(platform::PdfForPaper makePdf, platform::PrintDone done)
{
    const QByteArray pdf = makePdf(paper);
    QFile file(m_path);
    if (pdf.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return done(kestrava::Failure{QStringLiteral("no PDF was written")});
    done(std::nullopt);
}
