#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

#include <QDate>

// The Marriage Vibration Number: the number of the day two people married,
// read for the marriage as the life path is read for a person.
namespace numpro {

// The years the marriage date lists offer.
inline constexpr int kFirstMarriageYear = 1900;
inline constexpr int kLastMarriageYear = 2100;

// Month, day and year each reduced with reduceNumber, their sum reduced
// again: 1..9, 11 or 22.  0 for an invalid date.
qint16 marriageVibrationNumber(QDate date);

// Values: marriageVibration and marriageDate (ISO text) when the inputs hold
// a marriage date; none at all otherwise, so a subject without one adds
// nothing to the values or the document.
ReadingValues computeMarriageVibration(const ReadingInputs &inputs, ResultState &state);
// Heading with the number, introduction, paragraph, credit line and footer in
// bold dark cyan; empty when no marriage date was chosen.
ReadingResult composeMarriageVibration(const ReadingValues &values, OutputMode mode);

} // namespace numpro
