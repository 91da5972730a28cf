#include "numpro/forecast/forecast.h"
#include "numpro/forecast/lifetimeline.h"
#include "numpro/forecast/readingsections.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/texttable.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace numpro;

namespace {

ReadingInputs person(const QString &first, const QString &middle, const QString &last, const QString &month,
                     const QString &day, const QString &year)
{
    return {first, middle, last, month, day, year, QDate()};
}

// Subjects whose birth dates reach the cases that matter: a 29 February
// birth, master numbers among the pinnacles (first pinnacle 11 and 22), a
// period life path of 11, names without a middle name or without letters.
const ReadingInputs kSubjects[] = {
    person(u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s),
    person(u"JOHN"_s, u""_s, u"DOE"_s, u"February"_s, u"29"_s, u"1984"_s),
    person(u"LYNN"_s, u""_s, u"WYNN"_s, u"September"_s, u"20"_s, u"1991"_s),  // P1 11
    person(u"ANNA"_s, u"LEE"_s, u"BROWN"_s, u"February"_s, u"20"_s, u"1976"_s), // P1 22
    person(u"PETER"_s, u"JAMES"_s, u"GARCIA"_s, u"September"_s, u"29"_s, u"1998"_s), // L 11
    person(u"susan"_s, u""_s, u"johnson"_s, u"December"_s, u"31"_s, u"1900"_s), // no valued letters
    person(u" ROBERT "_s, u"  "_s, u"FRY"_s, u"January"_s, u"1"_s, u"2050"_s), // born after most dates
};

// Dates around birthdays, 29 February in leap and other years, the turn of
// a year, childhood, old age and the years before a birth.
const QDate kDates[] = {
    QDate(2024, 3, 7),   QDate(2025, 2, 28), QDate(2025, 3, 1),  QDate(2024, 2, 29), QDate(2023, 12, 31),
    QDate(2024, 1, 1),   QDate(2026, 8, 6),  QDate(2026, 8, 5),  QDate(1990, 6, 15), QDate(1985, 1, 1),
    QDate(2044, 11, 29), QDate(2060, 7, 4),  QDate(2079, 12, 31), QDate(1950, 5, 5), QDate(2100, 1, 1),
    QDate(1999, 9, 20),  QDate(2050, 1, 1),
};

// The age spans of the composed pinnacle headings, read from their text.
struct Span
{
    int from;
    int to; // -1: and beyond
};

std::array<Span, 4> headingSpans(const ReadingInputs &subject)
{
    ResultState state;
    const Reading *pinnacles = findReading(u"pinnacles");
    const QList<ReadingSection> sections =
        redHeadingSections(runReading(*pinnacles, subject, state, OutputMode::Display).text);
    static const QRegularExpression range(u"from age (\\d+)-(\\d+)"_s);
    static const QRegularExpression beyond(u"from age (\\d+) & beyond"_s);
    std::array<Span, 4> spans{};
    for (int i = 0; i < 4; ++i) {
        const QString heading = sections.value(i).heading;
        if (const QRegularExpressionMatch m = range.match(heading); m.hasMatch())
            spans[std::size_t(i)] = {m.captured(1).toInt(), m.captured(2).toInt()};
        else if (const QRegularExpressionMatch b = beyond.match(heading); b.hasMatch())
            spans[std::size_t(i)] = {b.captured(1).toInt(), -1};
        else
            ADD_FAILURE() << "no age span in " << heading.toStdString();
    }
    return spans;
}

// The position whose heading names the age, or 0 before birth.
int headingPosition(const std::array<Span, 4> &spans, int age)
{
    if (age < 0)
        return 0;
    for (int i = 0; i < 4; ++i) {
        if (age >= spans[std::size_t(i)].from && (spans[std::size_t(i)].to < 0 || age <= spans[std::size_t(i)].to))
            return i + 1;
    }
    return -1;
}

// The whole reading list computed with the date as today, as JSON.
QJsonObject readingsOn(const ReadingInputs &subject, QDate date)
{
    ReadingInputs inputs = subject;
    inputs.today = date;
    ResultState state;
    computeAllReadings(inputs, state);
    return valuesToJson(state);
}

} // namespace

TEST(Forecast, EveryValueIsWhatTheReadingSaysOnThatDate)
{
    for (const ReadingInputs &subject : kSubjects) {
        const Forecaster forecaster(subject);
        const std::array<Span, 4> spans = headingSpans(subject);
        for (QDate date : kDates) {
            SCOPED_TRACE(subject.firstName.toStdString() + " " + subject.day.toStdString() + " "
                         + subject.month.toStdString() + " " + subject.year.toStdString() + " on "
                         + date.toString(Qt::ISODate).toStdString());
            const QJsonObject readings = readingsOn(subject, date);
            const ForecastPoint point = forecastAt(subject, date);
            EXPECT_EQ(point, forecaster.at(date));
            EXPECT_EQ(point.date, date);
            EXPECT_EQ(point.age, readings.value(u"age").toInt());
            EXPECT_EQ(point.personalYear, readings.value(u"personalYear").toInt());
            EXPECT_EQ(point.personalMonth, readings.value(u"personalMonth").toInt());
            EXPECT_EQ(point.personalDay, readings.value(u"personalDay").toInt());
            EXPECT_EQ(point.essence, readings.value(u"essence").toInt());
            const QJsonArray transits = readings.value(u"transits").toArray();
            EXPECT_EQ(QJsonArray({point.transits[0], point.transits[1], point.transits[2]}), transits);
            EXPECT_EQ(point.currentPeriod, readings.value(u"currentPeriod").toInt());

            // In force: the position whose composed heading names the age.
            const int position = headingPosition(spans, point.age);
            const QJsonArray pinnacles = readings.value(u"pinnacles").toArray();
            const QJsonArray challenges = readings.value(u"challenges").toArray();
            EXPECT_EQ(point.pinnacle.position, position);
            EXPECT_EQ(point.challenge.position, position);
            EXPECT_EQ(point.pinnacle.number, position > 0 ? pinnacles.at(position - 1).toInt() : 0);
            EXPECT_EQ(point.challenge.number, position > 0 ? challenges.at(position - 1).toInt() : 0);
        }
    }
}

TEST(Forecast, ADailyRangeGivesWhatEachDateGivesAlone)
{
    // Across a 29 February, two turns of a year and a birthday.
    for (const ReadingInputs &subject : {kSubjects[1], kSubjects[4]}) {
        const Forecaster forecaster(subject);
        const QList<ForecastPoint> days = forecaster.days(QDate(2023, 12, 20), QDate(2025, 1, 10));
        ASSERT_EQ(days.size(), QDate(2023, 12, 20).daysTo(QDate(2025, 1, 10)) + 1);
        for (const ForecastPoint &day : days) {
            SCOPED_TRACE(day.date.toString(Qt::ISODate).toStdString());
            EXPECT_EQ(day, forecastAt(subject, day.date));
        }
    }
    EXPECT_TRUE(Forecaster(kSubjects[0]).days(QDate(2024, 5, 2), QDate(2024, 5, 1)).isEmpty());
}

TEST(Forecast, PinnaclesAndChallengesChangeWhereTheHeadingsJoin)
{
    // First pinnacle 2 (15 May 1986): 0-34, 35-43, 44-52, 53 on.  The age is
    // the calendar year's, so the change comes on 1 January, not the birthday.
    const ReadingInputs subject = person(u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"May"_s, u"15"_s, u"1986"_s);
    const struct
    {
        QDate date;
        InForce pinnacle;
        InForce challenge;
    } rows[] = {
        {QDate(1985, 12, 31), {0, 0}, {0, 0}},
        {QDate(1986, 1, 1), {1, 2}, {1, 1}},
        {QDate(2020, 12, 31), {1, 2}, {1, 1}},
        {QDate(2021, 1, 1), {2, 3}, {2, 0}},
        {QDate(2029, 12, 31), {2, 3}, {2, 0}},
        {QDate(2030, 1, 1), {3, 5}, {3, 1}},
        {QDate(2039, 1, 1), {4, 2}, {4, 1}},
        {QDate(2120, 6, 1), {4, 2}, {4, 1}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.date.toString(Qt::ISODate).toStdString());
        const ForecastPoint point = forecastAt(subject, row.date);
        EXPECT_EQ(point.pinnacle, row.pinnacle);
        EXPECT_EQ(point.challenge, row.challenge);
    }
}

TEST(Forecast, JsonLineHoldsEveryValue)
{
    const ForecastPoint point = forecastAt(kSubjects[0], QDate(2026, 8, 6));
    const QByteArray line = forecastJson(point);
    EXPECT_FALSE(line.contains('\n'));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    const QStringList keys = {u"date"_s,         u"age"_s,           u"personalYear"_s, u"personalMonth"_s,
                              u"personalDay"_s,  u"essence"_s,       u"transits"_s,     u"currentPeriod"_s,
                              u"pinnacle"_s,     u"challenge"_s};
    QStringList sorted = keys;
    sorted.sort();
    EXPECT_EQ(object.keys(), sorted);
    EXPECT_EQ(object.value(u"date").toString(), u"2026-08-06"_s);
    EXPECT_EQ(object.value(u"age").toInt(), 47);
    EXPECT_EQ(object.value(u"personalDay").toInt(), point.personalDay);
    EXPECT_EQ(object.value(u"transits").toArray(),
              QJsonArray({point.transits[0], point.transits[1], point.transits[2]}));
    EXPECT_EQ(object.value(u"pinnacle").toObject(),
              QJsonObject({{u"position"_s, point.pinnacle.position}, {u"number"_s, point.pinnacle.number}}));
    EXPECT_EQ(object.value(u"challenge").toObject(),
              QJsonObject({{u"position"_s, point.challenge.position}, {u"number"_s, point.challenge.number}}));
}

TEST(Forecast, DocumentQuotesTheReadingsForEachYear)
{
    const ReadingInputs subject = kSubjects[0];
    const QList<richtext::Composition> document = forecastDocument(subject, 2026, 2028);
    ASSERT_EQ(document.size(), 4);
    EXPECT_TRUE(document[0].plainText().contains(u"Forecast from 2026 to 2028"_s));
    EXPECT_TRUE(document[0].plainText().contains(u"Name: MARY ANN SMITH"_s));
    for (int year = 2026; year <= 2028; ++year) {
        SCOPED_TRACE(year);
        const QString text = document[year - 2025].plainText();
        const ForecastPoint point = forecastAt(subject, QDate(year, 1, 1));
        EXPECT_TRUE(text.startsWith(u"The year %1, age %2"_s.arg(year).arg(point.age)));
        EXPECT_TRUE(text.contains(readingTexts(u"personalYear").heading + QString::number(point.personalYear)));
        EXPECT_TRUE(text.contains(readingTexts(u"personalYear").table.text(point.personalYear)));
        EXPECT_TRUE(text.contains(readingTexts(u"essence").table.text(point.essence)));
        EXPECT_TRUE(text.contains(u"%1, %2, %3"_s.arg(point.transits[0]).arg(point.transits[1]).arg(point.transits[2])));
        EXPECT_TRUE(text.contains(readingTexts(u"pinnacles").table.text(point.pinnacle.number)));
        EXPECT_TRUE(text.contains(readingTexts(u"challenges").table.text(point.challenge.number)));
        for (int month = 1; month <= 12; ++month) {
            const qint16 pm = forecastAt(subject, QDate(year, month, 15)).personalMonth;
            EXPECT_TRUE(text.contains(readingTexts(u"personalMonth").heading + QString::number(pm)));
        }
    }
    // A year before the birth says so instead of naming a pinnacle.
    const QString early = forecastDocument(subject, 1970, 1970).value(1).plainText();
    EXPECT_TRUE(early.contains(u"before the year of birth"_s));
    EXPECT_FALSE(early.contains(u"Pinnacle"_s));
}

namespace {

// A reading's own sections with the date as today.
QList<ReadingSection> redSections(const ReadingInputs &subject, QStringView id)
{
    ResultState state;
    return redHeadingSections(runReading(*findReading(id), subject, state, OutputMode::Display).text);
}

ReadingSection numberSection(const ReadingInputs &subject, QStringView id, QDate today)
{
    ReadingInputs inputs = subject;
    inputs.today = today;
    ResultState state;
    return numberReadingSection(runReading(*findReading(id), inputs, state, OutputMode::Display).text, id);
}

// The forecast section checked against the readings: each year gives what
// changes, each paragraph stands once, and a number met again points to the
// year whose part gives its meaning.
void checkForecastSection(const ReadingInputs &subject, int firstYear, int lastYear)
{
    const QList<richtext::Composition> section = forecastSection(subject, firstYear, lastYear);
    QString whole;
    for (const richtext::Composition &part : section)
        whole += part.plainText();
    EXPECT_FALSE(whole.contains(u"Name:"_s));
    EXPECT_FALSE(whole.contains(u"Date of Birth"_s));
    EXPECT_FALSE(whole.contains(u"Forecast"_s));
    EXPECT_FALSE(whole.contains(u"age -"_s));

    // No paragraph twice: every long line stands once.
    for (const QString &line : whole.split(u"\r\n"_s)) {
        if (line.size() > 60) {
            EXPECT_EQ(whole.count(line), 1) << line.left(80).toStdString();
        }
    }

    const Forecaster forecaster(subject);
    const int birthYear = forecaster.birthYear();
    qsizetype index = 0;
    if (firstYear < birthYear) {
        ASSERT_FALSE(section.isEmpty());
        const QString note = section[0].plainText();
        EXPECT_TRUE(note.contains(u"before the year of birth"_s)) << note.toStdString();
        EXPECT_TRUE(note.contains(QString::number(firstYear)));
        EXPECT_FALSE(note.contains(u"Pinnacle"_s));
        index = 1;
    }
    const int shownFrom = std::max(firstYear, birthYear);
    ASSERT_EQ(section.size(), index + std::max(0, lastYear - shownFrom + 1));

    QHash<QString, QString> partOfYear;
    for (qsizetype i = index; i < section.size(); ++i)
        partOfYear.insert(section[i].title(), section[i].plainText());
    // Under the reading's heading (and the transits), its paragraph, or a
    // pointer to an earlier year's part that gives it.
    const auto givesOrPoints = [&](const QString &text, int year, const ReadingSection &reading) {
        const qsizetype at = text.indexOf(reading.heading + u"\r\n"_s);
        ASSERT_GE(at, 0) << reading.heading.toStdString();
        QString after = text.mid(at + reading.heading.size() + 2);
        if (after.startsWith(u"Transits"_s))
            after = after.section(u"\r\n"_s, 1);
        if (after.startsWith(reading.paragraph + u"\r\n"_s))
            return;
        static const QRegularExpression pointer(u"^Its meaning is given under (\\d+) above\\.\r\n"_s);
        const QRegularExpressionMatch m = pointer.match(after);
        ASSERT_TRUE(m.hasMatch()) << "neither the paragraph nor a pointer under " << reading.heading.toStdString();
        EXPECT_LT(m.captured(1).toInt(), year);
        EXPECT_TRUE(partOfYear.value(m.captured(1)).contains(reading.paragraph));
    };

    const QList<ReadingSection> pinnacles = redSections(subject, u"pinnacles");
    const QList<ReadingSection> challenges = redSections(subject, u"challenges");
    const QList<ReadingSection> periods = redSections(subject, u"lifePathPeriods");
    const QLocale english(QLocale::English);
    for (int year = shownFrom; year <= lastYear; ++year, ++index) {
        SCOPED_TRACE(year);
        const QDate january(year, 1, 1);
        const ForecastPoint point = forecaster.at(january);
        const QString text = section[index].plainText();
        EXPECT_EQ(section[index].title(), QString::number(year));
        EXPECT_TRUE(text.startsWith(u"The year %1, age %2\r\n"_s.arg(year).arg(year - birthYear)));

        for (QStringView id : {u"personalYear", u"essence"}) {
            const ReadingSection reading = numberSection(subject, id, january);
            givesOrPoints(text, year, reading);
        }
        EXPECT_TRUE(text.contains(
            u"Transits of first, middle and last name: %1, %2, %3"_s.arg(point.transits[0]).arg(point.transits[1])
                .arg(point.transits[2])));

        // Pinnacle, challenge and period where they begin, and only there.
        const ForecastPoint before = forecaster.at(QDate(year - 1, 1, 1));
        const bool newPinnacle = year == shownFrom || before.pinnacle.position != point.pinnacle.position;
        const bool newPeriod = year == shownFrom || before.currentPeriod != point.currentPeriod;
        const std::pair<ReadingSection, bool> lasting[] = {
            {pinnacles.value(point.pinnacle.position - 1), newPinnacle},
            {challenges.value(point.challenge.position - 1), newPinnacle},
            {periods.value(point.currentPeriod - 1), newPeriod},
        };
        for (const auto &[reading, begins] : lasting) {
            ASSERT_FALSE(reading.heading.isEmpty());
            EXPECT_EQ(text.contains(reading.heading + u"\r\n"_s), begins) << reading.heading.toStdString();
            EXPECT_EQ(whole.count(reading.heading + u"\r\n"_s), 1) << reading.heading.toStdString();
            if (begins)
                givesOrPoints(text, year, reading);
        }

        // Twelve months, each with its meaning or, once that was given, in one line.
        for (int month = 1; month <= 12; ++month) {
            const QString name = english.standaloneMonthName(month);
            const ReadingSection reading = numberSection(subject, u"personalMonth", QDate(year, month, 1));
            const qint16 number = forecaster.at(QDate(year, month, 1)).personalMonth;
            const QString full = name + u": "_s + reading.heading + u"\r\n"_s + reading.paragraph + u"\r\n"_s;
            const QString line = u"\r\n%1: Personal Month %2\r\n"_s.arg(name).arg(number);
            EXPECT_NE(text.contains(full), text.contains(line)) << name.toStdString();
            if (text.contains(line)) {
                EXPECT_LT(whole.indexOf(reading.paragraph), whole.indexOf(text) + text.indexOf(line))
                    << name.toStdString();
            }
        }
    }
}

} // namespace

TEST(ForecastSection, EachYearGivesWhatChangesAndEachParagraphOnce)
{
    const struct
    {
        ReadingInputs subject;
        int firstYear;
        int lastYear;
    } cases[] = {
        {kSubjects[0], 2026, 2028}, // three years inside one pinnacle and period
        {kSubjects[0], 2027, 2030}, // the fourth pinnacle and challenge begin in 2029
        {kSubjects[0], 2036, 2041}, // the third period begins in 2039
        {kSubjects[0], 1975, 1981}, // from before the birth
        {kSubjects[0], 1950, 1950}, // only before the birth
        {kSubjects[3], 1990, 2030}, // long enough for every number to come again
        {kSubjects[5], 2000, 2003}, // a name without letters: the same essence text each year
        {kSubjects[6], 2049, 2052}, // born in the last year of the lists
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.subject.firstName.toStdString() + " " + std::to_string(row.firstYear) + "-"
                     + std::to_string(row.lastYear));
        checkForecastSection(row.subject, row.firstYear, row.lastYear);
    }
    EXPECT_TRUE(forecastSection(kSubjects[0], 1978, 1970).isEmpty()); // backwards, before the birth
}

TEST(ForecastSection, ANumberMetAgainKeepsItsHeadingOnly)
{
    // MARY ANN SMITH: April 2026 reads personal month 1; March 2027 is 1 again.
    const QList<richtext::Composition> section = forecastSection(kSubjects[0], 2026, 2027);
    ASSERT_EQ(section.size(), 2);
    const QString first = section[0].plainText();
    const QString second = section[1].plainText();
    const QString one = readingTexts(u"personalMonth").table.text(1);
    EXPECT_TRUE(first.contains(u"April: Your Personal Month Number is: 1\r\n"_s + one));
    EXPECT_TRUE(second.contains(u"\r\nMarch: Personal Month 1\r\n"_s));
    EXPECT_FALSE(second.contains(one));
    // October 2026 repeats January's 7 within the year.
    EXPECT_TRUE(first.contains(u"\r\nOctober: Personal Month 7\r\nNovember: Personal Month 8\r\n"_s));

    // Nine years on, the personal year comes again and points back.
    const QList<richtext::Composition> decade = forecastSection(kSubjects[0], 2026, 2035);
    const QString repeated = decade.last().plainText();
    EXPECT_TRUE(repeated.contains(u"Your Personal Year is: 6\r\nIts meaning is given under 2026 above.\r\n"_s))
        << repeated.left(400).toStdString();
}

TEST(ReadingSections, PickTheReadingsOwnHeadingsAndParagraphs)
{
    ReadingInputs subject = kSubjects[0];
    subject.today = QDate(2024, 3, 7);
    ResultState state;
    const Reading *pinnacles = findReading(u"pinnacles");
    const QList<ReadingSection> sections =
        redHeadingSections(runReading(*pinnacles, subject, state, OutputMode::Display).text);
    ASSERT_EQ(sections.size(), 4);
    const QJsonArray numbers = state.values(u"pinnacles")->value(u"pinnacles").toArray();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(sections[i].heading.endsWith(QString::number(numbers.at(i).toInt())));
        // The last one too is the paragraph alone, without the credit line after it.
        EXPECT_EQ(sections[i].paragraph, readingTexts(u"pinnacles").table.text(numbers.at(i).toInt()));
    }

    const Reading *year = findReading(u"personalYear");
    const ReadingSection section =
        numberReadingSection(runReading(*year, subject, state, OutputMode::Display).text, u"personalYear");
    const int py = state.values(u"personalYear")->number(u"personalYear");
    EXPECT_EQ(section.heading, readingTexts(u"personalYear").heading + QString::number(py));
    EXPECT_EQ(section.paragraph, readingTexts(u"personalYear").table.text(py));
}

TEST(LifeTimeline, EachRowCoversEveryAgeOnce)
{
    for (const ReadingInputs &base : kSubjects) {
        ReadingInputs subject = base;
        subject.today = QDate(2026, 12, 11);
        SCOPED_TRACE(subject.firstName.toStdString() + " " + subject.year.toStdString());
        const LifeTimeline timeline = lifeTimeline(subject);
        EXPECT_EQ(timeline.lastAge, std::max(90, timeline.todayAge));
        for (TimelineRow row : {TimelineRow::Pinnacles, TimelineRow::Challenges, TimelineRow::Periods,
                                TimelineRow::Essence}) {
            SCOPED_TRACE(timelineRowName(row).toStdString());
            int next = 0;
            for (const TimelineBand &band : timeline.row(row)) {
                EXPECT_EQ(band.fromAge, next);
                EXPECT_LE(band.fromAge, band.toAge);
                EXPECT_EQ(band.fromYear, timeline.birthYear + band.fromAge);
                EXPECT_EQ(band.toYear, timeline.birthYear + band.toAge);
                next = band.toAge + 1;
            }
            EXPECT_EQ(next, timeline.lastAge + 1);
        }
        // Bands and the forecast agree at every age.
        const Forecaster forecaster(subject);
        for (const TimelineBand &band : timeline.bands) {
            for (int age = band.fromAge; age <= band.toAge; ++age) {
                const ForecastPoint point = forecaster.at(QDate(timeline.birthYear + age, 6, 1));
                switch (band.row) {
                case TimelineRow::Pinnacles: EXPECT_EQ(point.pinnacle, (InForce{qint16(band.position), band.number})); break;
                case TimelineRow::Challenges: EXPECT_EQ(point.challenge, (InForce{qint16(band.position), band.number})); break;
                case TimelineRow::Periods: EXPECT_EQ(point.currentPeriod, band.position); break;
                case TimelineRow::Essence: EXPECT_EQ(point.essence, band.number); break;
                case TimelineRow::PersonalYears: EXPECT_EQ(point.personalYear, band.number); break;
                }
            }
        }
        // Personal years: one a year from today's year to the end of the axis.
        const QList<TimelineBand> years = timeline.row(TimelineRow::PersonalYears);
        ASSERT_FALSE(years.isEmpty());
        EXPECT_EQ(years.first().fromYear, std::max(2026, timeline.birthYear));
        EXPECT_EQ(years.last().toAge, timeline.lastAge);
    }
}

TEST(LifeTimeline, AxisReachesBeyondNinetyForTheOld)
{
    ReadingInputs subject = kSubjects[5]; // born 1900
    subject.today = QDate(2026, 1, 1);
    const LifeTimeline timeline = lifeTimeline(subject);
    EXPECT_EQ(timeline.todayAge, 126);
    EXPECT_EQ(timeline.lastAge, 126);
    EXPECT_EQ(timeline.row(TimelineRow::PersonalYears).size(), 1);
}

TEST(LifeTimeline, BandReadingIsTheReadingsOwnSection)
{
    ReadingInputs subject = kSubjects[0];
    subject.today = QDate(2026, 12, 11);
    const LifeTimeline timeline = lifeTimeline(subject);
    const TimelineBand third = timeline.row(TimelineRow::Pinnacles).at(2);
    const ReadingSection pinnacle = bandReading(subject, third);
    EXPECT_TRUE(pinnacle.heading.startsWith(u"Third Pinnacle"_s));
    EXPECT_TRUE(pinnacle.heading.endsWith(QString::number(third.number)));

    const TimelineBand challenge = timeline.row(TimelineRow::Challenges).at(1);
    EXPECT_EQ(bandReading(subject, challenge).paragraph, readingTexts(u"challenges").table.text(challenge.number));

    const TimelineBand essence = timeline.row(TimelineRow::Essence).at(40);
    const ReadingSection essenceReading = bandReading(subject, essence);
    EXPECT_EQ(essenceReading.heading, readingTexts(u"essence").heading + QString::number(essence.number));
    EXPECT_EQ(essenceReading.paragraph, readingTexts(u"essence").table.text(essence.number));

    const TimelineBand year = timeline.row(TimelineRow::PersonalYears).first();
    EXPECT_EQ(bandReading(subject, year).paragraph, readingTexts(u"personalYear").table.text(year.number));

    const TimelineBand period = timeline.row(TimelineRow::Periods).at(1);
    EXPECT_TRUE(bandReading(subject, period).heading.startsWith(u"Life Path Period 2"_s));
    EXPECT_EQ(bandDescription(third), u"Third pinnacle %1: ages %2 to %3, %4 to %5"_s.arg(third.number)
                                          .arg(third.fromAge).arg(third.toAge).arg(third.fromYear).arg(third.toYear));
}
