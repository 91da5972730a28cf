#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

// The six core readings of the result navigator.  Each computes its number
// from the inputs (with its extra value and hidden label caption) and
// composes heading, introduction, interpretation text and credit line in
// bold dark cyan.
namespace numpro {

// From the birth date; 1..9, 11 or 22.  Values: lifePath, dayDigitSum.
ReadingValues computeLifePath(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeLifePath(const ReadingValues &values, OutputMode mode);

// From the letter values of the whole name, summed along the joined name.
// Values: destiny, destinyTotal; destinyNoLetters when the name holds no
// valued letter (the number is then 0 and the reading says why).
ReadingValues computeDestiny(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeDestiny(const ReadingValues &values, OutputMode mode);

// From the vowels of the name (Y only in a name without A, E, I, O, U).
// Values: soulUrge, soulUrgeTotal; soulUrgeNoVowels when there is none.
ReadingValues computeSoulUrge(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeSoulUrge(const ReadingValues &values, OutputMode mode);

// From the consonants of the name (Y always counts).
// Values: innerDreams, innerDreamsTotal; innerDreamsNoConsonants when there
// is none.
ReadingValues computeInnerDreams(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeInnerDreams(const ReadingValues &values, OutputMode mode);

// The day of the month itself, not reduced; 0 for a day text that is no
// number.  Value: birthDay; the hidden label shows the trimmed day text.
ReadingValues computeBirthDay(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeBirthDay(const ReadingValues &values, OutputMode mode);

// Computes Life Path and Destiny afresh (storing them, so their hidden labels
// follow) and joins their digits.  Value: maturity, null when either is 0.
// When Destiny is 0 for a name without letters, maturityNoLetters is set too
// and the reading says so; otherwise the reading is, instead, a plain message
// that keeps the display window's caption and always goes to the display
// window.
ReadingValues computeMaturity(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeMaturity(const ReadingValues &values, OutputMode mode);

} // namespace numpro
