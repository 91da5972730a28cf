#pragma once

#include <QProxyStyle>

// The suite's style: the platform's own, except that the menu bar's overflow
// arrow (shown only when a window is too narrow for its menus) is read from
// its image file when it is first drawn.  Reading it when the menu bar is
// built made Qt load every image-format plugin before the main window's first
// paint.
class SuiteStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
