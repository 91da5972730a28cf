#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

#include <array>

// Pinnacles and challenges: four numbers each from the birth date.
namespace numpro {

// Four pinnacles from month, day and year, keeping 11 and 22.  Value: pinnacles [4].
ReadingValues computePinnacles(const ReadingInputs &inputs, ResultState &state);
// The four headings give joining age spans, all taken from the first
// pinnacle's value (11 as 2, 22 as 4), each followed by its own pinnacle.
ReadingResult composePinnacles(const ReadingValues &values, OutputMode mode);

// The ages the four pinnacle headings name: joined spans taken from the first
// pinnacle's value (11 as 2, 22 as 4).  The fourth has no end (to is -1).
struct AgeSpan
{
    int from;
    int to;
};
std::array<AgeSpan, 4> pinnacleSpans(qint16 firstPinnacle);

// Four challenges, differences of the folded month, day and year (0..8).
// Value: challenges [4].
ReadingValues computeChallenges(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeChallenges(const ReadingValues &values, OutputMode mode);

} // namespace numpro
