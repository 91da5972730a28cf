#pragma once

#include <QObject>

class QTextEdit;

// Shows the web addresses in a reading view as links and opens one, once,
// when it is pressed with the left mouse button.  Every reading view that
// wants links gets its own detector, so links work in all of them at once.
class LinkDetector : public QObject
{
    Q_OBJECT
public:
    // Attaches to the view (and is destroyed with it).
    explicit LinkDetector(QTextEdit *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void markLinks();

    QTextEdit *m_view;
    // Compared by address only: while the view is being destroyed its
    // viewport still sends events, and the view is no text edit any more.
    const QObject *m_viewport;
    bool m_marking = false;
};
