#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

// The personal cycles (birth day and month with today's date) and the planes
// of expression of the name.
namespace numpro {

// Value: personalYear.
ReadingValues computePersonalYear(const ReadingInputs &inputs, ResultState &state);
ReadingResult composePersonalYear(const ReadingValues &values, OutputMode mode);

// Value: personalMonth (11 and 22 stay).
ReadingValues computePersonalMonth(const ReadingInputs &inputs, ResultState &state);
ReadingResult composePersonalMonth(const ReadingValues &values, OutputMode mode);

// Value: personalDay (11 and 22 stay).
ReadingValues computePersonalDay(const ReadingInputs &inputs, ResultState &state);
ReadingResult composePersonalDay(const ReadingValues &values, OutputMode mode);

// The share of the joined name's characters on each plane, in percent.
// Values: planes {mental, physical, emotional, intuitive}, dominantPlane
// ("Mental", "Physical", "Emotional", "Intuitive", or "" for a tie);
// planesNoLetters when the name holds no letter for any plane.
ReadingValues computePlanes(const ReadingInputs &inputs, ResultState &state);
ReadingResult composePlanes(const ReadingValues &values, OutputMode mode);

} // namespace numpro
