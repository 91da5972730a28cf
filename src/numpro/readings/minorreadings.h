#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

// The six minor numbers: one number and one paragraph each.
namespace numpro {

// From the first character of each name field as typed.  Value: balance;
// balanceNoLetters when no initial has a letter value.
ReadingValues computeBalance(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeBalance(const ReadingValues &values, OutputMode mode);

// Reduced day plus the first name's letter sum, keeping 11 and 22; the day
// alone when the first name has no letters.  Value: rationalThought.
ReadingValues computeRationalThought(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeRationalThought(const ReadingValues &values, OutputMode mode);

// How many of the letter values 1..9 the joined name holds.
// Value: subconsciousSelf; subconsciousSelfNoLetters when it holds none.
ReadingValues computeSubconsciousSelf(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeSubconsciousSelf(const ReadingValues &values, OutputMode mode);

// The letter value of the most frequent valued character of the joined name
// (the first of equals wins); 0 when no character has a value.
// Value: hiddenPassion; hiddenPassionNoLetters with that 0.
ReadingValues computeHiddenPassion(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeHiddenPassion(const ReadingValues &values, OutputMode mode);

// The gap between Soul Urge and Inner Dreams, computed afresh.  Value:
// hpBridge; null, with hpBridgeNoLetters, when the name has no vowels or no
// consonants to give one of them.
ReadingValues computeHPBridge(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeHPBridge(const ReadingValues &values, OutputMode mode);

// The gap between Destiny and Life Path, computed afresh.  Value: leBridge;
// null, with leBridgeNoLetters, when the name has no letters for Destiny.
ReadingValues computeLEBridge(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeLEBridge(const ReadingValues &values, OutputMode mode);

} // namespace numpro
