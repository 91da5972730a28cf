#pragma once

#include "common/titleblock.h"
#include "richtext/composition.h"

#include <QString>

// The result view's words, and the reading as a document to keep.
namespace astrology {

// The result view's rows, top to bottom.
enum class ResultRow { Combined, Fadic, Planet, Sign };

// "Combined Fadic No", "Fadic Number", "Ruling Planet", "Numerological Zodiac Sign".
QString caption(ResultRow row);

// The reading of a birth date as the result view shows it: a heading with
// the name (blanks around it dropped) or, when it has none, the date; the
// name and the date of birth; then each row's caption with its value in
// bold, the fadic number, the planet and the sign each followed by its text.
// A date whose fadic number has no profile shows the two numbers only.  The
// title is the heading's text.
richtext::Composition readingDocument(const QString &name, int month, int day, int year,
                                      kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

} // namespace astrology
