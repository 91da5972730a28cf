#pragma once

#include "common/titleblock.h"
#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/resultstate.h"

#include <QList>

namespace numpro {

// Every offered reading in document mode, in the list's order, framed by a
// header naming the person and birth date and by closing line breaks.  The
// items go to the end of the document one after another, except those marked
// alwaysToDisplay.
QList<ReadingResult> comprehensiveReading(const ReadingInputs &inputs, ResultState &state,
                                         kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

} // namespace numpro
