// The name facts gathered in one pass over the three fields agree with the
// numerology operations applied to the joined name, including where a sum
// meets the 16-bit limit inside a block and where a character outside the
// Basic Multilingual Plane is split between two fields.
#include "common/numerology.h"
#include "common/person.h"
#include "numpro/readings/karmicreadings.h"
#include "numpro/readings/namefacts.h"
#include "numpro/readings/periodreadings.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/resultstate.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace numpro;

namespace {

// The value of the most frequent capital of the name, the first met among
// equals: the hidden passion as the name reads.
qint16 mostFrequentCapital(const QString &name)
{
    // An accented capital is its base letter: É and E are one letter.
    QString letters = name;
    for (QChar &c : letters)
        c = QChar(kestrava::baseCapital(c.unicode()));
    QHash<QChar, int> counts;
    for (QChar c : letters)
        ++counts[c];
    qint16 passion = 0;
    int best = 0;
    for (QChar c : letters) {
        const qint16 value = kestrava::letterValue(c.unicode());
        if (value > 0 && counts.value(c) > best) {
            best = counts.value(c);
            passion = value;
        }
    }
    return passion;
}

} // namespace

TEST(NameFacts, AgreeWithTheOperationsOnTheJoinedName)
{
    const struct
    {
        const char *label;
        QString first, middle, last;
    } rows[] = {
        {"worked example", u"MARY"_s, u"ANN"_s, u"SMITH"_s},
        {"blanks around and inside", u"  JO ANN "_s, u"   "_s, u" DE LA CRUZ"_s},
        {"lower case", u"mary"_s, u"ann"_s, u"smith"_s},
        {"only Y for vowels", u"LYNN"_s, u""_s, u"WYNN"_s},
        {"accents, Cyrillic, digits", u"JOS\u00c9 2"_s, u"\u0418\u0412\u0410\u041d"_s, u"M\u00dcLLER-O'BRIEN"_s},
        {"a pair split between fields", u"AB\xd835"_s, u"\xdc00"_s, u"C"_s},
        {"lone surrogates", u"\xdc00" "A"_s, u"B\xd835"_s, u"\xd835\xd835\xdc00"_s},
        {"equal counts, first met in the last name", u"XQ"_s, u""_s, u"QX"_s},
        {"letter sum reaches the limit mid-block", QString(3000, u'I'), QString(700, u'R') + u"AB"_s, u"ZAJS"_s},
        {"every sum past the limit", QString(9000, u'E'), QString(9000, u'Z'), QString(500, u'A')},
        {"more Ys than the limit allows", QString(40000, u'Y'), u""_s, u"WYNN"_s},
        {"long first name", QString(5000, u'Q') + u"MARY"_s, u"ANN"_s, u"SMITH"_s},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        const ReadingInputs inputs{row.first, row.middle, row.last, u"May"_s, u"1"_s, u"1990"_s, QDate(2024, 1, 1)};
        const NameFacts facts = nameFacts(inputs);
        const QString joined = kestrava::fullName(row.first, row.middle, row.last);
        EXPECT_EQ(facts.letterSum, kestrava::nameLetterSum(joined));
        EXPECT_EQ(facts.vowelSum, kestrava::vowelSum(joined));
        EXPECT_EQ(facts.consonantSum, kestrava::consonantSum(joined));
        EXPECT_EQ(facts.firstNameLetterSum, kestrava::nameLetterSum(kestrava::trimBlanks(row.first)));
        EXPECT_EQ(facts.length, joined.toUcs4().size());
        const QList<int> missing = missingLetterValues(joined);
        for (int value = 1; value <= 9; ++value)
            EXPECT_EQ(facts.hasLetterValue(value), !missing.contains(value)) << value;
        EXPECT_EQ(facts.hiddenPassion, mostFrequentCapital(joined));
    }
}

TEST(NameFacts, FollowTheInputsTheStateIsAskedFor)
{
    ResultState state;
    const ReadingInputs mary{u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"May"_s, u"1"_s, u"1990"_s, QDate(2024, 1, 1)};
    ReadingInputs john = mary;
    john.firstName = u"JOHN"_s;
    EXPECT_EQ(state.nameFacts(mary).letterSum, 56);
    EXPECT_EQ(state.nameFacts(john).letterSum, 55);
    EXPECT_EQ(state.nameFacts(mary).letterSum, 56);

    // A cleared state holds no values and reads the next subject afresh.
    computeAllReadings(mary, state);
    state.clear();
    for (const Reading &reading : readingList())
        EXPECT_EQ(state.values(reading.id), nullptr) << reading.id.toString().toStdString();
    computeAllReadings(john, state);
    ResultState fresh;
    computeAllReadings(john, fresh);
    EXPECT_EQ(valuesToJsonText(state), valuesToJsonText(fresh));
}

TEST(Transit, LongPartsAndAgesCycleAsOftenAsNeeded)
{
    const struct
    {
        QString part;
        int age;
        int transit;
    } rows[] = {
        {u"A"_s + QString(3000, u' '), 8000, 1}, // 8,000 passes over the blanks
        {u"AB"_s + QString(50, u'-'), 100, 2},   // 33 passes of 3, then A to 100, B passes it
        {u"ZA"_s, 17, 1},                        // one pass of 9, Z reaches 17, A passes it
        {u"ZA"_s, 18, 8},                        // two whole passes reach 18 exactly
        {QString(100000, u'B'), 1000, 2},
        {QString(100000, u' '), 50, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.age);
        EXPECT_EQ(transit(row.part, row.age), row.transit);
    }
}

TEST(NameFacts, AnAccentedCapitalCountsAsItsBaseLetterAndALetterWithoutValueIsNamed)
{
    const struct
    {
        const char *written; // as the person writes it; read in capitals
        const char *plain;   // what the readings count: a letter without value is a character like "-"
        QStringList uncounted;
    } rows[] = {
        {"Élodie Dupré", "ELODIE DUPRE", {}},
        {"hélène", "HELENE", {}},
        {"Müller", "MULLER", {}},
        {"François", "FRANCOIS", {}},
        {"Núñez", "NUNEZ", {}},
        {"Åsa", "ASA", {}},
        {"Ấu Ỳ", "AU Y", {}}, // a diacritic on a diacritic, and Latin Extended Additional
        {"Bjørn", "BJ-RN", {u"Ø"_s}},
        {"Æsir", "-SIR", {u"Æ"_s}},
        {"Straße", "STRA-E", {u"ß"_s}},
        {"Łukasz", "-UKASZ", {u"Ł"_s}},
        {"Иван", "----", {u"И"_s, u"В"_s, u"А"_s, u"Н"_s}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.written);
        const QString read = kestrava::capitalLetters(QString::fromUtf8(row.written));
        auto values = [](const QString &name) {
            const kestrava::Person split = kestrava::splitName(name);
            ResultState state;
            computeAllReadings({split.firstName, split.middleName, split.lastName.isEmpty() ? u"SMITH"_s : split.lastName,
                                u"August"_s, u"6"_s, u"1979"_s, QDate(2026, 12, 11)},
                               state);
            return valuesToJson(state);
        };
        EXPECT_EQ(QJsonDocument(values(read)).toJson(), QJsonDocument(values(QString::fromUtf8(row.plain))).toJson());
        EXPECT_EQ(kestrava::unvaluedLetters(read), row.uncounted);
    }
    // Small letters that a capital gives a value are no letters without a value.
    EXPECT_TRUE(kestrava::unvaluedLetters(u"mary ann-smith 42"_s).isEmpty());
    EXPECT_EQ(kestrava::unvaluedLettersSentence({u"Ø"_s}), u"Ø has no value in this system and was not counted."_s);
    EXPECT_EQ(kestrava::unvaluedLettersSentence({u"Ø"_s, u"Æ"_s, u"ß"_s}),
              u"Ø, Æ and ß have no value in this system and were not counted."_s);
    EXPECT_EQ(kestrava::unvaluedLettersSentence({}), QString());
}
