#include "numpro/readings/minorreadings.h"

#include "common/numerology.h"
#include "numpro/readings/corereadings.h"
#include "numpro/readings/karmicreadings.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

using namespace kestrava;

namespace numpro {

namespace {

ReadingValues oneNumber(QStringView key, qint16 number)
{
    ReadingValues values;
    values.setNumber(key, number);
    return values;
}

// The table's paragraph for the number, or the reading's no-letters paragraph
// when the values carry that flag.
ReadingResult composeFromTable(QStringView id, QStringView noLettersKey, const ReadingValues &values,
                               OutputMode mode, bool boldHeadingOnly = false)
{
    const qint16 number = values.number(id);
    const QString paragraph = values.flag(noLettersKey) ? noLettersParagraph(id) : readingTexts(id).table.text(number);
    return composeNumberReading({id, QString::number(number), paragraph, headingBreaks(mode), boldHeadingOnly});
}

// The letter value of a name field's first character as typed: a blank, or
// the first half of a character outside the Basic Multilingual Plane, has none.
qint16 initialValue(const QString &field)
{
    return field.isEmpty() ? 0 : letterValue(field.front().unicode());
}

// The gap between two numbers; null, with the flag, when either rests on a
// name without the letters it counts, since there is then no gap to read.
ReadingValues bridge(QStringView key, QStringView noLettersKey, const ReadingValues &a, QStringView aKey,
                     QStringView aNoLetters, const ReadingValues &b, QStringView bKey, QStringView bNoLetters)
{
    ReadingValues values;
    if (a.flag(aNoLetters) || b.flag(bNoLetters))
        values.setNull(key).setFlag(noLettersKey);
    else
        values.setNumber(key, reduceDigitsOf(std::abs(a.number(aKey) - b.number(bKey))));
    return values;
}

} // namespace

ReadingValues computeBalance(const ReadingInputs &inputs, ResultState &)
{
    const int sum = initialValue(inputs.firstName) + initialValue(inputs.middleName) + initialValue(inputs.lastName);
    ReadingValues values = oneNumber(u"balance", reduceDigitsOf(sum));
    if (sum == 0)
        values.setFlag(u"balanceNoLetters");
    return values;
}

ReadingResult composeBalance(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"balance", u"balanceNoLetters", values, mode);
}

ReadingValues computeRationalThought(const ReadingInputs &inputs, ResultState &state)
{
    qint16 sum = reduceDigitString(blanksTrimmed(inputs.day));
    addSkippingOverflow(sum, state.nameFacts(inputs).firstNameLetterSum);
    return oneNumber(u"rationalThought", reduceNumber(sum));
}

ReadingResult composeRationalThought(const ReadingValues &values, OutputMode mode)
{
    // The day alone gives a number: a first name without letters is no reason
    // to read none.
    return composeFromTable(u"rationalThought", {}, values, mode, true);
}

ReadingValues computeSubconsciousSelf(const ReadingInputs &inputs, ResultState &state)
{
    const NameFacts &name = state.nameFacts(inputs);
    qint16 present = 0;
    for (int value = 1; value <= 9; ++value)
        present += name.hasLetterValue(value);
    ReadingValues values = oneNumber(u"subconsciousSelf", present);
    if (present == 0)
        values.setFlag(u"subconsciousSelfNoLetters");
    return values;
}

ReadingResult composeSubconsciousSelf(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"subconsciousSelf");
    const qint16 number = values.number(u"subconsciousSelf");
    const QString paragraph = values.flag(u"subconsciousSelfNoLetters") ? noLettersParagraph(u"subconsciousSelf")
                                                                          : texts.textOr(number, u"notValid");
    return composeNumberReading({u"subconsciousSelf", QString::number(number), paragraph, headingBreaks(mode)});
}

ReadingValues computeHiddenPassion(const ReadingInputs &inputs, ResultState &state)
{
    const qint16 passion = state.nameFacts(inputs).hiddenPassion;
    ReadingValues values = oneNumber(u"hiddenPassion", passion);
    if (passion == 0)
        values.setFlag(u"hiddenPassionNoLetters");
    return values;
}

ReadingResult composeHiddenPassion(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"hiddenPassion", u"hiddenPassionNoLetters", values, mode);
}

ReadingValues computeHPBridge(const ReadingInputs &inputs, ResultState &state)
{
    // Computed for the subject at hand, as Maturity does.
    const ReadingValues &soulUrge = state.fresh(u"soulUrge", inputs, computeSoulUrge);
    const ReadingValues &innerDreams = state.fresh(u"innerDreams", inputs, computeInnerDreams);
    return bridge(u"hpBridge", u"hpBridgeNoLetters", soulUrge, u"soulUrge", u"soulUrgeNoVowels", innerDreams,
                  u"innerDreams", u"innerDreamsNoConsonants");
}

ReadingResult composeHPBridge(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"hpBridge", u"hpBridgeNoLetters", values, mode);
}

ReadingValues computeLEBridge(const ReadingInputs &inputs, ResultState &state)
{
    const ReadingValues &destiny = state.fresh(u"destiny", inputs, computeDestiny);
    const ReadingValues &lifePath = state.fresh(u"lifePath", inputs, computeLifePath);
    // Life Path comes from the date, which always has its digits.
    return bridge(u"leBridge", u"leBridgeNoLetters", destiny, u"destiny", u"destinyNoLetters", lifePath,
                  u"lifePath", {});
}

ReadingResult composeLEBridge(const ReadingValues &values, OutputMode mode)
{
    // The bridges share their paragraphs for 6, 7 and 8.
    const qint16 number = values.number(u"leBridge");
    QString paragraph = values.flag(u"leBridgeNoLetters") ? noLettersParagraph(u"leBridge")
                                                          : readingTexts(u"leBridge").table.text(number);
    if (paragraph.isEmpty())
        paragraph = readingTexts(u"hpBridge").table.text(number);
    return composeNumberReading({u"leBridge", QString::number(number), paragraph, headingBreaks(mode)});
}

} // namespace numpro
