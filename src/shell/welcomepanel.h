#pragma once

#include <QWidget>

// The welcome panel (picMain).  Reports mouse movement over its empty area,
// which clears the program labels' hover underline.
class WelcomePanel : public QWidget
{
    Q_OBJECT
public:
    explicit WelcomePanel(QWidget *parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};
