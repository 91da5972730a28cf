#include "numpro/forecast/lifetimeline.h"

#include "numpro/readings/periodreadings.h"
#include "numpro/readings/personalreadings.h"
#include "numpro/readings/pinnaclereadings.h"
#include "numpro/readings/resultstate.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace numpro {

namespace {

constexpr int kShortestAxis = 90;

constexpr QStringView kOrdinals[] = {u"First", u"Second", u"Third", u"Fourth"};

} // namespace

QString timelineRowName(TimelineRow row)
{
    switch (row) {
    case TimelineRow::Pinnacles: return u"Pinnacles"_s;
    case TimelineRow::Challenges: return u"Challenges"_s;
    case TimelineRow::Periods: return u"Life path periods"_s;
    case TimelineRow::Essence: return u"Essence"_s;
    case TimelineRow::PersonalYears: return u"Personal years"_s;
    }
    return {};
}

QList<TimelineBand> LifeTimeline::row(TimelineRow which) const
{
    QList<TimelineBand> found;
    for (const TimelineBand &band : bands) {
        if (band.row == which)
            found.append(band);
    }
    return found;
}

LifeTimeline lifeTimeline(const ReadingInputs &subject)
{
    const Forecaster forecaster(subject);
    LifeTimeline timeline;
    timeline.subject = subject;
    timeline.birthYear = forecaster.birthYear();
    timeline.todayAge = ageThisYear(subject);
    timeline.lastAge = std::max(kShortestAxis, timeline.todayAge);
    const int last = timeline.lastAge;
    const auto band = [&timeline](TimelineRow row, int position, qint16 number, int from, int to) {
        timeline.bands.append({row, position, number, from, to, timeline.birthYear + from, timeline.birthYear + to});
    };

    for (int i = 0; i < 4; ++i) {
        const AgeSpan span = forecaster.spans()[std::size_t(i)];
        band(TimelineRow::Pinnacles, i + 1, forecaster.pinnacles()[std::size_t(i)], span.from,
             span.to < 0 ? last : span.to);
    }
    for (int i = 0; i < 4; ++i) {
        const AgeSpan span = forecaster.spans()[std::size_t(i)];
        band(TimelineRow::Challenges, i + 1, forecaster.challenges()[std::size_t(i)], span.from,
             span.to < 0 ? last : span.to);
    }
    const PeriodLimits limits = forecaster.limits();
    band(TimelineRow::Periods, 1, forecaster.periodNumbers()[0], 0, limits.a);
    band(TimelineRow::Periods, 2, forecaster.periodNumbers()[1], limits.a + 1, limits.b);
    band(TimelineRow::Periods, 3, forecaster.periodNumbers()[2], limits.b + 1, last);

    // Essence and personal year change only with the calendar year.
    ResultState state;
    for (int age = 0; age <= last; ++age) {
        const ReadingValues essence = computeEssence(forecaster.on(QDate(timeline.birthYear + age, 1, 1)), state);
        band(TimelineRow::Essence, 0, essence.number(u"essence"), age, age);
    }
    for (int age = std::max(0, timeline.todayAge); age <= last; ++age) {
        const ReadingValues year =
            computePersonalYear(forecaster.on(QDate(timeline.birthYear + age, 1, 1)), state);
        band(TimelineRow::PersonalYears, 0, year.number(u"personalYear"), age, age);
    }
    return timeline;
}

ReadingSection bandReading(const ReadingInputs &subject, const TimelineBand &band)
{
    ResultState state;
    ReadingInputs inputs = subject;
    inputs.today = QDate(band.fromYear, 1, 1);
    const qsizetype index = band.position - 1;
    switch (band.row) {
    case TimelineRow::Pinnacles:
        return redHeadingSections(composePinnacles(computePinnacles(inputs, state), OutputMode::Display).text)
            .value(index);
    case TimelineRow::Challenges:
        return redHeadingSections(composeChallenges(computeChallenges(inputs, state), OutputMode::Display).text)
            .value(index);
    case TimelineRow::Periods:
        return redHeadingSections(
                   composeLifePathPeriods(computeLifePathPeriods(inputs, state), OutputMode::Display).text)
            .value(index);
    case TimelineRow::Essence:
        return numberReadingSection(composeEssence(computeEssence(inputs, state), OutputMode::Display).text,
                                    u"essence");
    case TimelineRow::PersonalYears:
        return numberReadingSection(
            composePersonalYear(computePersonalYear(inputs, state), OutputMode::Display).text, u"personalYear");
    }
    return {};
}

QString bandDescription(const TimelineBand &band)
{
    QString what;
    switch (band.row) {
    case TimelineRow::Pinnacles:
        what = u"%1 pinnacle %2"_s.arg(kOrdinals[band.position - 1]).arg(band.number);
        break;
    case TimelineRow::Challenges:
        what = u"%1 challenge %2"_s.arg(kOrdinals[band.position - 1]).arg(band.number);
        break;
    case TimelineRow::Periods:
        what = u"Life path period %1: %2"_s.arg(band.position).arg(band.number);
        break;
    case TimelineRow::Essence:
        what = u"Essence %1"_s.arg(band.number);
        break;
    case TimelineRow::PersonalYears:
        what = u"Personal year %1"_s.arg(band.number);
        break;
    }
    if (band.fromAge == band.toAge)
        return u"%1: age %2, %3"_s.arg(what).arg(band.fromAge).arg(band.fromYear);
    return u"%1: ages %2 to %3, %4 to %5"_s.arg(what)
        .arg(band.fromAge)
        .arg(band.toAge)
        .arg(band.fromYear)
        .arg(band.toYear);
}

} // namespace numpro
