#include "platform/printer.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

using kestrava::Failure;
using kestrava::MaybeFailure;

constexpr int kSpoolerWaitMs = 30000;

MaybeFailure printTo(QPrinter &printer, const QTextDocument &document)
{
    if (!printer.isValid())
        return Failure{QObject::tr("The printer could not be opened.")};
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return Failure{QObject::tr("The printer reported an error.")};
    return std::nullopt;
}

bool endsWithPdfTrailer(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(qMax<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

} // namespace

SpoolingPrinter::SpoolingPrinter(QString queue, QString spooler)
    : m_queue(std::move(queue))
    , m_spooler(std::move(spooler))
{
}

MaybeFailure SpoolingPrinter::print(const QTextDocument &document)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return Failure{QObject::tr("No room for the print file: %1").arg(dir.errorString())};
    const QString file = dir.filePath(QStringLiteral("reading.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(QObject::tr("Kestrava reading"));
    if (MaybeFailure failure = printTo(printer, document))
        return failure;
    if (!QFileInfo::exists(file))
        return Failure{QObject::tr("The print file could not be written.")};

    QProcess spooler;
    spooler.start(m_spooler, {QStringLiteral("-d"), m_queue, QStringLiteral("-t"), printer.docName(), file});
    if (!spooler.waitForStarted(kSpoolerWaitMs))
        return Failure{QObject::tr("The print spooler %1 could not be started.").arg(m_spooler)};
    if (!spooler.waitForFinished(kSpoolerWaitMs)) {
        spooler.kill();
        spooler.waitForFinished(1000);
        return Failure{QObject::tr("The printer \"%1\" did not answer.").arg(m_queue)};
    }
    if (spooler.exitStatus() != QProcess::NormalExit || spooler.exitCode() != 0) {
        QString answer = QString::fromLocal8Bit(spooler.readAllStandardError()).trimmed();
        if (answer.isEmpty())
            answer = QObject::tr("the spooler ended with status %1").arg(spooler.exitCode());
        return Failure{QObject::tr("The printer \"%1\" did not take the job: %2").arg(m_queue, answer)};
    }
    return std::nullopt;
}

MaybeFailure exportPdf(const QTextDocument &document, const QString &path)
{
    const QFileInfo target(path);
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                           + QStringLiteral(".XXXXXX"));
    if (!partial.open())
        return Failure{partial.errorString()};
    partial.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial.fileName());
    printer.setDocName(QObject::tr("Kestrava reading"));
    if (MaybeFailure failure = printTo(printer, document))
        return failure;
    // The PDF writer does not report a refused write: a complete file ends
    // with its trailer, a cut-off one (a full disk) does not.
    if (!endsWithPdfTrailer(partial.fileName()))
        return Failure{QObject::tr("The PDF file could not be written completely (is the disk full?).")};
    // Replaces the old file in one step (rename() does so on POSIX systems).
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return Failure{QString::fromLocal8Bit(std::strerror(errno))};
    partial.setAutoRemove(false);
    return std::nullopt;
}

MaybeFailure DefaultPrinter::print(const QTextDocument &document)
{
    // Without a print system QPrinter quietly becomes a PDF printer with no
    // file and prints nothing, so ask for the default printer first.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return Failure{
            QObject::tr("No printer is available. Please install or select a default printer and try again.")};
    const QString spooler = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (!spooler.isEmpty())
        return SpoolingPrinter(info.printerName(), spooler).print(document);
    // No spooler command: Qt's own printing, whose queue answer is not known.
    QPrinter printer(info, QPrinter::HighResolution);
    return printTo(printer, document);
}

} // namespace platform
