#include "numpro/forecast/forecast.h"

#include "common/jsonwriter.h"
#include "common/numerology.h"
#include "numpro/forecast/readingsections.h"
#include "numpro/readings/personalreadings.h"
#include "numpro/readings/resultstate.h"
#include "numpro/readings/texttable.h"

#include <QHash>
#include <QJsonArray>
#include <QLocale>

#include <optional>

using namespace Qt::StringLiterals;
using richtext::crlf;

namespace numpro {

namespace {

template <std::size_t N>
std::array<qint16, N> numbersOf(const ReadingValues &values, QStringView key)
{
    const QJsonArray list = values.value(key).toArray();
    std::array<qint16, N> numbers{};
    for (std::size_t i = 0; i < N; ++i)
        numbers[i] = qint16(list.at(qsizetype(i)).toInt());
    return numbers;
}

void writeInForce(kestrava::JsonWriter &json, const char *key, const InForce &inForce)
{
    json.key(key).beginObject().key("position").value(inForce.position).key("number").value(inForce.number).endObject();
}

// The fixed texts of the forecast document.
constexpr QStringView kDocumentTitle = u"Forecast";
constexpr QStringView kRangeHeading = u"Forecast from %1 to %2";
constexpr QStringView kOneYearHeading = u"Forecast for %1";
constexpr QStringView kNameLine = u"Name: ";
constexpr QStringView kBirthLine = u"Date of Birth: ";
constexpr QStringView kYearHeading = u"The year %1, age %2";
constexpr QStringView kTransitsLine = u"Transits of first, middle and last name: %1, %2, %3";
constexpr QStringView kMonthsHeading = u"Personal months of %1";
constexpr QStringView kBeforeBirth =
    u"This year lies before the year of birth: no pinnacle, challenge or life path period is in force yet, and no "
    u"letter of the name has begun its transit.";
constexpr QStringView kBeforeBirthHeading = u"Before the year of birth";
constexpr QStringView kYearsBeforeBirth = u"The years %1 to %2 lie before the year of birth";
constexpr QStringView kOneYearBeforeBirth = u"The year %1 lies before the year of birth";
constexpr QStringView kBeforeBirthNote =
    u": no pinnacle, challenge or life path period is in force yet, and no letter of the name has begun its "
    u"transit; the readings begin with the year of birth, %1.";
constexpr QStringView kGivenBefore = u"Its meaning is given under %1 above.";
constexpr QStringView kCompactMonth = u"%1: %2 %3";

void appendSection(richtext::Composition &c, const ReadingSection &section, richtext::Rgb colour)
{
    c.bold(true).colour(colour).append(section.heading + crlf());
    c.bold(false).append(section.paragraph + crlf(2));
}

// Where in a section each interpretation paragraph was given, so that a
// number met again points back to it instead of repeating it.
class GivenParagraphs
{
public:
    // Where the paragraph was given, or nothing when it is new.
    std::optional<QString> where(const QString &paragraph) const
    {
        const auto found = m_where.constFind(paragraph);
        return found == m_where.cend() ? std::nullopt : std::optional<QString>(*found);
    }
    void give(const QString &paragraph, const QString &where) { m_where.insert(paragraph, where); }

    // The section's heading, then its paragraph where it is new, else the
    // pointer to where it was given.  `lead` follows the heading (the
    // essence's transits).
    void append(richtext::Composition &c, const ReadingSection &section, richtext::Rgb colour, const QString &where,
                const QString &lead = {})
    {
        c.bold(true).colour(colour).append(section.heading + crlf());
        c.bold(false);
        if (!lead.isEmpty())
            c.append(lead + crlf());
        if (section.paragraph.isEmpty()) {
            c.append(crlf());
            return;
        }
        if (const std::optional<QString> given = this->where(section.paragraph)) {
            c.append(kGivenBefore.toString().arg(*given) + crlf(2));
            return;
        }
        give(section.paragraph, where);
        c.append(section.paragraph + crlf(2));
    }

private:
    QHash<QString, QString> m_where;
};

} // namespace

Forecaster::Forecaster(const ReadingInputs &subject)
    : m_subject(subject)
{
    ResultState state;
    m_birthYear = kestrava::trimBlanks(subject.year).toInt();
    m_pinnacles = numbersOf<4>(computePinnacles(subject, state), u"pinnacles");
    m_challenges = numbersOf<4>(computeChallenges(subject, state), u"challenges");
    m_spans = pinnacleSpans(m_pinnacles[0]);
    const ReadingValues periods = computeLifePathPeriods(subject, state);
    m_periodLifePath = periods.number(u"periodLifePath");
    m_limits = periodLimits(m_periodLifePath);
    m_periodNumbers = numbersOf<3>(periods, u"periodNumbers");
}

ReadingInputs Forecaster::on(QDate date) const
{
    ReadingInputs inputs = m_subject;
    inputs.today = date;
    return inputs;
}

int Forecaster::positionAt(int age) const
{
    if (age < 0)
        return 0;
    for (int i = 0; i < 3; ++i) {
        if (age <= m_spans[std::size_t(i)].to)
            return i + 1;
    }
    return 4;
}

InForce Forecaster::pinnacleAt(int age) const
{
    const int position = positionAt(age);
    return position == 0 ? InForce{} : InForce{qint16(position), m_pinnacles[std::size_t(position - 1)]};
}

InForce Forecaster::challengeAt(int age) const
{
    const int position = positionAt(age);
    return position == 0 ? InForce{} : InForce{qint16(position), m_challenges[std::size_t(position - 1)]};
}

Forecaster::YearValues Forecaster::yearValues(int year) const
{
    // These readings read only the year of today.
    ResultState state;
    const ReadingInputs inputs = on(QDate(year, 1, 1));
    const ReadingValues periods = computeLifePathPeriods(inputs, state);
    const ReadingValues essence = computeEssence(inputs, state);
    YearValues values;
    values.year = year;
    values.age = periods.value(u"age").toInt();
    values.personalYear = computePersonalYear(inputs, state).number(u"personalYear");
    values.essence = essence.number(u"essence");
    values.transits = numbersOf<3>(essence, u"transits");
    values.currentPeriod = periods.number(u"currentPeriod");
    return values;
}

qint16 Forecaster::personalMonth(QDate date) const
{
    ResultState state;
    return computePersonalMonth(on(date), state).number(u"personalMonth");
}

qint16 Forecaster::personalDay(QDate date) const
{
    ResultState state;
    return computePersonalDay(on(date), state).number(u"personalDay");
}

ForecastPoint Forecaster::point(const YearValues &year, qint16 month, QDate date) const
{
    ForecastPoint p;
    p.date = date;
    p.age = year.age;
    p.personalYear = year.personalYear;
    p.personalMonth = month;
    p.essence = year.essence;
    p.transits = year.transits;
    p.currentPeriod = year.currentPeriod;
    p.pinnacle = pinnacleAt(year.age);
    p.challenge = challengeAt(year.age);
    return p;
}

ForecastPoint Forecaster::at(QDate date) const
{
    ForecastPoint p = point(yearValues(date.year()), personalMonth(date), date);
    p.personalDay = personalDay(date);
    return p;
}

void Forecaster::forEachDay(QDate from, QDate to, const std::function<void(const ForecastPoint &)> &visit) const
{
    if (!from.isValid() || !to.isValid())
        return;
    ResultState state;
    ReadingInputs inputs = m_subject;
    YearValues year;
    int month = 0;
    ForecastPoint p;
    for (QDate date = from; date <= to; date = date.addDays(1)) {
        inputs.today = date;
        if (date.year() != year.year || date.month() != month) {
            if (date.year() != year.year)
                year = yearValues(date.year());
            month = date.month();
            p = point(year, computePersonalMonth(inputs, state).number(u"personalMonth"), date);
        }
        p.date = date;
        p.personalDay = computePersonalDay(inputs, state).number(u"personalDay");
        visit(p);
    }
}

QList<ForecastPoint> Forecaster::days(QDate from, QDate to) const
{
    QList<ForecastPoint> points;
    if (from.isValid() && to.isValid() && from <= to)
        points.reserve(from.daysTo(to) + 1);
    forEachDay(from, to, [&points](const ForecastPoint &p) { points.append(p); });
    return points;
}

ForecastPoint forecastAt(const ReadingInputs &subject, QDate date)
{
    return Forecaster(subject).at(date);
}

QByteArray forecastJson(const ForecastPoint &point)
{
    std::string out;
    out.reserve(224);
    {
        kestrava::JsonWriter json(out);
        json.beginObject()
            .key("date").value(point.date.toString(Qt::ISODate))
            .key("age").value(point.age)
            .key("personalYear").value(point.personalYear)
            .key("personalMonth").value(point.personalMonth)
            .key("personalDay").value(point.personalDay)
            .key("essence").value(point.essence)
            .key("transits").beginArray();
        for (const auto transit : point.transits)
            json.value(int(transit));
        json.endArray()
            .key("currentPeriod").value(point.currentPeriod);
        writeInForce(json, "pinnacle", point.pinnacle);
        writeInForce(json, "challenge", point.challenge);
        json.endObject();
    }
    return QByteArray(out.data(), qsizetype(out.size()));
}

QList<richtext::Composition> forecastDocument(const ReadingInputs &subject, int firstYear, int lastYear)
{
    const Forecaster forecaster(subject);
    ResultState state;
    // The sections of the readings that do not change with the date.
    const QList<ReadingSection> pinnacles =
        redHeadingSections(composePinnacles(computePinnacles(subject, state), OutputMode::Display).text);
    const QList<ReadingSection> challenges =
        redHeadingSections(composeChallenges(computeChallenges(subject, state), OutputMode::Display).text);

    QList<richtext::Composition> document;
    richtext::Composition header;
    header.setTitle(kDocumentTitle.toString());
    header.bold(true).colour(richtext::kDarkCyan).size(14)
        .append((firstYear == lastYear ? kOneYearHeading.toString().arg(firstYear)
                                       : kRangeHeading.toString().arg(firstYear).arg(lastYear))
                + crlf(2));
    header.size(0).append(kNameLine.toString() + subject.firstName + u' ' + subject.middleName + u' ' + subject.lastName
                          + crlf() + kBirthLine.toString() + subject.month + u' ' + subject.day + u", "_s + subject.year + crlf(3));
    document.append(header);

    for (int year = firstYear; year <= lastYear; ++year) {
        const ForecastPoint point = forecaster.at(QDate(year, 1, 1));
        const ReadingInputs inputs = forecaster.on(QDate(year, 1, 1));
        richtext::Composition c;
        c.setTitle(QString::number(year));
        c.bold(true).colour(richtext::kDarkCyan).size(12)
            .append(kYearHeading.toString().arg(year).arg(point.age) + crlf(2));
        c.size(0);

        const ReadingValues personalYear = computePersonalYear(inputs, state);
        appendSection(c,
                      numberReadingSection(composePersonalYear(personalYear, OutputMode::Display).text,
                                           u"personalYear"),
                      richtext::kDarkCyan);

        if (point.age < 0) {
            c.bold(false).colour(richtext::kDarkRed).append(kBeforeBirth.toString() + crlf(2));
        } else {
            const ReadingValues essence = computeEssence(inputs, state);
            const ReadingSection essenceSection =
                numberReadingSection(composeEssence(essence, OutputMode::Display).text, u"essence");
            c.bold(true).colour(richtext::kDarkCyan).append(essenceSection.heading + crlf());
            c.bold(false).append(kTransitsLine.toString()
                                     .arg(point.transits[0])
                                     .arg(point.transits[1])
                                     .arg(point.transits[2])
                                 + crlf());
            c.append(essenceSection.paragraph + crlf(2));

            appendSection(c, pinnacles.value(point.pinnacle.position - 1), richtext::kDarkRed);
            appendSection(c, challenges.value(point.challenge.position - 1), richtext::kDarkRed);
            const QList<ReadingSection> periods = redHeadingSections(
                composeLifePathPeriods(computeLifePathPeriods(inputs, state), OutputMode::Display).text);
            appendSection(c, periods.value(point.currentPeriod - 1), richtext::kDarkRed);
        }

        c.bold(true).colour(richtext::kDarkCyan).append(kMonthsHeading.toString().arg(year) + crlf(2));
        const QLocale english(QLocale::English);
        for (int month = 1; month <= 12; ++month) {
            const ReadingValues values = computePersonalMonth(forecaster.on(QDate(year, month, 1)), state);
            ReadingSection section =
                numberReadingSection(composePersonalMonth(values, OutputMode::Display).text, u"personalMonth");
            section.heading = english.standaloneMonthName(month) + u": "_s + section.heading;
            appendSection(c, section, richtext::kDarkCyan);
        }
        document.append(c);
    }
    return document;
}

QList<richtext::Composition> forecastSection(const ReadingInputs &subject, int firstYear, int lastYear)
{
    if (firstYear > lastYear)
        return {};
    const Forecaster forecaster(subject);
    ResultState state;
    // The sections of the readings that do not change with the date: the
    // period headings name their own ages, whatever today is.
    const QList<ReadingSection> pinnacles =
        redHeadingSections(composePinnacles(computePinnacles(subject, state), OutputMode::Display).text);
    const QList<ReadingSection> challenges =
        redHeadingSections(composeChallenges(computeChallenges(subject, state), OutputMode::Display).text);
    const QList<ReadingSection> periods = redHeadingSections(
        composeLifePathPeriods(computeLifePathPeriods(subject, state), OutputMode::Display).text);
    const QString monthCaption = readingTexts(u"personalMonth").caption;
    const QLocale english(QLocale::English);

    QList<richtext::Composition> section;
    GivenParagraphs given;
    // The pinnacle (and with it the challenge) and the period read so far.
    qint16 positionRead = 0;
    qint16 periodRead = 0;

    int year = firstYear;
    const int birthYear = forecaster.birthYear();
    if (year < birthYear) {
        // Nothing of the person is in force yet: one note for all those years.
        const int lastBefore = std::min(lastYear, birthYear - 1);
        richtext::Composition c;
        c.setTitle(kBeforeBirthHeading.toString());
        c.bold(false).colour(richtext::kDarkRed)
            .append((year == lastBefore ? kOneYearBeforeBirth.toString().arg(year)
                                        : kYearsBeforeBirth.toString().arg(year).arg(lastBefore))
                    + kBeforeBirthNote.toString().arg(birthYear) + crlf(2));
        section.append(c);
        year = lastBefore + 1;
    }

    for (; year <= lastYear; ++year) {
        const QDate january(year, 1, 1);
        const ForecastPoint point = forecaster.at(january);
        const ReadingInputs inputs = forecaster.on(january);
        const QString yearName = QString::number(year);
        richtext::Composition c;
        c.setTitle(yearName);
        c.bold(true).colour(richtext::kDarkCyan).size(12)
            .append(kYearHeading.toString().arg(year).arg(point.age) + crlf(2));
        c.size(0);

        given.append(c,
                     numberReadingSection(composePersonalYear(computePersonalYear(inputs, state), OutputMode::Display)
                                              .text,
                                          u"personalYear"),
                     richtext::kDarkCyan, yearName);
        given.append(c,
                     numberReadingSection(composeEssence(computeEssence(inputs, state), OutputMode::Display).text,
                                          u"essence"),
                     richtext::kDarkCyan, yearName,
                     kTransitsLine.toString().arg(point.transits[0]).arg(point.transits[1]).arg(point.transits[2]));

        // A pinnacle, its challenge or a period is read where it begins.
        if (point.pinnacle.position != positionRead) {
            positionRead = point.pinnacle.position;
            given.append(c, pinnacles.value(positionRead - 1), richtext::kDarkRed, yearName);
            given.append(c, challenges.value(positionRead - 1), richtext::kDarkRed, yearName);
        }
        if (point.currentPeriod != periodRead) {
            periodRead = point.currentPeriod;
            given.append(c, periods.value(periodRead - 1), richtext::kDarkRed, yearName);
        }

        c.bold(true).colour(richtext::kDarkCyan).append(kMonthsHeading.toString().arg(year) + crlf(2));
        // A month whose number was read before is one line; a run of such
        // lines ends with an empty one, as a paragraph does.
        bool inShortLines = false;
        for (int month = 1; month <= 12; ++month) {
            const QString monthName = english.standaloneMonthName(month);
            const ReadingValues values = computePersonalMonth(forecaster.on(QDate(year, month, 1)), state);
            const ReadingSection reading =
                numberReadingSection(composePersonalMonth(values, OutputMode::Display).text, u"personalMonth");
            if (given.where(reading.paragraph)) {
                c.bold(false).colour(richtext::kDarkCyan)
                    .append(kCompactMonth.toString().arg(monthName, monthCaption).arg(values.number(u"personalMonth"))
                            + crlf());
                inShortLines = true;
                continue;
            }
            if (inShortLines)
                c.append(crlf());
            inShortLines = false;
            given.append(c, {monthName + u": "_s + reading.heading, reading.paragraph}, richtext::kDarkCyan,
                         monthName + u' ' + yearName);
        }
        if (inShortLines)
            c.append(crlf());
        section.append(c);
    }
    return section;
}

} // namespace numpro
