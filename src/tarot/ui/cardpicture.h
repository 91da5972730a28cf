#pragma once

#include <QPixmap>
#include <QString>

// Card pictures (the deck's SVG files, see cardPicturePath()), drawn at the
// size asked and the screen's pixel ratio, so they stay crisp when scaled.
namespace tarot {

inline constexpr int kCardWidth = 142;
inline constexpr int kCardHeight = 250;

// Null when the deck has no picture for the key.
QPixmap cardPicture(const QString &pictureKey, QSize size, qreal devicePixelRatio);

} // namespace tarot
