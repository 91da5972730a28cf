#pragma once

#include <QString>

// The result view's words, shared by the window and the printable reading.
namespace astrology {

// The result view's rows, top to bottom.
enum class ResultRow { Combined, Fadic, Planet, Sign };

// "Combined Fadic No", "Fadic Number", "Ruling Planet", "Numerological Zodiac Sign".
QString caption(ResultRow row);

} // namespace astrology
