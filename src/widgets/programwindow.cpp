#include "widgets/programwindow.h"

#include "platform/modaldialogs.h"
#include "widgets/programhost.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>

ProgramWindow::ProgramWindow(ProgramHost &host, const QString &name, const QString &caption)
    : m_host(host)
{
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowMinimizeButtonHint);

    auto *frame = new QWidget;
    auto *outer = new QVBoxLayout(frame);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_menuBar = new QMenuBar(frame);
    outer->setMenuBar(m_menuBar);
    m_body = new QWidget(frame);
    outer->addWidget(m_body);
    setWidget(frame);

    host.addProgramWindow(this);
}

void ProgramWindow::showAtTop(const QWidget *over)
{
    show();
    adjustSize();
    if (over && over->isVisible())
        resize(size().expandedTo(over->size()));
    const QWidget *area = m_host.documentArea()->viewport();
    move(qMax(0, (area->width() - width()) / 2), 0);
    show();
    raise();
    m_host.documentArea()->setActiveSubWindow(this);
}

void ProgramWindow::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    m_closed = true;
    // A box of this window still running returns through this window's code:
    // close the box, and destroy the window only once that code has finished.
    if (platform::rejectBoxesOf(this)) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        platform::whenBoxesOfReturned(this, [self = QPointer<ProgramWindow>(this)] {
            if (self)
                self->deleteLater();
        });
    }
    onClosed();
}
