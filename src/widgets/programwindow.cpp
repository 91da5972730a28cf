#include "widgets/programwindow.h"

#include "platform/modaldialogs.h"
#include "widgets/programhost.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

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

void ProgramWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // Qt puts a window back from its title bar where it fits the document
        // area of that moment, which the welcome panel still shrinks: a tall
        // window came back with its title bar and menu above the area.  Qt
        // sends the change again while it handles it; only the first one
        // comes from the minimised state.
        const Qt::WindowStates before = static_cast<QWindowStateChangeEvent *>(event)->oldState();
        if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
            m_restoring = false;
        else if (before & Qt::WindowMinimized)
            m_restoring = true;
    }
    // The window is placed once Qt has done with it, outside the changes it
    // sends while it handles this one.
    ++m_handlingChange;
    QMdiSubWindow::changeEvent(event);
    --m_handlingChange;
    if (event->type() == QEvent::WindowStateChange && m_handlingChange == 0)
        m_settledState = windowState();
    if (m_restoring && m_handlingChange == 0 && isVisible())
        placeRestored();
}

void ProgramWindow::showEvent(QShowEvent *event)
{
    QMdiSubWindow::showEvent(event);
    // A window hidden in the notification area is restored first and shown after.
    if (m_restoring && m_handlingChange == 0)
        placeRestored();
}

void ProgramWindow::moveEvent(QMoveEvent *event)
{
    QMdiSubWindow::moveEvent(event);
    rememberPlace();
}

void ProgramWindow::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
    rememberPlace();
}

void ProgramWindow::rememberPlace()
{
    // Only a place the window takes in its normal state counts, not one it
    // is given while a change of state is under way: the change reaches
    // others (the main window, the document area) before this window, and
    // they may move it meanwhile.
    const Qt::WindowStates special = Qt::WindowMinimized | Qt::WindowMaximized;
    if (!m_restoring && isVisible() && !(windowState() & special) && !(m_settledState & special))
        m_normalGeometry = geometry();
}

void ProgramWindow::placeRestored()
{
    m_restoring = false;
    QRect place = m_normalGeometry.isValid() ? m_normalGeometry : geometry();
    place.setSize(size());
    const QSize room = m_host.documentArea()->viewport()->size();
    place.moveTo(qMax(0, qMin(place.x(), room.width() - place.width())),
                 qMax(0, qMin(place.y(), room.height() - place.height())));
    setGeometry(place);
}
