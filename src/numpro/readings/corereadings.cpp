#include "numpro/readings/corereadings.h"

#include "common/numerology.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

using namespace Qt::StringLiterals;
using richtext::crlf;

using namespace kestrava;

namespace numpro {

namespace {

constexpr QStringView kMaturityNeedsLifePathAndDestiny =
    u"Your Maturity Number is dependent on your LifePath Number and Destiny Number. ";
constexpr QStringView kCalculateThoseFirst = u"Please calculate these two figures first";

// The number, under the reading's id: its hidden label shows it.
ReadingValues numberValues(QStringView key, qint16 number)
{
    ReadingValues values;
    values.setNumber(key, number);
    return values;
}

// Heading with the number, introduction, the table's text for the number and
// the credit line, all in bold dark cyan.  The display window always gets two
// line breaks after the heading; the document gets documentHeadingBreaks.
ReadingResult composeCore(QStringView id, qint16 number, OutputMode mode, int documentHeadingBreaks,
                          bool noLetters = false)
{
    return composeNumberReading({id, QString::number(number),
                                 noLetters ? noLettersParagraph(id) : readingTexts(id).table.text(number),
                                 mode == OutputMode::Display ? 2 : documentHeadingBreaks});
}

// The three name readings: a sum over the whole joined name, then reduced.
// One running sum along the joined name, so a name too long for 16 bits
// stops growing at the same letter wherever the parts are split.  Every
// counted character adds at least 1 and the first can never overflow, so a
// total of 0 means the name holds none of them; noLettersKey records that.
ReadingValues nameValues(QStringView key, QStringView totalKey, QStringView noLettersKey, qint16 total)
{
    qint16 reduced = total;
    ReadingValues values = numberValues(key, reduceNumber(reduced));
    values.setNumber(totalKey, total);
    if (total == 0)
        values.setFlag(noLettersKey);
    return values;
}

} // namespace

ReadingValues computeLifePath(const ReadingInputs &inputs, ResultState &)
{
    const qint16 dayDigitSum = digitSum(inputs.day);
    const qint16 day = foldOnce(dayDigitSum);
    const qint16 month = monthNumber(inputs.month);
    const qint16 year = datePartNumber(inputs.year);
    // Each part is at most 18, so the total cannot overflow.
    const qint16 total = qint16(day + month + year);
    const qint16 lifePath = (total == 11 || total == 22) ? total : foldOnce(digitSumOf(total));
    ReadingValues values = numberValues(u"lifePath", lifePath);
    values.setNumber(u"dayDigitSum", dayDigitSum);
    return values;
}

ReadingResult composeLifePath(const ReadingValues &values, OutputMode mode)
{
    return composeCore(u"lifePath", values.number(u"lifePath"), mode, 2);
}

ReadingValues computeDestiny(const ReadingInputs &inputs, ResultState &state)
{
    return nameValues(u"destiny", u"destinyTotal", u"destinyNoLetters", state.nameFacts(inputs).letterSum);
}

ReadingResult composeDestiny(const ReadingValues &values, OutputMode mode)
{
    return composeCore(u"destiny", values.number(u"destiny"), mode, 1, values.flag(u"destinyNoLetters"));
}

ReadingValues computeSoulUrge(const ReadingInputs &inputs, ResultState &state)
{
    return nameValues(u"soulUrge", u"soulUrgeTotal", u"soulUrgeNoVowels", state.nameFacts(inputs).vowelSum);
}

ReadingResult composeSoulUrge(const ReadingValues &values, OutputMode mode)
{
    return composeCore(u"soulUrge", values.number(u"soulUrge"), mode, 1, values.flag(u"soulUrgeNoVowels"));
}

ReadingValues computeInnerDreams(const ReadingInputs &inputs, ResultState &state)
{
    return nameValues(u"innerDreams", u"innerDreamsTotal", u"innerDreamsNoConsonants",
                      state.nameFacts(inputs).consonantSum);
}

ReadingResult composeInnerDreams(const ReadingValues &values, OutputMode mode)
{
    return composeCore(u"innerDreams", values.number(u"innerDreams"), mode, 1, values.flag(u"innerDreamsNoConsonants"));
}

ReadingValues computeBirthDay(const ReadingInputs &inputs, ResultState &)
{
    const QString day = trimBlanks(inputs.day);
    bool isNumber = false;
    qint16 number = day.toShort(&isNumber);
    if (!isNumber)
        number = 0;
    ReadingValues values;
    values.setNumber(u"birthDay", number).setLabelCaption(day);
    return values;
}

ReadingResult composeBirthDay(const ReadingValues &values, OutputMode mode)
{
    return composeCore(u"birthDay", values.number(u"birthDay"), mode, 1);
}

ReadingValues computeMaturity(const ReadingInputs &inputs, ResultState &state)
{
    // Maturity never trusts numbers left from other inputs: both are fresh.
    const qint16 lifePath = state.fresh(u"lifePath", inputs, computeLifePath).number(u"lifePath");
    const ReadingValues &destinyValues = state.fresh(u"destiny", inputs, computeDestiny);
    const qint16 destiny = destinyValues.number(u"destiny");
    if (lifePath == 0 || destiny == 0) {
        ReadingValues values;
        values.setNull(u"maturity");
        // A name without letters is no missing reading: it is said as such.
        if (destinyValues.flag(u"destinyNoLetters"))
            values.setFlag(u"maturityNoLetters");
        return values;
    }
    // reduceDigitStringOnce of the two numbers written one after the other.
    const qint16 digits = qint16(digitSumOf(lifePath) + digitSumOf(destiny));
    return numberValues(u"maturity", (digits == 11 || digits == 22) ? digits : foldOnce(digits));
}

ReadingResult composeMaturity(const ReadingValues &values, OutputMode mode)
{
    if (values.flag(u"maturityNoLetters"))
        return composeCore(u"maturity", 0, mode, 1, true);
    if (values.isNull(u"maturity")) {
        ReadingResult message;
        // Ends as a reading ends (its last text, then the empty footer), so
        // whatever follows it starts on a line of its own.
        message.text.append(kMaturityNeedsLifePathAndDestiny.toString() + kCalculateThoseFirst.toString()
                            + crlf(2) + crlf(2));
        message.keepCaption = true;
        message.alwaysToDisplay = true;
        return message;
    }
    return composeCore(u"maturity", values.number(u"maturity"), mode, 1);
}

} // namespace numpro
