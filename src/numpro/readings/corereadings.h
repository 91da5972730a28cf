#pragma once

#include "numpro/readings/birthinputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/resultstate.h"

// The six core readings of the result navigator.  Each computes its number from
// the inputs, stores it with its extra value and hidden label caption in the
// state, and composes heading, introduction, interpretation text and credit
// line in bold dark cyan.  While state.quietReading is set a reading computes
// and stores but returns an empty composition.
namespace numpro {

// From the birth date; 1..9, 11 or 22.  Also stores the day's digit sum.
ReadingResult lifePathReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

// From the letter values of the whole name, summed along the joined name.
ReadingResult destinyReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

// From the vowels of the name (Y only in a name without A, E, I, O, U).
ReadingResult soulUrgeReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

// From the consonants of the name (Y always counts).
ReadingResult innerDreamsReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

// The day of the month itself, not reduced; 0 for a day text that is no number.
ReadingResult birthDayReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

// Recomputes Life Path and Destiny quietly and joins their digits.  When either
// is 0 it returns, instead of a reading, a plain message that keeps the
// display window's caption and always goes to the display window.
ReadingResult maturityReading(const BirthInputs &inputs, ResultState &state, OutputMode mode);

} // namespace numpro
