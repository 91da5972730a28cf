#pragma once

#include "numpro/forecast/forecast.h"
#include "numpro/forecast/readingsections.h"
#include "numpro/readings/readinginputs.h"

#include <QList>
#include <QString>

// The life timeline: a person's pinnacles, challenges, life path periods,
// essence and personal years along an age axis, as values a picture, a table
// or a command line can show.
namespace numpro {

// The rows of the timeline, top to bottom.
enum class TimelineRow { Pinnacles, Challenges, Periods, Essence, PersonalYears };
inline constexpr TimelineRow kTimelineRows[] = {TimelineRow::Pinnacles, TimelineRow::Challenges,
                                                TimelineRow::Periods, TimelineRow::Essence,
                                                TimelineRow::PersonalYears};

// The row's name as the picture and the table show it.
QString timelineRowName(TimelineRow row);

// One band of a row: its number in force from one age to another (both
// included; ages are the readings' own, the age reached in a calendar year).
struct TimelineBand
{
    TimelineRow row = TimelineRow::Pinnacles;
    int position = 0; // pinnacle, challenge or period 1..4; 0 for the year-by-year rows
    qint16 number = 0;
    int fromAge = 0;
    int toAge = 0;
    int fromYear = 0; // the calendar years of those ages
    int toYear = 0;

    friend bool operator==(const TimelineBand &, const TimelineBand &) = default;
};

struct LifeTimeline
{
    ReadingInputs subject; // with the today it was computed for
    int birthYear = 0;
    int todayAge = 0;
    // The axis runs from age 0 to this age: 90, or the age today when older.
    int lastAge = 90;
    // Every row's bands, row by row in the order of kTimelineRows, each row in
    // age order.  The pinnacle, challenge, period and essence rows cover every
    // age of the axis exactly once; the personal years run from today's year
    // (or the birth year, if later) to the end of the axis.
    QList<TimelineBand> bands;

    QList<TimelineBand> row(TimelineRow row) const;
};

// The timeline of the subject as of the subject's today.
LifeTimeline lifeTimeline(const ReadingInputs &subject);

// What the band's reading says of it: the heading and paragraph of that
// pinnacle, challenge or period, or the essence or personal year reading of
// the band's year.
ReadingSection bandReading(const ReadingInputs &subject, const TimelineBand &band);

// A one-line description: the row, the number and its position, the ages and
// the years ("Second pinnacle 3: ages 35 to 43, 2021 to 2029").
QString bandDescription(const TimelineBand &band);

} // namespace numpro
