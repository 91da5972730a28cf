#include "widgets/linklabel.h"

#include <QMouseEvent>

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
