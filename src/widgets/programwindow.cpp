#include "widgets/programwindow.h"

#include "platform/modaldialogs.h"
#include "widgets/programhost.h"

#include <QApplication>
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

void ProgramWindow::showAtTop(ProgramWindow *over)
{
    m_opener = over;
    show();
    adjustSize();
    if (over && over->isVisible())
        resize(size().expandedTo(over->size()));
    const QWidget *area = m_host.documentArea()->viewport();
    move(qMax(0, (area->width() - width()) / 2), 0);
    bringToFront(this);
}

void ProgramWindow::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    const bool wasActive = mdiArea() && mdiArea()->currentSubWindow() == this;
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    m_closed = true;
    // The launcher closes every window; nothing is to come forward then.
    if (wasActive && !m_host.isClosingPrograms())
        returnToPrevious();
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

void ProgramWindow::returnToPrevious()
{
    QMdiArea *area = mdiArea();
    if (!area)
        return;
    const auto showing = [this](const QMdiSubWindow *window) {
        const auto *program = qobject_cast<const ProgramWindow *>(window);
        return window && window != this && !window->isHidden() && (!program || program->isOpen());
    };
    if (showing(m_opener)) {
        bringToFront(m_opener);
        return;
    }
    // The most recently active window last.  One minimised since stays so.
    const QList<QMdiSubWindow *> history = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        if (showing(*it) && !(*it)->isMinimized()) {
            bringToFront(*it);
            return;
        }
    }
}

void bringToFront(QMdiSubWindow *window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    if (QMdiArea *area = window->mdiArea())
        area->setActiveSubWindow(window);
    // Qt gives an activated window's focus to the first control in its focus
    // chain, shown or not: a control on a page of a stack that is not the
    // current one took it, and the window kept no focus at all, nor a key.
    const QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == window || window->isAncestorOf(focus)) && focus->isVisible())
        return;
    for (QWidget *next = window->nextInFocusChain(); next && next != window; next = next->nextInFocusChain()) {
        if (window->isAncestorOf(next) && next->isVisible() && next->isEnabled()
            && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
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
