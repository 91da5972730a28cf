#pragma once

#include <QFont>

namespace kestrava {

// Verdana at the given size, falling back to the system's sans serif where
// Verdana is not installed.
inline QFont verdana(qreal points, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace kestrava
