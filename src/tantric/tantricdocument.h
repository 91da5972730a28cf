#pragma once

#include "common/titleblock.h"
#include "richtext/composition.h"

#include <QString>

// Vorizov Avazodizaz's reading as a document to keep.
namespace tantric {

// The reading of a birth date: a heading with the name (blanks around it
// dropped) or, when it has none, the date; the name and the date of birth;
// the five numbers a line each, caption and number as the summary shows them
// (no Gift line for a gift number of 0); then the chart's sections with
// their texts, a gift number of 0 leaving no gap.  The title is the
// heading's text.
richtext::Composition readingDocument(const QString &name, int day, int month, int year,
                                      kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

} // namespace tantric
