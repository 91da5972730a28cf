#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

#include <QList>

// Karmic lessons (letter values missing from the name) and karmic debt.
namespace numpro {

// The letter values 1..9 that no character of the joined name has, ascending.
QList<int> missingLetterValues(const QString &name);

// Value: karmicLessons [missing values ascending]; karmicLessonsNoLetters
// when all nine are missing, which the reading says instead of listing them.
ReadingValues computeKarmicLessons(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeKarmicLessons(const ReadingValues &values, OutputMode mode);

// 13, 14, 16 or 19 among the totals of Life Path (day digit sum), Destiny,
// Soul Urge, Inner Dreams and Birthday, the last of them winning; 0 for none.
// Those readings are computed afresh (and stored) for the current subject.
// Value: karmicDebt.
ReadingValues computeKarmicDebt(const ReadingInputs &inputs, ResultState &state);
ReadingResult composeKarmicDebt(const ReadingValues &values, OutputMode mode);

} // namespace numpro
