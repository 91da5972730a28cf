#pragma once

#include "numpro/readings/periodreadings.h"
#include "numpro/readings/pinnaclereadings.h"
#include "numpro/readings/readinginputs.h"
#include "richtext/composition.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <array>
#include <functional>

// The forecast: the readings that depend on today's date, each computed with
// another date as today, and the pinnacle, challenge and life path period in
// force then.
namespace numpro {

// A pinnacle or challenge in force: its position (1 to 4; 0 before the birth
// year, when none is) and its number.
struct InForce
{
    qint16 position = 0;
    qint16 number = 0;

    friend bool operator==(const InForce &, const InForce &) = default;
};

// What the readings say with `date` as today.  The age is the readings' own:
// the age reached in the date's calendar year.
struct ForecastPoint
{
    QDate date;
    int age = 0;
    qint16 personalYear = 0;
    qint16 personalMonth = 0;
    qint16 personalDay = 0;
    qint16 essence = 0;
    std::array<qint16, 3> transits{}; // first, middle, last name
    qint16 currentPeriod = 0;
    InForce pinnacle;
    InForce challenge;

    friend bool operator==(const ForecastPoint &, const ForecastPoint &) = default;
};

// One subject's forecast.  The values that do not change with the date (the
// pinnacles, challenges, life path periods and their ages) are computed once
// here; the readings that do are computed for each date as it comes.
class Forecaster
{
public:
    // The subject's today is not used: each date takes its place.
    explicit Forecaster(const ReadingInputs &subject);

    const ReadingInputs &subject() const { return m_subject; }
    // The subject with the date as today.
    ReadingInputs on(QDate date) const;

    ForecastPoint at(QDate date) const;
    // Every day from `from` to `to` inclusive, in order, computing each
    // year's and each month's readings once.
    void forEachDay(QDate from, QDate to, const std::function<void(const ForecastPoint &)> &visit) const;
    QList<ForecastPoint> days(QDate from, QDate to) const;

    // The birth year as the readings take it (the trimmed year text).
    int birthYear() const { return m_birthYear; }
    const std::array<qint16, 4> &pinnacles() const { return m_pinnacles; }
    const std::array<qint16, 4> &challenges() const { return m_challenges; }
    // The ages of the four pinnacles, which the challenges share.
    const std::array<AgeSpan, 4> &spans() const { return m_spans; }
    qint16 periodLifePath() const { return m_periodLifePath; }
    PeriodLimits limits() const { return m_limits; }
    // The numbers of periods 1, 2 and 3.
    const std::array<qint16, 3> &periodNumbers() const { return m_periodNumbers; }

    // What is in force at an age (the readings' age: this calendar year's).
    InForce pinnacleAt(int age) const;
    InForce challengeAt(int age) const;

private:
    struct YearValues
    {
        int year = 0;
        int age = 0;
        qint16 personalYear = 0;
        qint16 essence = 0;
        std::array<qint16, 3> transits{};
        qint16 currentPeriod = 0;
    };
    YearValues yearValues(int year) const;
    qint16 personalMonth(QDate date) const;
    qint16 personalDay(QDate date) const;
    int positionAt(int age) const;
    ForecastPoint point(const YearValues &year, qint16 month, QDate date) const;

    ReadingInputs m_subject;
    int m_birthYear = 0;
    std::array<qint16, 4> m_pinnacles{};
    std::array<qint16, 4> m_challenges{};
    std::array<AgeSpan, 4> m_spans{};
    qint16 m_periodLifePath = 0;
    PeriodLimits m_limits{};
    std::array<qint16, 3> m_periodNumbers{};
};

// The forecast for one date: what each reading says with that date as today.
ForecastPoint forecastAt(const ReadingInputs &subject, QDate date);

// The point as one compact JSON object (a line of the command line's output):
// date, age, personalYear, personalMonth, personalDay, essence, transits,
// currentPeriod, pinnacle and challenge ({position, number}).
QByteArray forecastJson(const ForecastPoint &point);

// The forecast document for the calendar years firstYear to lastYear: a header
// naming the subject, then for each year its personal year, essence with the
// transits, the pinnacle, challenge and life path period in force, each with
// the reading's own paragraph, and the twelve personal months.  The subject's
// today is not used.
QList<richtext::Composition> forecastDocument(const ReadingInputs &subject, int firstYear, int lastYear);

// The forecast for the calendar years firstYear to lastYear as a section of a
// document that names the subject itself (the practitioner's report): no
// header.  The pinnacle, challenge and life path period are each read once,
// in the first year of the range for those in force then and in the year it
// begins for one that begins later.  Each year gives its heading with the
// age, its personal year, its essence with the transits and its twelve
// personal months.  No paragraph is given twice: a number read before in the
// section keeps its heading and says where its meaning stands, and a month
// whose number was read before is one short line ("March: Personal Month 1").
// Years before the year of birth are one short note.  Nothing for a range
// that ends before it starts.  The subject's today is not used.
QList<richtext::Composition> forecastSection(const ReadingInputs &subject, int firstYear, int lastYear);

} // namespace numpro
