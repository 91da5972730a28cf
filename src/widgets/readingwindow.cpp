#include "widgets/readingwindow.h"

#include "widgets/clientlink.h"

#include "common/charactershift.h"
#include "common/filenames.h"
#include "common/shiftedlines.h"
#include "platform/printer.h"
#include "widgets/brandlabels.h"
#include "widgets/linkdetector.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The question before saving characters the file cannot keep: each one with
// what saving does to it.
QString unsavableQuestion(const QList<kestrava::UnsavableCharacter> &characters)
{
    QStringList lines;
    for (const kestrava::UnsavableCharacter &c : characters) {
        lines << (c.fate == kestrava::UnsavableCharacter::Fate::Replaced
                      ? QObject::tr("%1 will be written as \"?\"").arg(c.character)
                      : QObject::tr("%1 will be left out").arg(c.character));
    }
    return QObject::tr("Some characters cannot be kept in a saved reading:\n%1\n\n"
                       "Do you want to save the reading anyway?")
        .arg(lines.join(u'\n'));
}

} // namespace

ReadingWindow::ReadingWindow(ProgramHost &host, const QString &name, const QString &caption,
                             const SavedSubject *saved)
    : ProgramWindow(host, name, caption)
    , m_saved(saved)
{
    // Long readings are easier to read in a larger window.
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *page = body();
    m_view = new QTextEdit(page);
    m_view->setObjectName(QStringLiteral("RTB"));
    m_view->setReadOnly(true);
    // Selecting with the mouse (and Ctrl+A, Ctrl+C) but no text cursor: the
    // keys scroll the reading, as in any viewer.
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_view->setMinimumSize(640, 380);
    new LinkDetector(m_view);

    auto *advert = new QLabel(brand::advertisingNote(), page);
    advert->setObjectName(QStringLiteral("lblAdvert"));
    advert->setStyleSheet(QStringLiteral("color: #800000;"));

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(advert);
    m_buttons->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_view, 1);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), false, page));
    layout->addLayout(m_buttons);

    m_printSender = new PrintSender(this, m_view);
}

QPushButton *ReadingWindow::addButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, body());
    button->setObjectName(name);
    m_buttons->addWidget(button);
    return button;
}

const QTextDocument &ReadingWindow::paperDocument()
{
    return *m_view->document();
}

void ReadingWindow::appendReading(const richtext::Composition &reading)
{
    const int start = m_view->document()->characterCount() - 1;
    richtext::appendToTextEdit(m_view, reading);
    // The newest reading is read from its heading: scroll it to the top.
    QTextCursor cursor(m_view->document());
    cursor.setPosition(start);
    m_view->setTextCursor(cursor);
    if (m_view->isVisible()) {
        QScrollBar *bar = m_view->verticalScrollBar();
        bar->setValue(bar->value() + m_view->cursorRect(cursor).top());
    }
}

std::optional<QString> saveSubject(QWidget *window, const platform::Services &services, const SavedSubject &saved)
{
    const auto path = services.files->saveFile(window, saved.saveRequest());
    if (!path)
        return std::nullopt;

    const QStringList lines = saved.savedLines();
    const QList<kestrava::UnsavableCharacter> lost = kestrava::unsavableCharacters(lines.join(QString()));
    if (!lost.isEmpty() && !services.messages->ask(window, platform::Icon::Warning, unsavableQuestion(lost)))
        return std::nullopt;

    if (const kestrava::MaybeFailure failure = kestrava::writeShiftedLines(*path, lines)) {
        services.messages->inform(window, platform::Icon::Error,
                                  QObject::tr("The reading could not be saved to %1.\n%2")
                                      .arg(QDir::toNativeSeparators(*path), failure->reason));
        return std::nullopt;
    }
    return path;
}

PrintSender::PrintSender(ProgramWindow *window, QTextEdit *view)
    : QLabel(tr("Sending to the printer…"), view)
    , m_window(window)
    , m_view(view)
{
    setObjectName(QStringLiteral("lblPrintStatus"));
    // Shown over the view's corner, looking like a tool tip: no line of the
    // window moves for it, and no room is kept free while nothing is sent.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::Box);
    setMargin(4);
    hide();
    view->viewport()->installEventFilter(this);
}

void PrintSender::place()
{
    adjustSize();
    const QRect area = m_view->viewport()->geometry();
    move(area.right() + 1 - width() - kInset, area.bottom() + 1 - height() - kInset);
    raise();
}

bool PrintSender::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && m_sending)
        place();
    return QLabel::eventFilter(watched, event);
}

void PrintSender::setSending(bool sending)
{
    m_sending = sending;
    if (sending)
        place();
    setVisible(sending);
    if (sending)
        m_window->setCursor(Qt::BusyCursor);
    else
        m_window->unsetCursor();
    if (auto *button = m_window->findChild<QAbstractButton *>(QStringLiteral("cmdPrint")))
        button->setEnabled(!sending);
}

void PrintSender::print(const platform::Services &services, const QTextDocument &document)
{
    if (m_sending)
        return;
    setSending(true);
    // The window may be closed (and destroyed) before the outcome comes; the
    // message boxes live as long as the printer does, the main window is
    // watched like this one.
    const QPointer<PrintSender> self(this);
    const QPointer<QWidget> mainWindow(m_window->window());
    platform::MessageBoxes *messages = services.messages;
    services.printer->print(document, [self, mainWindow, messages](const kestrava::MaybeFailure &failure) {
        QWidget *over = mainWindow;
        if (self) {
            self->setSending(false);
            if (self->m_window->isOpen())
                over = self->m_window;
        }
        if (failure && over) {
            messages->inform(over, platform::Icon::Error,
                             QObject::tr("The reading could not be printed.\n%1").arg(failure->reason));
        }
    });
}

std::optional<QString> exportDocumentAsPdf(QWidget *window, const platform::Services &services,
                                           const QTextDocument &document, const QString &suggestedName)
{
    const auto path =
        services.files->saveFile(window, {QObject::tr("Export as PDF"), QObject::tr("PDF document (*.pdf)"),
                                          QStringLiteral("pdf"), suggestedName});
    if (!path)
        return std::nullopt;
    if (const kestrava::MaybeFailure failure = platform::exportPdf(document, *path)) {
        services.messages->inform(window, platform::Icon::Error,
                                  QObject::tr("The reading could not be exported to %1.\n%2")
                                      .arg(QDir::toNativeSeparators(*path), failure->reason));
        return std::nullopt;
    }
    return path;
}

void ReadingWindow::save()
{
    if (!m_saved)
        return;
    if (const std::optional<QString> path = saveSubject(this, host().services(), *m_saved); path && historyLink())
        historyLink()->fileWritten(*path);
}

void ReadingWindow::print()
{
    QTextCursor cursor = m_view->textCursor();
    cursor.clearSelection();
    m_view->setTextCursor(cursor);
    m_printSender->print(host().services(), paperDocument());
}

void ReadingWindow::exportPdf()
{
    const platform::Services services = host().services();
    // A document is dated by the day it is made.
    const QString name = kestrava::suggestedFileName(documentPeople(), services.clock->now().date(),
                                                     QStringLiteral("pdf"), tr("Reading"));
    const std::optional<QString> path = exportDocumentAsPdf(this, services, paperDocument(), name);
    if (path && historyLink())
        historyLink()->fileWritten(*path);
}
