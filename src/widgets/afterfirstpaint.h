#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

// Runs a step once, right after the first paint of the widget it watches:
// for work the first sight of a window need not wait for.  It belongs to the
// widget and goes with it.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *widget, std::function<void()> step)
        : QObject(widget)
        , m_step(std::move(step))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_step) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, std::exchange(m_step, nullptr));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_step;
};
