#pragma once

#include <QPixmap>
#include <QString>

// Pictures kept as SVG files (compiled in as resources): drawn at the size
// asked and the screen's pixel ratio, so they stay crisp when scaled.
namespace pictures {

// Null when there is no such picture.
QPixmap svgPicture(const QString &path, QSize size, qreal devicePixelRatio);

} // namespace pictures
