#include "widgets/linklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setMouseTracking(true);
    setReacting(true);
}

void LinkLabel::setReacting(bool reacting)
{
    m_reacting = reacting;
    setCursor(reacting ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setFocusPolicy(reacting ? Qt::TabFocus : Qt::NoFocus);
}

bool LinkLabel::event(QEvent *event)
{
    // A label that takes the focus builds a text document for its text when it
    // is polished, which a link label's plain text does not need to be drawn;
    // it gets one when it first takes the focus.
    if (event->type() == QEvent::Polish && focusPolicy() != Qt::NoFocus) {
        const Qt::FocusPolicy policy = focusPolicy();
        setFocusPolicy(Qt::NoFocus);
        const bool done = QLabel::event(event);
        setFocusPolicy(policy);
        return done;
    }
    return QLabel::event(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_reacting && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (m_reacting && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        // Keep the release to this label: an unaccepted one travels on to the
        // parent, and a link label lying on another (the banner text on its
        // strip) would click that one as well.
        event->accept();
        emit clicked();
    }
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    // Keep the move from reaching the parent: the welcome panel clears the
    // underline on any movement it sees.
    event->accept();
    emit hovered();
}
