#include "platform/printer.h"

#include "common/savefile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

namespace platform {

namespace {

using kestrava::Failure;
using kestrava::MaybeFailure;

constexpr int kSpoolerWaitMs = 30000;

// The name a reading carries in the PDF file and in the print queue.
QString documentName()
{
    return QObject::tr("Kestrava reading");
}

// The document as a PDF file, in the page layout every print and export
// gets.  (Qt's PDF writer, not its printer: the print-support library,
// loaded at every start, would only have added the default printer's name.)
void writePdf(const QTextDocument &document, const QString &path)
{
    QPdfWriter writer(path);
    writer.setTitle(documentName());
    document.print(&writer);
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
    writePdf(document, file);
    if (!endsWithPdfTrailer(file))
        return Failure{QObject::tr("The print file could not be written.")};

    QProcess spooler;
    spooler.start(m_spooler, {QStringLiteral("-d"), m_queue, QStringLiteral("-t"), documentName(), file});
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
    // Laid out in memory: the write to disk is the step that can fail, and
    // it goes as a saved reading's does.  The old file (and its mode) stays
    // until the new one is complete; a new file gets the umask's mode.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(documentName());
        document.print(&writer);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    if (const std::optional<kestrava::SaveFailure> failure = kestrava::writeAndCommit(file, pdf.data()))
        return Failure{failure->reason};
    return std::nullopt;
}

DefaultPrinter::DefaultPrinter(QString lpstat, QString lp)
    : m_lpstat(std::move(lpstat))
    , m_lp(std::move(lp))
{
}

DefaultPrinter::DefaultPrinter()
    : DefaultPrinter(QStandardPaths::findExecutable(QStringLiteral("lpstat")),
                     QStandardPaths::findExecutable(QStringLiteral("lp")))
{
}

MaybeFailure DefaultPrinter::print(const QTextDocument &document)
{
    const QString queue = m_lpstat.isEmpty() ? QString() : defaultQueue(m_lpstat);
    if (queue.isEmpty())
        return Failure{
            QObject::tr("No printer is available. Please install or select a default printer and try again.")};
    if (m_lp.isEmpty())
        return Failure{QObject::tr("The print spooler lp could not be found.")};
    return SpoolingPrinter(queue, m_lp).print(document);
}

QString defaultQueue(const QString &lpstat)
{
    // "system default destination: office", or "no system default
    // destination"; asked in the C locale, whose wording this reads.
    QProcess query;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    query.setProcessEnvironment(environment);
    query.start(lpstat, {QStringLiteral("-d")});
    if (!query.waitForFinished(kSpoolerWaitMs) || query.exitStatus() != QProcess::NormalExit
        || query.exitCode() != 0) {
        query.kill();
        return {};
    }
    const QString answer = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    const QString lead = QStringLiteral("system default destination:");
    if (!answer.startsWith(lead))
        return {};
    return answer.mid(lead.size()).trimmed();
}

} // namespace platform
