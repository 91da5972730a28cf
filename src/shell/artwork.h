#pragma once

#include <QIcon>
#include <QPixmap>

class QPaintDevice;

// The suite's pictures.  There are no image files: every picture is drawn here,
// so it stays crisp at any size and on high-density screens.
namespace kestrava {

// How many programs the main window launches, and so how many program pictures exist.
inline constexpr int programPictureCount = 6;

// The picture beside a launch button, size x size device-independent pixels on a
// transparent background, at the screen's device pixel ratio.  The launch index is
//   0 astrology (planet with a ring), 1 numerology reading (a bold 9 in a disc),
//   2 tarot (cards with a sun), 3 daily number (a calendar page), 4 runes (a rune
//   stone carved with Algiz), 5 tantric (a lotus).
// Returns a null pixmap for an index outside 0..programPictureCount-1 or a size below 1.
QPixmap programPicture(int program, int size);

// The product logo for the About box: a night-blue disc with a ring of golden
// numerals and a golden K.  Null for a size below 1.
QPixmap productLogo(int size);

// The same pictures painted on any device (an SVG generator, a printer), on
// a size x size area at its origin.
void paintProgramPicture(QPaintDevice &device, int program, int size);
void paintProductLogo(QPaintDevice &device, int size);

// The application icon: the product logo at 16, 24, 32, 48, 64 and 128 pixels.
QIcon windowIcon();

// The background of the main window's top banner: a purple-to-blue strip with
// golden stars and numerals.  The same width and height always give the same
// picture.  Null if either dimension is below 1.
QPixmap bannerPicture(int width, int height);

} // namespace kestrava
