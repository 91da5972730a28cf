#pragma once

#include "common/titleblock.h"
#include "richtext/composition.h"

#include <QString>

// The result page's words, and the reading as a document to keep.
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

// The reading of a name as the two tabs show it, one after the other: a
// heading and the name (blanks around it dropped; a name of blanks is not
// shown); "Numerology: " and the destiny number, 14-point bold, over its
// significance and interpretation; "Runes: " and the stone's name, 14-point
// bold, over its keywords and its text.  A name without letters has the
// number 0 and the no-letters text; it and 22 have no stone, so no "Runes"
// part.  The title is the heading's text.
richtext::Composition readingDocument(const QString &name, kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

} // namespace runes
