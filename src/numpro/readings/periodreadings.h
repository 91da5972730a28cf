#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

// The readings that depend on the person's age this calendar year.
namespace numpro {

// The age reached in today's year: today's year minus the birth year
// (negative for a birth year after today's).
int ageThisYear(const ReadingInputs &inputs);

// The age limits of the periods for a period life path: period 1 up to a,
// period 2 up to b, period 3 above.  The master numbers take the limits of 1.
struct PeriodLimits
{
    int a;
    int b;
};
PeriodLimits periodLimits(qint16 lifePath);

// Three life path periods and the one the person is in now.  Values:
// periodLifePath, age, currentPeriod (0 for a negative age), periodNumbers [m, d, y].
ReadingValues computeLifePathPeriods(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeLifePathPeriods(const ReadingValues &values, OutputMode mode);

// The letter of each name part in force at the person's age (each letter
// lasts as many years as its value, the part repeating), summed and reduced.
// Values: transits [first, middle, last], essence, age; essenceNoLetters
// when no name part holds a valued letter.
ReadingValues computeEssence(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeEssence(const ReadingValues &values, OutputMode mode);

// The letter value in force at the age in one name part; 0 for a negative
// age and for a part in which no character has a letter value.
qint16 transit(QStringView part, int age);

} // namespace numpro
