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

ReadingResult composeFromTable(QStringView id, const ReadingValues &values, OutputMode mode,
                               bool boldHeadingOnly = false)
{
    const qint16 number = values.number(id);
    return composeNumberReading(
        {id, QString::number(number), readingTexts(id).table.text(number), headingBreaks(mode), boldHeadingOnly});
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

qint16 bridge(qint16 a, qint16 b)
{
    return reduceDigitsOf(std::abs(a - b));
}

} // namespace

ReadingValues computeBalance(const ReadingInputs &inputs, ResultState &)
{
    const int sum = initialValue(inputs.firstName) + initialValue(inputs.middleName) + initialValue(inputs.lastName);
    return oneNumber(u"balance", reduceDigitsOf(sum));
}

ReadingResult composeBalance(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"balance", values, mode);
}

ReadingValues computeRationalThought(const ReadingInputs &inputs, ResultState &)
{
    qint16 sum = reduceDigitString(trimBlanks(inputs.day));
    addSkippingOverflow(sum, nameLetterSum(trimBlanks(inputs.firstName)));
    return oneNumber(u"rationalThought", reduceNumber(sum));
}

ReadingResult composeRationalThought(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"rationalThought", values, mode, true);
}

ReadingValues computeSubconsciousSelf(const ReadingInputs &inputs, ResultState &)
{
    const QString name = fullName(inputs.firstName, inputs.middleName, inputs.lastName);
    return oneNumber(u"subconsciousSelf", qint16(9 - missingLetterValues(name).size()));
}

ReadingResult composeSubconsciousSelf(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"subconsciousSelf");
    const qint16 number = values.number(u"subconsciousSelf");
    return composeNumberReading(
        {u"subconsciousSelf", QString::number(number), texts.textOr(number, u"notValid"), headingBreaks(mode)});
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
    return oneNumber(u"hiddenPassion", passion);
}

ReadingResult composeHiddenPassion(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"hiddenPassion");
    const qint16 number = values.number(u"hiddenPassion");
    const QString paragraph = number == 0 ? texts.text(u"noLetters") : texts.table.text(number);
    return composeNumberReading({u"hiddenPassion", QString::number(number), paragraph, headingBreaks(mode)});
}

ReadingValues computeHPBridge(const ReadingInputs &inputs, ResultState &state)
{
    // Computed for the subject at hand, as Maturity does.
    const qint16 soulUrge = state.fresh(u"soulUrge", inputs, computeSoulUrge).number(u"soulUrge");
    const qint16 innerDreams = state.fresh(u"innerDreams", inputs, computeInnerDreams).number(u"innerDreams");
    return oneNumber(u"hpBridge", bridge(soulUrge, innerDreams));
}

ReadingResult composeHPBridge(const ReadingValues &values, OutputMode mode)
{
    return composeFromTable(u"hpBridge", values, mode);
}

ReadingValues computeLEBridge(const ReadingInputs &inputs, ResultState &state)
{
    const qint16 destiny = state.fresh(u"destiny", inputs, computeDestiny).number(u"destiny");
    const qint16 lifePath = state.fresh(u"lifePath", inputs, computeLifePath).number(u"lifePath");
    return oneNumber(u"leBridge", bridge(destiny, lifePath));
}

ReadingResult composeLEBridge(const ReadingValues &values, OutputMode mode)
{
    // The bridges share their paragraphs for 6, 7 and 8.
    const qint16 number = values.number(u"leBridge");
    QString paragraph = readingTexts(u"leBridge").table.text(number);
    if (paragraph.isEmpty())
        paragraph = readingTexts(u"hpBridge").table.text(number);
    return composeNumberReading({u"leBridge", QString::number(number), paragraph, headingBreaks(mode)});
}

} // namespace numpro
