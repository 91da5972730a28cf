#include "numpro/readings/personalreadings.h"

#include "common/numerology.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QJsonObject>

#include <array>

using namespace Qt::StringLiterals;
using richtext::crlf;

using namespace kestrava;

namespace numpro {

namespace {

qint16 reducedText(int number)
{
    return reduceDigitsOf(number);
}

ReadingResult composeCycle(QStringView id, QStringView key, const ReadingValues &values, OutputMode mode)
{
    const qint16 number = values.number(key);
    return composeNumberReading(
        {id, QString::number(number), readingTexts(id).table.text(number), headingBreaks(mode)});
}

struct Plane
{
    QStringView name;  // as the reading names it
    QStringView key;   // in the values
    QStringView letters;
    QStringView levelLabel;
    int averageFrom;   // Weak below, Average from here
    int strongFrom;    // Strong from here
};

// In the order of the aspects block.
constexpr std::array<Plane, 4> kPlanes = {{
    {u"Mental", u"mental", u"AHJNPGL", u"Mental Ability ", 26, 33},
    {u"Physical", u"physical", u"EWDM", u"Physical Ability ", 18, 24},
    {u"Emotional", u"emotional", u"ORIZBSTX", u"Emotional Ability ", 21, 35},
    {u"Intuitive", u"intuitive", u"KFQUYCV", u"Intuitive Ability ", 12, 18},
}};

// The planes' keys in the values, in the order of kPlanes.
constexpr std::array<QStringView, 4> kPlaneKeys = {kPlanes[0].key, kPlanes[1].key, kPlanes[2].key, kPlanes[3].key};

// The order the plane descriptions stand in the reading.
constexpr std::array<QStringView, 4> kDescriptionOrder = {u"Physical", u"Mental", u"Emotional", u"Intuitive"};

QString level(const Plane &plane, int percentage)
{
    if (percentage >= plane.strongFrom)
        return u"Strong"_s;
    return percentage >= plane.averageFrom ? u"Average"_s : u"Weak"_s;
}

} // namespace

ReadingValues computePersonalYear(const ReadingInputs &inputs, ResultState &)
{
    const int dayR = datePartNumber(inputs.day);
    const int monthR = monthNumber(inputs.month);
    const int dm = foldOnce(qint16(dayR + monthR));
    const int yearR = reducedText(inputs.today.year());
    ReadingValues values;
    values.setNumber(u"personalYear", reducedText(dm + yearR));
    return values;
}

ReadingResult composePersonalYear(const ReadingValues &values, OutputMode mode)
{
    return composeCycle(u"personalYear", u"personalYear", values, mode);
}

ReadingValues computePersonalMonth(const ReadingInputs &inputs, ResultState &)
{
    const int sum = reduceDigitString(blanksTrimmed(inputs.day)) + monthNumber(blanksTrimmed(inputs.month))
                    + reducedText(inputs.today.month()) + reducedText(inputs.today.year());
    ReadingValues values;
    values.setNumber(u"personalMonth", reducedText(sum));
    return values;
}

ReadingResult composePersonalMonth(const ReadingValues &values, OutputMode mode)
{
    return composeCycle(u"personalMonth", u"personalMonth", values, mode);
}

ReadingValues computePersonalDay(const ReadingInputs &inputs, ResultState &)
{
    const int sum = reduceDigitString(blanksTrimmed(inputs.day)) + monthNumber(blanksTrimmed(inputs.month))
                    + reducedText(inputs.today.day()) + reducedText(inputs.today.month())
                    + reducedText(inputs.today.year());
    ReadingValues values;
    values.setNumber(u"personalDay", reducedText(sum));
    return values;
}

ReadingResult composePersonalDay(const ReadingValues &values, OutputMode mode)
{
    return composeCycle(u"personalDay", u"personalDay", values, mode);
}

ReadingValues computePlanes(const ReadingInputs &inputs, ResultState &state)
{
    const NameFacts &name = state.nameFacts(inputs);
    // Characters are code points: a letter outside the Basic Multilingual
    // Plane counts once in the length.
    const qint64 length = name.length;

    std::array<qint64, 4> percentages{};
    qint64 letters = 0;
    for (std::size_t p = 0; p < kPlanes.size(); ++p) {
        qint64 count = 0;
        for (QChar letter : kPlanes[p].letters)
            count += name.letterCounts[std::size_t(letter.unicode() - u'A')];
        // A name of blanks only has no length: every plane stays at 0.
        percentages[p] = length > 0 ? count * 100 / length : 0;
        letters += count;
    }

    QStringView dominant = u"";
    for (std::size_t p = 0; p < kPlanes.size() && dominant.isEmpty(); ++p) {
        bool highest = true;
        for (std::size_t q = 0; q < kPlanes.size(); ++q)
            highest = highest && (p == q || percentages[p] > percentages[q]);
        if (highest)
            dominant = kPlanes[p].name;
    }

    // Percentages: at most 100.
    std::array<qint16, 4> numbers{};
    for (std::size_t p = 0; p < kPlanes.size(); ++p)
        numbers[p] = qint16(percentages[p]);
    ReadingValues values;
    values.setNamedNumbers(u"planes", kPlaneKeys.data(), numbers).setText(u"dominantPlane", dominant);
    // Every letter lies on one plane; a few among many other characters can
    // still round to 0 everywhere, so the count decides, not the percentages.
    if (letters == 0)
        values.setFlag(u"planesNoLetters");
    return values;
}

ReadingResult composePlanes(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"planes");
    const QJsonObject percentages = values.value(u"planes").toObject();
    QStringList block;
    for (const Plane &plane : kPlanes) {
        const int percentage = percentages.value(plane.key).toInt();
        block << plane.levelLabel.toString() + QString::number(percentage) + u" - "_s + level(plane, percentage);
    }

    ReadingResult result;
    richtext::Composition &c = result.text;
    c.setTitle(texts.caption);
    c.bold(true).colour(richtext::kDarkCyan)
        .append(texts.heading + values.value(u"dominantPlane").toString() + crlf(2));
    if (values.flag(u"planesNoLetters"))
        c.append(noLettersParagraph(u"planes") + crlf(2));
    else
        c.append(u"Your Personal Aspects: "_s + crlf() + block.join(u" "_s + crlf()) + crlf(2));
    if (mode == OutputMode::Display)
        c.append(texts.introduction + crlf(2));
    const QJsonObject planeTexts = texts.fields.value(u"planes").toObject();
    for (QStringView name : kDescriptionOrder) {
        const QJsonObject plane = planeTexts.value(name).toObject();
        c.colour(richtext::kDarkRed)
            .append(plane.value(u"heading").toString() + crlf())
            .append(plane.value(u"description").toString() + crlf(2));
    }
    c.bold(false);
    appendCreditAndFooter(c);
    return result;
}

} // namespace numpro
