#include "shell/welcomepanel.h"

WelcomePanel::WelcomePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picMain"));
    setMouseTracking(true);
    // Palette, not a style sheet: a style sheet here would also rule the
    // labels' fonts and swallow their hover underline.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

void WelcomePanel::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    emit mouseMoved();
}
