#pragma once

#include "numpro/readings/birthinputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/resultstate.h"

#include <QList>

namespace numpro {

// Every reading in document mode, in the document's order, framed by a header
// naming the person and birth date and by closing line breaks.  The items go
// to the end of the document one after another, except those marked
// alwaysToDisplay.  state.writingToDocument is set only while this runs.
QList<ReadingResult> comprehensiveReading(const BirthInputs &inputs, ResultState &state);

} // namespace numpro
