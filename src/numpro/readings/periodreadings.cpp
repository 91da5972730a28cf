#include "numpro/readings/periodreadings.h"

#include "common/numerology.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;
using richtext::crlf;

using namespace kestrava;

namespace numpro {

PeriodLimits periodLimits(qint16 lifePath)
{
    switch (lifePath) {
    case 2: return {25, 52};
    case 3: return {24, 51};
    case 4: return {23, 59};
    case 5: return {31, 58};
    case 6: return {30, 57};
    case 7: return {29, 56};
    case 8: return {28, 55};
    case 9: return {27, 54};
    default: return {26, 53};
    }
}

int ageThisYear(const ReadingInputs &inputs)
{
    return inputs.today.year() - blanksTrimmed(inputs.year).toInt();
}

ReadingValues computeLifePathPeriods(const ReadingInputs &inputs, ResultState &)
{
    const qint16 m = monthNumber(blanksTrimmed(inputs.month));
    const qint16 d = reduceDigitString(blanksTrimmed(inputs.day));
    const qint16 y = reduceDigitString(blanksTrimmed(inputs.year));
    const qint16 lifePath = reduceDigitsOf(m + d + y);
    const int age = ageThisYear(inputs);
    const PeriodLimits limits = periodLimits(lifePath);
    const int period = age < 0 ? 0 : age <= limits.a ? 1 : age <= limits.b ? 2 : 3;

    ReadingValues values;
    values.setNumber(u"periodLifePath", lifePath)
        .setNumber(u"age", age)
        .setNumber(u"currentPeriod", qint16(period))
        .setNumbers(u"periodNumbers", {m, d, y});
    return values;
}

ReadingResult composeLifePathPeriods(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"lifePathPeriods");
    const qint16 lifePath = values.number(u"periodLifePath");
    const QJsonArray numbers = values.value(u"periodNumbers").toArray();
    const QJsonArray descriptions = texts.fields.value(u"periods").toArray();
    const PeriodLimits limits = periodLimits(lifePath);
    const QString lines[3] = {
        u"Life Path Period 1 from age 0 - %1 is "_s.arg(limits.a),
        u"Life Path Period 2 from age %1 - %2 is "_s.arg(limits.a + 1).arg(limits.b),
        u"Life Path Period 3 from age %1 on is "_s.arg(limits.b + 1),
    };

    ReadingResult result;
    richtext::Composition &c = result.text;
    c.setTitle(texts.caption);
    c.bold(true).colour(richtext::kDarkCyan)
        .append(texts.heading + QString::number(values.number(u"currentPeriod")) + crlf(headingBreaks(mode)));
    c.bold(false).append(texts.introduction + crlf(2)).append(texts.table.text(lifePath) + crlf(2));
    for (int i = 0; i < 3; ++i) {
        c.bold(true).colour(richtext::kDarkRed).append(lines[i] + QString::number(numbers.at(i).toInt()) + crlf(2));
        c.bold(false).append(descriptions.at(i).toString() + crlf(2));
    }
    appendCreditAndFooter(c);
    return result;
}

qint16 transit(QStringView part, int age)
{
    if (age < 0)
        return 0;
    // The letters' years follow one another through the part, and through it
    // again from the start, until the age is passed; the letter that passes
    // it is the one in force.
    const char16_t *text = part.utf16();
    int cumulative = 0;
    for (qsizetype i = 0; i < part.size(); ++i) {
        const qint16 value = letterValue(text[i]);
        cumulative += value;
        if (value > 0 && cumulative > age)
            return value;
    }
    // One pass over the part did not reach the age: as many whole passes as
    // stay within it, then the letter of the next pass that passes it.  A
    // part without any valued character never reaches it.
    const int perPass = cumulative;
    if (perPass == 0)
        return 0;
    cumulative = age / perPass * perPass;
    for (qsizetype i = 0;; ++i) {
        const qint16 value = letterValue(text[i]);
        cumulative += value;
        if (value > 0 && cumulative > age)
            return value;
    }
}

ReadingValues computeEssence(const ReadingInputs &inputs, ResultState &)
{
    const int age = ageThisYear(inputs);
    const qint16 first = transit(blanksTrimmed(inputs.firstName), age);
    const qint16 middle = transit(blanksTrimmed(inputs.middleName), age);
    const qint16 last = transit(blanksTrimmed(inputs.lastName), age);
    ReadingValues values;
    values.setNumbers(u"transits", {first, middle, last})
        .setNumber(u"essence", reduceDigitsOf(first + middle + last))
        .setNumber(u"age", age);
    // From birth on, any valued letter has a transit: nothing but a name
    // without letters leaves all three at 0.
    if (age >= 0 && first + middle + last == 0)
        values.setFlag(u"essenceNoLetters");
    return values;
}

ReadingResult composeEssence(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"essence");
    const qint16 essence = values.number(u"essence");
    // Before the birth year nothing of the name is in force yet.
    QString paragraph = values.value(u"age").toInt() < 0 ? texts.text(u"futureBirthYear") : texts.table.text(essence);
    if (values.flag(u"essenceNoLetters"))
        paragraph = noLettersParagraph(u"essence");
    return composeNumberReading({u"essence", QString::number(essence), paragraph, headingBreaks(mode)});
}

} // namespace numpro
