#include "numpro/readings/minorreadings.h"

#include "common/numerology.h"
#include "numpro/readings/corereadings.h"
#include "numpro/readings/karmicreadings.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QHash>

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

// The letter value of a name field's first character, blanks removed.
qint16 initialValue(const QString &field)
{
    if (field.isEmpty())
        return 0;
    const qsizetype length = field.front().isHighSurrogate() && field.size() > 1 ? 2 : 1;
    QString initial = field.first(length);
    initial.remove(u' ');
    return letterValue(initial);
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

ReadingValues computeRationalThought(const ReadingInputs &inputs, ResultState &)
{
    qint16 sum = reduceDigitString(trimBlanks(inputs.day));
    addSkippingOverflow(sum, nameLetterSum(trimBlanks(inputs.firstName)));
    return oneNumber(u"rationalThought", reduceNumber(sum));
}

ReadingResult composeRationalThought(const ReadingValues &values, OutputMode mode)
{
    // The day alone gives a number: a first name without letters is no reason
    // to read none.
    return composeFromTable(u"rationalThought", {}, values, mode, true);
}

ReadingValues computeSubconsciousSelf(const ReadingInputs &inputs, ResultState &)
{
    const QString name = fullName(inputs.firstName, inputs.middleName, inputs.lastName);
    const qint16 present = qint16(9 - missingLetterValues(name).size());
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

ReadingValues computeHiddenPassion(const ReadingInputs &inputs, ResultState &)
{
    const QList<uint> name = fullName(inputs.firstName, inputs.middleName, inputs.lastName).toUcs4();
    QHash<uint, int> counts;
    for (uint c : name)
        ++counts[c];
    qint16 passion = 0;
    int best = 0;
    for (uint c : name) {
        const char16_t unit = char16_t(c);
        const qint16 value = c < 0x80 ? letterValue(QStringView(&unit, 1)) : 0;
        if (value > 0 && counts.value(c) > best) {
            best = counts.value(c);
            passion = value;
        }
    }
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
