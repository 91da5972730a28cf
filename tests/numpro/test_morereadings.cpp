#include "numpro/readings/periodreadings.h"
#include "numpro/readings/pinnaclereadings.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/texttable.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace numpro;
using richtext::crlf;

namespace {

ReadingInputs subject(const QString &first, const QString &middle, const QString &last, const QString &month,
                      const QString &day, const QString &year, QDate today = QDate(2024, 3, 7))
{
    return {first, middle, last, month, day, year, today};
}

ReadingInputs maryOn(const QString &month, const QString &day, const QString &year, QDate today = QDate(2024, 3, 7))
{
    return subject(u"MARY"_s, u"ANN"_s, u"SMITH"_s, month, day, year, today);
}

// Runs one reading on a fresh state.
struct Outcome
{
    ReadingValues values;
    ReadingResult result;
};

Outcome run(QStringView id, const ReadingInputs &inputs, OutputMode mode = OutputMode::Display)
{
    ResultState state;
    const Reading *reading = findReading(id);
    EXPECT_NE(reading, nullptr);
    Outcome r;
    r.result = runReading(*reading, inputs, state, mode);
    r.values = *state.values(id);
    return r;
}

QJsonArray numbers(std::initializer_list<int> list)
{
    QJsonArray array;
    for (int n : list)
        array.append(n);
    return array;
}

QString text(const Outcome &r)
{
    return r.result.text.plainText();
}

const richtext::Run *runWith(const Outcome &r, const QString &piece)
{
    for (const richtext::Run &each : r.result.text.runs()) {
        if (each.text.contains(piece))
            return &each;
    }
    return nullptr;
}

richtext::Format format(bool bold, richtext::Rgb colour)
{
    richtext::Format f;
    f.bold = bold;
    f.colour = colour;
    return f;
}

} // namespace

TEST(Pinnacles, WorkedExamplesWithTheirAgeHeadings)
{
    // The spans come from the first pinnacle's row (11 reads as 2, 22 as 4);
    // each heading ends with its own pinnacle.
    const struct
    {
        const char *month, *day, *year;
        QJsonArray pinnacles;
        QStringList headings;
    } rows[] = {
        {"May", "15", "1986", numbers({2, 3, 5, 2}),
         {"First Pinnacle from age 0-34 years is 2", "Second Pinnacle from age 35-43 is 3",
          "Third Pinnacle from age 44-52 is 5", "Fourth Pinnacle from age 53 & beyond is 2"}},
        {"September", "20", "1991", numbers({11, 4, 6, 2}),
         {"First Pinnacle from age 0-34 years is 11", "Second Pinnacle from age 35-43 is 4",
          "Third Pinnacle from age 44-52 is 6", "Fourth Pinnacle from age 53 & beyond is 2"}},
        {"February", "20", "1976", numbers({22, 7, 11, 7}),
         {"First Pinnacle from age 0-32 years is 22", "Second Pinnacle from age 33-41 is 7",
          "Third Pinnacle from age 42-50 is 11", "Fourth Pinnacle from age 51 & beyond is 7"}},
        {"January", "1", "1900", numbers({2, 11, 4, 11}),
         {"First Pinnacle from age 0-34 years is 2", "Second Pinnacle from age 35-43 is 11",
          "Third Pinnacle from age 44-52 is 4", "Fourth Pinnacle from age 53 & beyond is 11"}},
        // The row of 4 keeps its two blanks before the third pinnacle.
        {"January", "3", "1900", numbers({4, 4, 8, 11}),
         {"First Pinnacle from age 0-32 years is 4", "Second Pinnacle from age 33-41 is 4",
          "Third Pinnacle from age 42-50 is  8", "Fourth Pinnacle from age 51 & beyond is 11"}},
        {"August", "6", "1979", numbers({5, 5, 1, 7}),
         {"First Pinnacle from age 0-31 years is 5", "Second Pinnacle from age 32-40 is 5",
          "Third Pinnacle from age 41-49 is 1", "Fourth Pinnacle from age 50 & beyond is 7"}},
    };
    const ReadingTexts &texts = readingTexts(u"pinnacles");
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.day) + " " + row.month + " " + row.year);
        const Outcome r = run(u"pinnacles", maryOn(row.month, row.day, row.year));
        EXPECT_EQ(r.values.value(u"pinnacles").toArray(), row.pinnacles);
        qsizetype at = 0;
        for (int i = 0; i < 4; ++i) {
            const qsizetype found = text(r).indexOf(row.headings[i] + crlf(2), at);
            ASSERT_GE(found, at) << row.headings[i].toStdString();
            const int value = row.pinnacles[i].toInt();
            EXPECT_TRUE(text(r).mid(found).contains(texts.table.text(value)) || (i == 2 && value == 3));
            at = found;
        }
    }
}

TEST(Pinnacles, AgeSpansJoinForEveryDateOfTheLists)
{
    // Each heading is "<Position> Pinnacle from age A-B[ years] is " or
    // "... from age A & beyond is ", followed by its own pinnacle.
    static const QRegularExpression spanPattern(
        u"^(First|Second|Third|Fourth) Pinnacle from age (\\d+)(?:-(\\d+)(?: years)?| & beyond) is  ?(\\d+)\r\n\r\n$"_s);
    static const QStringList positions = {u"First"_s, u"Second"_s, u"Third"_s, u"Fourth"_s};
    // Whether the headings composed from these values join; the reading is
    // composed from its four numbers alone, so each set is looked at once.
    auto spansJoin = [](const ReadingValues &values) {
        const QJsonArray pinnacles = values.value(u"pinnacles").toArray();
        const ReadingResult result = composePinnacles(values, OutputMode::Display);
        QStringList headings;
        for (const richtext::Run &each : result.text.runs()) {
            if (each.format.colour == richtext::kDarkRed && each.format.bold)
                headings << each.text;
        }
        // The first pinnacle's value v (11 as 2, 22 as 4) ends the first span at 36 - v.
        const int first = pinnacles.at(0).toInt();
        const int firstEnd = 36 - (first == 11 ? 2 : first == 22 ? 4 : first);
        bool ok = headings.size() == 4;
        int nextStart = 0;
        for (qsizetype i = 0; ok && i < 4; ++i) {
            const QRegularExpressionMatch m = spanPattern.match(headings[i]);
            ok = m.hasMatch() && m.captured(1) == positions[i] && m.captured(2).toInt() == nextStart
                 && m.captured(4).toInt() == pinnacles.at(i).toInt() && (i == 3) == m.captured(3).isEmpty()
                 && (i == 0) == headings[i].contains(u" years "_s);
            const int end = m.captured(3).toInt();
            // The second and third last nine years each.
            ok = ok && (i == 3 || end == (i == 0 ? firstEnd : nextStart + 8));
            nextStart = end + 1;
        }
        return ok ? QString() : headings.join(u'|');
    };

    const QStringList months = {u"January"_s, u"February"_s, u"March"_s,     u"April"_s,   u"May"_s,      u"June"_s,
                                u"July"_s,    u"August"_s,   u"September"_s, u"October"_s, u"November"_s, u"December"_s};
    QHash<QString, QString> faults; // by the four pinnacles: what their headings read, or empty
    ResultState state;
    int dates = 0, failures = 0;
    for (int year = 1900; year <= 2050; ++year) {
        for (const QString &month : months) {
            for (int day = 1; day <= 31; ++day) {
                ++dates;
                const ReadingValues values =
                    computePinnacles(maryOn(month, QString::number(day), QString::number(year)), state);
                QStringList numbers;
                for (const QJsonValue &n : values.value(u"pinnacles").toArray())
                    numbers << QString::number(n.toInt());
                const QString key = numbers.join(u' ');
                auto known = faults.constFind(key);
                if (known == faults.cend())
                    known = faults.insert(key, spansJoin(values));
                if (!known->isEmpty() && ++failures <= 5)
                    ADD_FAILURE() << day << " " << month.toStdString() << " " << year << ": "
                                  << known->toStdString();
            }
        }
    }
    EXPECT_EQ(dates, 56172);
    EXPECT_EQ(failures, 0);
}

TEST(Pinnacles, ColoursTitleAndTheThirdPinnaclesSpecialParagraphs)
{
    const ReadingTexts &texts = readingTexts(u"pinnacles");
    const Outcome mary = run(u"pinnacles", maryOn(u"May"_s, u"15"_s, u"1986"_s));
    EXPECT_EQ(mary.result.text.title(), u"Pinnacle Phases\r\n"_s);
    EXPECT_TRUE(text(mary).startsWith(u"Pinnacle Phases"_s + crlf(2) + texts.introduction + crlf(2)));
    ASSERT_NE(runWith(mary, u"First Pinnacle"_s), nullptr);
    EXPECT_EQ(runWith(mary, u"First Pinnacle"_s)->format, format(true, richtext::kDarkRed));
    EXPECT_EQ(runWith(mary, texts.introduction)->format, format(false, richtext::kDarkCyan));
    EXPECT_EQ(runWith(mary, texts.table.text(3))->format, format(false, richtext::kDarkRed));

    // The third pinnacle's 3 and 1, against the same numbers in other places.
    bool sawThree = false, sawOne = false;
    for (int year = 1900; year <= 2050 && !(sawThree && sawOne); ++year) {
        for (int day = 1; day <= 31; ++day) {
            const Outcome r = run(u"pinnacles", maryOn(u"March"_s, QString::number(day), QString::number(year)));
            const int third = r.values.value(u"pinnacles").toArray().at(2).toInt();
            if (third == 3 && !sawThree) {
                sawThree = true;
                EXPECT_TRUE(text(r).contains(texts.text(u"thirdPinnacleThree")));
            } else if (third == 1 && !sawOne) {
                sawOne = true;
                EXPECT_TRUE(text(r).contains(texts.table.text(1) + crlf(3) + u"Fourth Pinnacle"_s));
            }
        }
    }
    EXPECT_TRUE(sawThree && sawOne);
}

TEST(Challenges, WorkedExamples)
{
    const struct
    {
        const char *month, *day, *year, *line;
    } rows[] = {
        {"May", "15", "1986", "1 0 1 1"},
        {"November", "29", "1978", "0 5 5 5"},
        {"December", "29", "1999", "1 1 0 2"},
        {"September", "20", "1991", "7 0 7 7"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.line);
        const Outcome r = run(u"challenges", maryOn(row.month, row.day, row.year));
        EXPECT_EQ(r.result.text.title(), u"Challenge Number"_s);
        EXPECT_TRUE(text(r).startsWith(u"Your Challenge Numbers are: "_s + QString::fromLatin1(row.line) + crlf(2)));
        const QStringList challenges = QString::fromLatin1(row.line).split(u' ');
        EXPECT_TRUE(text(r).contains(u"Fourth Challenge Number is "_s + challenges[3] + crlf(2)
                                     + readingTexts(u"challenges").table.text(challenges[3].toInt())));
    }
}

TEST(LifePathPeriods, WorkedExamplesAndTheMasterNumberLines)
{
    const struct
    {
        const char *month, *day, *year;
        int lifePath, age, period;
        QJsonArray periodNumbers;
        const char *lines;
    } rows[] = {
        {"May", "15", "1986", 8, 38, 2, numbers({5, 6, 6}), "0 - 28 is 5|29 - 55 is 6|56 on is 6"},
        {"April", "10", "1990", 6, 34, 2, numbers({4, 1, 1}), "0 - 30 is 4|31 - 57 is 1|58 on is 1"},
        // 11 takes the limits 26 and 53.
        {"September", "29", "1998", 11, 26, 1, numbers({9, 11, 9}), "0 - 26 is 9|27 - 53 is 11|54 on is 9"},
        {"January", "1", "2000", 4, 24, 2, numbers({1, 1, 2}), "0 - 23 is 1|24 - 59 is 1|60 on is 2"},
        {"May", "15", "2030", 7, -6, 0, numbers({5, 6, 5}), "0 - 29 is 5|30 - 56 is 6|57 on is 5"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.year);
        const Outcome r = run(u"lifePathPeriods", maryOn(row.month, row.day, row.year, QDate(2024, 6, 1)));
        EXPECT_EQ(r.values.number(u"periodLifePath"), row.lifePath);
        EXPECT_EQ(r.values.value(u"age").toInt(), row.age);
        EXPECT_EQ(r.values.number(u"currentPeriod"), row.period);
        EXPECT_EQ(r.values.value(u"periodNumbers").toArray(), row.periodNumbers);
        EXPECT_TRUE(text(r).startsWith(u"Your Current LifePath Period Number is: "_s + QString::number(row.period)
                                       + crlf(2)));
        const QStringList lines = QString::fromLatin1(row.lines).split(u'|');
        for (int i = 0; i < 3; ++i) {
            const QString line = u"Life Path Period %1 from age "_s.arg(i + 1) + lines[i] + crlf(2);
            EXPECT_TRUE(text(r).contains(line)) << line.toStdString();
        }
    }
    // The period changes on the year boundary, not on the birthday.
    EXPECT_EQ(run(u"lifePathPeriods", maryOn(u"May"_s, u"5"_s, u"1995"_s, QDate(2024, 12, 31)))
                  .values.number(u"currentPeriod"), 1);
    EXPECT_EQ(run(u"lifePathPeriods", maryOn(u"May"_s, u"5"_s, u"1995"_s, QDate(2025, 1, 1)))
                  .values.number(u"currentPeriod"), 2);
    EXPECT_EQ(run(u"lifePathPeriods", maryOn(u"May"_s, u"15"_s, u"1986"_s)).result.text.title(),
              u"LifePath Periods"_s);
}

TEST(Essence, TransitsFollowTheLettersYearByYear)
{
    const struct
    {
        const char *part;
        int age;
        int transit;
    } rows[] = {
        {"MARY", 38, 7}, {"ANN", 38, 5}, {"SMITH", 38, 2}, {"JOHN", 20, 1}, {"JOHN", 40, 1}, {"DOE", 20, 6},
        {"FRY", 0, 6},   {"FRY", 5, 6},  {"FRY", 6, 9},    {"FRY", 14, 9},  {"FRY", 15, 7},
        {"FRY", -1, 0},  {"", 30, 0},    {"mary", 30, 0}, {"O'NEIL", 0, 6},
    };
    for (const auto &row : rows)
        EXPECT_EQ(transit(QString::fromLatin1(row.part), row.age), row.transit) << row.part << " " << row.age;
}

TEST(Essence, WorkedExamplesAndABirthYearInTheFuture)
{
    const Outcome mary = run(u"essence", maryOn(u"May"_s, u"15"_s, u"1986"_s, QDate(2024, 1, 1)));
    EXPECT_EQ(mary.values.value(u"transits").toArray(), numbers({7, 5, 2}));
    EXPECT_EQ(mary.values.number(u"essence"), 5);
    EXPECT_TRUE(text(mary).startsWith(u"Your Essence Number is: 5"_s + crlf(2)));

    const Outcome john = run(u"essence", subject(u"JOHN"_s, u"  "_s, u"DOE"_s, u"May"_s, u"1"_s, u"1986"_s,
                                             QDate(2006, 5, 1)), OutputMode::Document);
    EXPECT_EQ(john.values.value(u"transits").toArray(), numbers({1, 0, 6}));
    EXPECT_EQ(john.values.number(u"essence"), 7);
    EXPECT_TRUE(text(john).startsWith(u"Your Essence Number is: 7"_s + crlf() + u"This particular"_s));

    const Outcome future = run(u"essence", maryOn(u"May"_s, u"15"_s, u"2030"_s, QDate(2024, 1, 1)));
    EXPECT_EQ(future.values.number(u"essence"), 0);
    EXPECT_TRUE(text(future).contains(readingTexts(u"essence").text(u"futureBirthYear")));
    EXPECT_FALSE(future.values.flag(u"essenceNoLetters"));
}

TEST(PersonalCycles, WorkedExamplesWithTodaysDate)
{
    const struct
    {
        const char *month, *day;
        QDate today;
        int year, month_, dayNumber;
    } rows[] = {
        {"May", "15", QDate(2024, 3, 7), 1, 4, 11},
        {"September", "29", QDate(2024, 1, 1), 1, 11, 3},
        {"November", "29", QDate(2025, 12, 25), 4, 7, 5},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.month);
        // The birth year takes no part.
        for (const char *year : {"1980", "1999"}) {
            const ReadingInputs inputs = maryOn(row.month, row.day, year, row.today);
            EXPECT_EQ(run(u"personalYear", inputs).values.number(u"personalYear"), row.year);
            EXPECT_EQ(run(u"personalMonth", inputs).values.number(u"personalMonth"), row.month_);
            EXPECT_EQ(run(u"personalDay", inputs).values.number(u"personalDay"), row.dayNumber);
        }
    }
    // 11 has a paragraph of its own; the day heading has no blank; one break in the document.
    const ReadingInputs inputs = maryOn(u"May"_s, u"15"_s, u"1986"_s);
    const Outcome day = run(u"personalDay", inputs);
    EXPECT_TRUE(text(day).startsWith(u"Your Personal Day is:11"_s + crlf(2)));
    EXPECT_TRUE(text(day).contains(readingTexts(u"personalDay").table.text(11)));
    EXPECT_FALSE(readingTexts(u"personalDay").table.text(11).isEmpty());
    EXPECT_TRUE(text(run(u"personalYear", inputs, OutputMode::Document))
                    .startsWith(u"Your Personal Year is: 1"_s + crlf() + u"This number"_s));
    EXPECT_TRUE(text(run(u"personalMonth", inputs)).startsWith(u"Your Personal Month Number is: 4"_s + crlf(2)));
}

TEST(Planes, PercentagesLevelsAndTheDominantPlane)
{
    const struct
    {
        const char *first, *middle, *last;
        QJsonObject planes;
        const char *dominant;
        const char *block;
    } rows[] = {
        {"MARY", "ANN", "SMITH", {{"mental", 41}, {"physical", 16}, {"emotional", 33}, {"intuitive", 8}}, "Mental",
         "Mental Ability 41 - Strong \r\nPhysical Ability 16 - Weak \r\nEmotional Ability 33 - Average \r\n"
         "Intuitive Ability 8 - Weak"},
        {"JOHN", "", "DOE", {{"mental", 42}, {"physical", 28}, {"emotional", 28}, {"intuitive", 0}}, "Mental",
         "Mental Ability 42 - Strong \r\nPhysical Ability 28 - Strong \r\nEmotional Ability 28 - Average \r\n"
         "Intuitive Ability 0 - Weak"},
        // A tie has no dominant plane.
        {"AE", "", "", {{"mental", 50}, {"physical", 50}, {"emotional", 0}, {"intuitive", 0}}, "", nullptr},
        // One letter among many other characters: every share rounds to 0,
        // yet the name has a letter to read.
        {"Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "",
         "", {{"mental", 0}, {"physical", 0}, {"emotional", 0}, {"intuitive", 0}}, "",
         "Mental Ability 0 - Weak \r\nPhysical Ability 0 - Weak \r\nEmotional Ability 0 - Weak \r\n"
         "Intuitive Ability 0 - Weak"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.first);
        const Outcome r = run(u"planes", subject(row.first, row.middle, row.last, u"May"_s, u"1"_s, u"1986"_s));
        EXPECT_EQ(r.values.value(u"planes").toObject(), row.planes);
        EXPECT_EQ(r.values.value(u"dominantPlane").toString(), QString::fromLatin1(row.dominant));
        EXPECT_FALSE(r.values.flag(u"planesNoLetters"));
        EXPECT_TRUE(text(r).startsWith(u"Your Planes of Expression is towards "_s + QString::fromLatin1(row.dominant)
                                       + crlf(2) + u"Your Personal Aspects: "_s + crlf()));
        if (row.block) {
            EXPECT_TRUE(text(r).contains(crlf() + QString::fromLatin1(row.block) + crlf(2)));
        }
    }

    // The introduction only in the display window; the plane headings in dark red.
    const ReadingTexts &texts = readingTexts(u"planes");
    const ReadingInputs mary = maryOn(u"May"_s, u"15"_s, u"1986"_s);
    EXPECT_TRUE(text(run(u"planes", mary)).contains(texts.introduction));
    const Outcome document = run(u"planes", mary, OutputMode::Document);
    EXPECT_FALSE(text(document).contains(texts.introduction));
    EXPECT_EQ(runWith(document, u"Plane of expression: Physical (body):"_s)->format, format(true, richtext::kDarkRed));
    EXPECT_LT(text(document).indexOf(u"Physical (body)"_s), text(document).indexOf(u"Mental (mind)"_s));
}

TEST(Karmic, LessonsListTheMissingValues)
{
    const Outcome mary = run(u"karmicLessons", maryOn(u"May"_s, u"15"_s, u"1986"_s));
    EXPECT_EQ(mary.values.value(u"karmicLessons").toArray(), numbers({3, 6}));
    const TextTable &lessons = readingTexts(u"karmicLessons").table;
    EXPECT_TRUE(text(mary).startsWith(u"Your Karmic Lesson Number is:  3 6"_s + crlf(2)));
    EXPECT_TRUE(text(mary).contains(crlf() + u"3"_s + crlf() + lessons.text(3) + crlf() + u"6"_s + crlf()
                                    + lessons.text(6) + crlf(2)));

    EXPECT_EQ(run(u"karmicLessons", subject(u"JOHN"_s, {}, u"DOE"_s, u"May"_s, u"1"_s, u"1986"_s))
                  .values.value(u"karmicLessons").toArray(), numbers({2, 3, 7, 9}));
    EXPECT_EQ(run(u"karmicLessons", subject(u"mary"_s, {}, u"smith"_s, u"May"_s, u"1"_s, u"1986"_s))
                  .values.value(u"karmicLessons").toArray(), numbers({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    const Outcome all = run(u"karmicLessons", subject(u"ABCDEFGHI"_s, {}, u"X"_s, u"May"_s, u"1"_s, u"1986"_s));
    EXPECT_TRUE(all.values.value(u"karmicLessons").toArray().isEmpty());
    EXPECT_TRUE(text(all).startsWith(u"Your Karmic Lesson Number is: "_s + crlf(2)));
}

TEST(Karmic, DebtTakesTheLastSourceCarryingOne)
{
    const struct
    {
        const char *first, *day;
        int debt;
    } rows[] = {
        {"MARY", "15", 0},  // totals 6, 56 (with SMITH), ... no debt
        {"DI", "15", 13},   // Destiny total 13
        {"DI", "19", 19},   // the Birthday wins over Destiny
        {"MARY", "16", 16},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.first);
        const ReadingInputs inputs = subject(row.first, {}, QString::fromLatin1(row.first) == u"MARY" ? u"SMITH"_s
                                                                                                     : QString(),
                                             u"May"_s, row.day, u"1986"_s);
        // Outcome first, on a fresh state: the sources are computed, not read as 0.
        const Outcome r = run(u"karmicDebt", inputs);
        EXPECT_EQ(r.values.number(u"karmicDebt"), row.debt);
        EXPECT_EQ(r.result.text.title(), u"Karmic Debt Numbers"_s + QString::number(row.debt) + crlf());
        const QString paragraph = row.debt ? readingTexts(u"karmicDebt").table.text(row.debt) : u"Not Applicable"_s;
        EXPECT_TRUE(text(r).contains(crlf(2) + paragraph + crlf(2)));
    }
}

TEST(MinorNumbers, WorkedExamples)
{
    const struct
    {
        const char *first, *middle, *last, *day;
        int balance, rational, subconscious, passion;
    } rows[] = {
        {"MARY", "ANN", "SMITH", "15", 6, 9, 7, 4},
        {"JOHN", "", "DOE", "29", 5, 4, 5, 6},
        {" MARY", "", "SMITH", "15", 1, 9, 6, 4},  // a leading blank counts 0 for balance
        {"I", "", "B", "15", 2, 6, 2, 9},          // 11 gives 2; two values: not valid
        {"mary", "", "smith", "29", 0, 11, 0, 0},  // lower case: no letters
        {"A  B", "", "B", "1", 3, 4, 2, 2},        // blanks inside count for no passion
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.first);
        const ReadingInputs inputs = subject(row.first, row.middle, row.last, u"May"_s, row.day, u"1986"_s);
        EXPECT_EQ(run(u"balance", inputs).values.number(u"balance"), row.balance);
        EXPECT_EQ(run(u"rationalThought", inputs).values.number(u"rationalThought"), row.rational);
        EXPECT_EQ(run(u"subconsciousSelf", inputs).values.number(u"subconsciousSelf"), row.subconscious);
        EXPECT_EQ(run(u"hiddenPassion", inputs).values.number(u"hiddenPassion"), row.passion);
    }

    // Two values are too few; no values at all is a name without letters.
    const ReadingInputs twoValues = subject(u"I"_s, {}, u"B"_s, u"May"_s, u"15"_s, u"1986"_s);
    EXPECT_TRUE(text(run(u"subconsciousSelf", twoValues)).contains(u"This number is not valid for this name."_s));

    // Rational Thought: bold only for the heading; an overflowing sum is skipped.
    const Outcome rational = run(u"rationalThought", maryOn(u"May"_s, u"15"_s, u"1986"_s));
    EXPECT_EQ(runWith(rational, u"Your Rational Thought Number is: 9"_s)->format, format(true, richtext::kDarkCyan));
    EXPECT_EQ(runWith(rational, readingTexts(u"rationalThought").table.text(9))->format,
              format(false, richtext::kDarkCyan));
    const QString nearMax = QString(3640, u'I') + u'F'; // 32766
    EXPECT_EQ(run(u"rationalThought", subject(nearMax, {}, u"X"_s, u"May"_s, u"15"_s, u"1986"_s))
                  .values.number(u"rationalThought"), 6);
}

TEST(MinorNumbers, BridgesComputeTheirSourcesForTheSubject)
{
    // MARY ANN SMITH: Soul Urge 11, Inner Dreams 9, Life Path 22, Destiny 11.
    const ReadingInputs mary = maryOn(u"August"_s, u"6"_s, u"1979"_s);
    const Outcome hp = run(u"hpBridge", mary);
    EXPECT_EQ(hp.values.number(u"hpBridge"), 2);
    EXPECT_TRUE(text(hp).contains(readingTexts(u"hpBridge").table.text(2)));
    EXPECT_EQ(run(u"leBridge", mary).values.number(u"leBridge"), 2);

    // Equal Soul Urge and Inner Dreams (AJ: 1 and 1) give 0, the lucky paragraph.
    const Outcome equal = run(u"hpBridge", subject(u"AJ"_s, {}, {}, u"May"_s, u"1"_s, u"1986"_s));
    EXPECT_EQ(equal.values.number(u"hpBridge"), 0);
    EXPECT_TRUE(text(equal).contains(u"This is very lucky number"_s));

    // The bridges share 6, 7 and 8: L/E 6 shows the H/P paragraph.  LYNN
    // WYNN born 15 March 1976: Life Path 5, Destiny 6 gives 1; find a 6.
    bool sawShared = false;
    for (int day = 1; day <= 31 && !sawShared; ++day) {
        const Outcome le = run(u"leBridge", maryOn(u"March"_s, QString::number(day), u"1976"_s));
        const int value = le.values.number(u"leBridge");
        if (value >= 6 && value <= 8) {
            sawShared = true;
            EXPECT_TRUE(text(le).contains(readingTexts(u"hpBridge").table.text(value)));
        }
    }
    EXPECT_TRUE(sawShared);
}

TEST(MinorNumbers, ABridgeOfNineHasAParagraphOfItsOwnInEachTable)
{
    const ReadingTexts &hp = readingTexts(u"hpBridge");
    const ReadingTexts &le = readingTexts(u"leBridge");
    ASSERT_FALSE(hp.table.text(9).isEmpty());
    ASSERT_FALSE(le.table.text(9).isEmpty());
    EXPECT_NE(hp.table.text(9), le.table.text(9));

    // ABRA: Soul Urge 2, Inner Dreams 11.  MARY ANN SMITH born 9 September
    // 2000: Destiny 11, Life Path 2.
    const Outcome hpNine = run(u"hpBridge", subject(u"ABRA"_s, {}, {}, u"May"_s, u"1"_s, u"1986"_s));
    const Outcome leNine = run(u"leBridge", maryOn(u"September"_s, u"9"_s, u"2000"_s));
    EXPECT_EQ(hpNine.values.number(u"hpBridge"), 9);
    EXPECT_EQ(leNine.values.number(u"leBridge"), 9);
    EXPECT_TRUE(text(hpNine).contains(u"Your H/P Bridge Number is: 9"_s + crlf(2) + hp.introduction + crlf(2)
                                      + hp.table.text(9) + crlf(2)));
    EXPECT_TRUE(text(leNine).contains(u"Your L/E Bridge Number is: 9"_s + crlf(2) + le.introduction + crlf(2)
                                      + le.table.text(9) + crlf(2)));
}

TEST(NoLetters, EveryReadingFromTheNameSaysSoInsteadOfReadingItsNumber)
{
    const struct
    {
        QString id, flag;
        QString paragraphOfZero; // what the reading showed before, where it had one
    } readings[] = {
        {u"essence"_s, u"essenceNoLetters"_s, {}},
        {u"planes"_s, u"planesNoLetters"_s, u"Your Personal Aspects: "_s},
        {u"hiddenPassion"_s, u"hiddenPassionNoLetters"_s, {}},
        {u"karmicLessons"_s, u"karmicLessonsNoLetters"_s, readingTexts(u"karmicLessons").table.text(1)},
        {u"balance"_s, u"balanceNoLetters"_s, {}},
        {u"subconsciousSelf"_s, u"subconsciousSelfNoLetters"_s, u"This number is not valid for this name."_s},
        {u"hpBridge"_s, u"hpBridgeNoLetters"_s, readingTexts(u"hpBridge").table.text(0)},
        {u"leBridge"_s, u"leBridgeNoLetters"_s, {}},
    };
    const QStringList all = {u"essence"_s, u"planes"_s, u"hiddenPassion"_s, u"karmicLessons"_s, u"balance"_s,
                             u"subconsciousSelf"_s, u"hpBridge"_s, u"leBridge"_s};
    const struct
    {
        const char *why;
        ReadingInputs inputs;
        QStringList saySo;
    } rows[] = {
        {"pasted lower case", subject(u"mary"_s, u"ann"_s, u"smith"_s, u"May"_s, u"15"_s, u"1986"_s), all},
        {"Cyrillic", subject(u"\u041c\u0410\u0420\u0418\u042f"_s, {}, u"\u0418\u0412\u0410\u041d\u041e\u0412\u0410"_s,
                             u"May"_s, u"15"_s, u"1986"_s), all},
        // No vowels leaves Soul Urge, and so the H/P bridge, without a number.
        {"capitals without vowels", subject(u"BCD"_s, {}, u"FGH"_s, u"May"_s, u"15"_s, u"1986"_s), {u"hpBridge"_s}},
        {"vowels only", subject(u"AE"_s, {}, u"IOU"_s, u"May"_s, u"15"_s, u"1986"_s), {u"hpBridge"_s}},
        {"every name begins with a blank", subject(u" MARY"_s, u" ANN"_s, u" SMITH"_s, u"May"_s, u"15"_s, u"1986"_s),
         {u"balance"_s}},
        {"a lower-case first name beside capitals", subject(u"mary"_s, {}, u"SMITH"_s, u"May"_s, u"15"_s, u"1986"_s),
         {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.why);
        for (const auto &r : readings) {
            SCOPED_TRACE(r.id.toStdString());
            const Outcome outcome = run(r.id, row.inputs, OutputMode::Document);
            const QString noLetters = readingTexts(r.id).text(u"noLetters");
            ASSERT_FALSE(noLetters.isEmpty());
            const bool saySo = row.saySo.contains(r.id);
            EXPECT_EQ(outcome.values.flag(r.flag), saySo);
            EXPECT_EQ(text(outcome).contains(noLetters), saySo);
            EXPECT_TRUE(text(outcome).contains(u"Report Generated By"_s));
            if (saySo && !r.paragraphOfZero.isEmpty()) {
                EXPECT_FALSE(text(outcome).contains(r.paragraphOfZero));
            }
        }
    }

    // What stands in the headings and the values.
    const ReadingInputs lower = rows[0].inputs;
    EXPECT_TRUE(text(run(u"karmicLessons", lower)).startsWith(u"Your Karmic Lesson Number is: "_s + crlf(2)));
    EXPECT_EQ(run(u"karmicLessons", lower).values.value(u"karmicLessons").toArray(),
              numbers({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(text(run(u"planes", lower)).startsWith(u"Your Planes of Expression is towards "_s + crlf(2)
                                                       + readingTexts(u"planes").text(u"noLetters") + crlf(2)));
    for (const char *bridge : {"hpBridge", "leBridge"}) {
        const QString id = QString::fromLatin1(bridge);
        const Outcome outcome = run(id, lower);
        EXPECT_TRUE(outcome.values.isNull(id)) << bridge; // no gap to measure
        EXPECT_TRUE(text(outcome).startsWith(readingTexts(id).heading + u'0' + crlf(2))) << bridge;
    }
    for (const char *id : {"essence", "hiddenPassion", "balance", "subconsciousSelf"}) {
        const Outcome outcome = run(QString::fromLatin1(id), lower);
        EXPECT_EQ(outcome.values.number(QString::fromLatin1(id)), 0) << id;
        EXPECT_TRUE(text(outcome).startsWith(readingTexts(QString::fromLatin1(id)).heading + u'0' + crlf(2))) << id;
    }
    // Before the birth year the name has not begun to speak: that comes first.
    const Outcome future = run(u"essence", subject(u"mary"_s, {}, u"smith"_s, u"May"_s, u"15"_s, u"2030"_s));
    EXPECT_TRUE(text(future).contains(readingTexts(u"essence").text(u"futureBirthYear")));
    EXPECT_FALSE(future.values.flag(u"essenceNoLetters"));
}

TEST(AllReadings, ValuesJoinOneJsonObject)
{
    ResultState state;
    for (const Reading &reading : readingList())
        runReading(reading, maryOn(u"August"_s, u"6"_s, u"1979"_s), state, OutputMode::Document);
    const QJsonObject json = valuesToJson(state);
    const QStringList keys = {
        u"lifePath"_s, u"dayDigitSum"_s, u"destiny"_s, u"destinyTotal"_s, u"soulUrge"_s, u"soulUrgeTotal"_s,
        u"innerDreams"_s, u"innerDreamsTotal"_s, u"birthDay"_s, u"maturity"_s, u"pinnacles"_s, u"challenges"_s,
        u"periodLifePath"_s, u"age"_s, u"currentPeriod"_s, u"periodNumbers"_s, u"transits"_s, u"essence"_s,
        u"personalYear"_s, u"personalMonth"_s, u"personalDay"_s, u"planes"_s, u"dominantPlane"_s,
        u"karmicLessons"_s, u"karmicDebt"_s, u"balance"_s, u"rationalThought"_s, u"subconsciousSelf"_s,
        u"hiddenPassion"_s, u"hpBridge"_s, u"leBridge"_s};
    for (const QString &key : keys)
        EXPECT_TRUE(json.contains(key)) << key.toStdString();
    EXPECT_EQ(json.size(), keys.size()) << QJsonDocument(json).toJson().toStdString();
    EXPECT_EQ(json.value(u"pinnacles").toArray(), numbers({5, 5, 1, 7}));
    EXPECT_EQ(json.value(u"challenges").toArray(), numbers({2, 2, 0, 0}));
    EXPECT_EQ(json.value(u"personalYear"), 4);
    EXPECT_EQ(json.value(u"personalMonth"), 7);
    EXPECT_EQ(json.value(u"personalDay"), 5);
    EXPECT_EQ(json.value(u"balance"), 6);
    EXPECT_EQ(json.value(u"rationalThought"), 9);
    EXPECT_EQ(json.value(u"subconsciousSelf"), 7);
    EXPECT_EQ(json.value(u"hiddenPassion"), 4);
    EXPECT_EQ(json.value(u"hpBridge"), 2);
    EXPECT_EQ(json.value(u"leBridge"), 2);
    EXPECT_EQ(json.value(u"dominantPlane"), u"Mental"_s);
}
