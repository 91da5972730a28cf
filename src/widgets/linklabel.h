#pragma once

#include <QLabel>

// A label that reacts to the mouse: clicks, and movement over it (for the
// welcome panel's hover underline).  A reacting label shows a hand cursor,
// can be reached with Tab and is pressed with Enter or Space as well.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text = {}, QWidget *parent = nullptr);

    // A reacting label has the hand cursor and emits clicked().
    void setReacting(bool reacting);
    bool isReacting() const { return m_reacting; }

signals:
    void clicked();
    void hovered();

protected:
    bool event(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool m_reacting = true;
};
