#pragma once

#include <QString>

// The result page's words, shared by the window and the printable reading.
namespace runes {

// The two tabs: "Numerology" (the number) and "Runes" (its stone).
QString numerologyCaption();
QString runesCaption();
// The frames around the texts: "Significance", "Interpretation", "Keywords".
QString significanceCaption();
QString interpretationCaption();
QString keywordsCaption();

// Said in place of the number's text for a name without a letter A to Z.
QString noLettersText();

} // namespace runes
