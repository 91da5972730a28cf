#include "platform/printer.h"

#include "common/paper.h"
#include "common/savefile.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace platform {

namespace {

using kestrava::Failure;
using kestrava::MaybeFailure;

// How long one print-system command may take before the job gives up on it.
constexpr int kCommandWaitMs = 30000;

// The name a reading carries in the PDF file and in the print queue.
QString documentName()
{
    return QObject::tr("Kestrava reading");
}

QString noPrinterText()
{
    return QObject::tr("No printer is available. Please install or select a default printer and try again.");
}

// The document as a PDF file, in the page layout every print and export
// gets.  (Qt's PDF writer, not its printer: the print-support library,
// loaded at every start, would only have added the default printer's name.)
// Written to memory: the caller's write to disk is the one that can fail.
QByteArray pdfOf(const QTextDocument &document, const QPageSize &paper)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(documentName());
        writer.setPageSize(paper);
        document.print(&writer);
    }
    return buffer.data();
}

// A paper by the name a print queue gives it: a PPD name ("A4", "Letter",
// with a variant such as "A4.Borderless") or a self-describing PWG name
// ("iso_a4_210x297mm", "na_letter_8.5x11in").
std::optional<QPageSize> paperNamed(const QString &name)
{
    static const QRegularExpression pwg(QStringLiteral(R"(^[a-z0-9]+_.*_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)(mm|in)$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch described = pwg.match(name);
    if (described.hasMatch()) {
        const QSizeF size(described.captured(1).toDouble(), described.captured(2).toDouble());
        const QPageSize::Unit unit = described.captured(3).compare(QLatin1String("mm"), Qt::CaseInsensitive) == 0
                                         ? QPageSize::Millimeter
                                         : QPageSize::Inch;
        const QPageSize paper(size, unit);
        if (paper.isValid())
            return paper;
        return std::nullopt;
    }
    // (A PPD's "Custom.WxH" names no paper of the queue's own.)
    const QString base = name.section(u'.', 0, 0);
    if (base.isEmpty())
        return std::nullopt;
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (size != QPageSize::Custom && QPageSize::key(size).compare(base, Qt::CaseInsensitive) == 0)
            return QPageSize(size);
    }
    return std::nullopt;
}

// The default queue's name in lpstat's answer to -d, asked in the C locale:
// "system default destination: office", or "no system default destination".
QString defaultQueueIn(const QString &answer)
{
    const QString lead = QStringLiteral("system default destination:");
    const QString trimmed = answer.trimmed();
    if (!trimmed.startsWith(lead))
        return {};
    return trimmed.mid(lead.size()).trimmed();
}

// How one command of the print system ended.
struct CommandResult
{
    enum class Ending { Exited, NotStarted, TimedOut, Crashed };
    Ending ending = Ending::NotStarted;
    int exitCode = -1;
    QString output;
    QString errors;

    bool succeeded() const { return ending == Ending::Exited && exitCode == 0; }
};

// One print on its way: the default queue, its paper, the PDF file, the
// spooler; each command started and answered through the event loop.
class PrintJob final : public QObject
{
public:
    PrintJob(const PrintCommands &commands, PdfForPaper makePdf, PrintDone done, QObject *parent)
        : QObject(parent)
        , m_commands(commands)
        , m_makePdf(std::move(makePdf))
        , m_done(std::move(done))
    {
        m_timeout.setSingleShot(true);
        m_timeout.setInterval(kCommandWaitMs);
        connect(&m_timeout, &QTimer::timeout, this, [this] {
            m_timedOut = true;
            m_process->kill();
        });
    }

    ~PrintJob() override
    {
        // Abandoned on its way: the command goes before its print file does.
        if (m_process) {
            m_process->disconnect(this);
            m_process->kill();
            m_process->waitForFinished(1000);
        }
    }

    void start()
    {
        if (m_commands.lpstat.isEmpty())
            return finish(Failure{noPrinterText()});
        run(m_commands.lpstat, {QStringLiteral("-d")}, Answer::Read, &PrintJob::onDefaultQueue);
    }

private:
    using Next = void (PrintJob::*)(const CommandResult &);
    // Answers the job reads are asked for in the C locale, whose wording it
    // knows; the spooler's answer is shown to the user in the user's language.
    enum class Answer { Read, Shown };

    void run(const QString &program, const QStringList &arguments, Answer answer, Next next)
    {
        m_process = new QProcess(this);
        if (answer == Answer::Read) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
            m_process->setProcessEnvironment(environment);
        }
        m_timedOut = false;
        connect(m_process, &QProcess::finished, this, [this, next](int exitCode, QProcess::ExitStatus status) {
            CommandResult result;
            result.ending = m_timedOut                         ? CommandResult::Ending::TimedOut
                            : status == QProcess::NormalExit ? CommandResult::Ending::Exited
                                                             : CommandResult::Ending::Crashed;
            result.exitCode = exitCode;
            result.output = QString::fromLocal8Bit(m_process->readAllStandardOutput());
            result.errors = QString::fromLocal8Bit(m_process->readAllStandardError());
            settle(next, result);
        });
        connect(m_process, &QProcess::errorOccurred, this, [this, next](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                settle(next, CommandResult{});
        });
        m_timeout.start();
        m_process->start(program, arguments);
    }

    void settle(Next next, const CommandResult &result)
    {
        m_timeout.stop();
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
        (this->*next)(result);
    }

    void onDefaultQueue(const CommandResult &result)
    {
        m_queue = result.succeeded() ? defaultQueueIn(result.output) : QString();
        if (m_queue.isEmpty())
            return finish(Failure{noPrinterText()});
        if (m_commands.lp.isEmpty())
            return finish(Failure{QObject::tr("The print spooler lp could not be found.")});
        if (m_commands.lpoptions.isEmpty())
            return spool(localePaperSize());
        run(m_commands.lpoptions, {QStringLiteral("-p"), m_queue, QStringLiteral("-l")}, Answer::Read,
            &PrintJob::onPaperChoices);
    }

    // The PPD's choices, the queue's default starred.  A queue without a PPD
    // (a driverless one) may still carry a paper among its plain options.
    void onPaperChoices(const CommandResult &result)
    {
        if (result.succeeded()) {
            if (const std::optional<QPageSize> paper = queuePaperSize(result.output))
                return spool(*paper);
        }
        if (result.ending != CommandResult::Ending::Exited)
            return spool(localePaperSize());
        run(m_commands.lpoptions, {QStringLiteral("-p"), m_queue}, Answer::Read, &PrintJob::onQueueOptions);
    }

    void onQueueOptions(const CommandResult &result)
    {
        std::optional<QPageSize> paper;
        if (result.succeeded())
            paper = queuePaperSize(result.output);
        spool(paper.value_or(localePaperSize()));
    }

    void spool(const QPageSize &paper)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        if (!m_dir->isValid())
            return finish(Failure{QObject::tr("No room for the print file: %1").arg(m_dir->errorString())});
        const QString path = m_dir->filePath(QStringLiteral("reading.pdf"));
        const QByteArray pdf = m_makePdf(paper);
        m_makePdf = nullptr;
        if (pdf.isEmpty())
            return finish(Failure{QObject::tr("The document could not be laid out for the printer.")});
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.flush())
            return finish(Failure{QObject::tr("The print file could not be written.")});
        file.close();
        run(m_commands.lp, {QStringLiteral("-d"), m_queue, QStringLiteral("-t"), documentName(), path},
            Answer::Shown, &PrintJob::onSpooled);
    }

    void onSpooled(const CommandResult &result)
    {
        switch (result.ending) {
        case CommandResult::Ending::NotStarted:
            return finish(Failure{QObject::tr("The print spooler %1 could not be started.").arg(m_commands.lp)});
        case CommandResult::Ending::TimedOut:
            return finish(Failure{QObject::tr("The printer \"%1\" did not answer.").arg(m_queue)});
        case CommandResult::Ending::Exited:
        case CommandResult::Ending::Crashed:
            break;
        }
        if (result.succeeded())
            return finish(std::nullopt);
        QString answer = result.errors.trimmed();
        if (answer.isEmpty())
            answer = QObject::tr("the spooler ended with status %1").arg(result.exitCode);
        finish(Failure{QObject::tr("The printer \"%1\" did not take the job: %2").arg(m_queue, answer)});
    }

    // done runs from the event loop, apart from this job's code: it may open
    // a message box, and the job (and with the printer, the caller) may be
    // gone before the box closes.
    void finish(const MaybeFailure &failure)
    {
        QMetaObject::invokeMethod(
            parent(), [done = std::move(m_done), failure] { done(failure); }, Qt::QueuedConnection);
        deleteLater();
    }

    PrintCommands m_commands;
    PdfForPaper m_makePdf;
    PrintDone m_done;
    QString m_queue;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess *m_process = nullptr;
    QTimer m_timeout;
    bool m_timedOut = false;
};

} // namespace

DefaultPrinter::DefaultPrinter(PrintCommands commands)
    : m_commands(std::move(commands))
{
}

DefaultPrinter::DefaultPrinter()
    : DefaultPrinter(PrintCommands{QStandardPaths::findExecutable(QStringLiteral("lpstat")),
                                   QStandardPaths::findExecutable(QStringLiteral("lpoptions")),
                                   QStandardPaths::findExecutable(QStringLiteral("lp"))})
{
}

DefaultPrinter::~DefaultPrinter() = default;

void DefaultPrinter::print(const QTextDocument &document, PrintDone done)
{
    // The copy goes with the job: the window's document may change meanwhile.
    std::shared_ptr<const QTextDocument> copy(document.clone());
    printPdf([copy](const QPageSize &paper) { return pdfOf(*copy, paper); }, std::move(done));
}

void DefaultPrinter::printPdf(PdfForPaper makePdf, PrintDone done)
{
    (new PrintJob(m_commands, std::move(makePdf), std::move(done), &m_jobs))->start();
}

std::optional<QPageSize> queuePaperSize(const QString &lpoptionsAnswer)
{
    // With -l: one option a line, "PageSize/Media Size: Letter *A4 Legal".
    for (const QString &line : lpoptionsAnswer.split(u'\n')) {
        const int colon = line.indexOf(u':');
        if (colon < 0 || line.left(colon).section(u'/', 0, 0).trimmed() != QLatin1String("PageSize"))
            continue;
        for (const QString &choice : line.mid(colon + 1).split(u' ', Qt::SkipEmptyParts)) {
            if (choice.startsWith(u'*'))
                return paperNamed(choice.mid(1));
        }
        return std::nullopt;
    }
    // Without: the queue's options on one line, "copies=1 media=A4 ...";
    // PageSize, where both are set, is the one CUPS goes by.
    static const QRegularExpression option(QStringLiteral(R"((?:^|\s)(PageSize|media)=['"]?([^\s,'"]+))"));
    std::optional<QPageSize> media;
    QRegularExpressionMatchIterator options = option.globalMatch(lpoptionsAnswer);
    while (options.hasNext()) {
        const QRegularExpressionMatch match = options.next();
        const std::optional<QPageSize> paper = paperNamed(match.captured(2));
        if (paper && match.captured(1) == QLatin1String("PageSize"))
            return paper;
        if (paper && !media)
            media = paper;
    }
    return media;
}

QPageSize localePaperSize(const QProcessEnvironment &environment)
{
    return QPageSize(kestrava::localePaper(environment) == kestrava::Paper::Letter ? QPageSize::Letter
                                                                                   : QPageSize::A4);
}

MaybeFailure exportPdf(const QTextDocument &document, const QString &path)
{
    const QByteArray pdf = pdfOf(document, localePaperSize());
    // Written as a saved reading is: the old file (and its mode) stays until
    // the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    if (const std::optional<kestrava::SaveFailure> failure = kestrava::writeAndCommit(file, pdf))
        return Failure{failure->reason};
    return std::nullopt;
}

} // namespace platform
