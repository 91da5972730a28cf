#include "numpro/readings/pinnaclereadings.h"

#include "common/numerology.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QJsonArray>

#include <array>
#include <cstdlib>

using namespace Qt::StringLiterals;
using richtext::crlf;

using namespace kestrava;

namespace numpro {

namespace {

std::array<qint16, 4> fourNumbers(const ReadingValues &values, QStringView key)
{
    const QJsonArray list = values.value(key).toArray();
    std::array<qint16, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = qint16(list.at(qsizetype(i)).toInt());
    return numbers;
}

qint16 reducedSum(qint16 a, qint16 b)
{
    qint16 sum = a;
    addSkippingOverflow(sum, b);
    return reduceNumber(sum);
}

} // namespace

ReadingValues computePinnacles(const ReadingInputs &inputs, ResultState &)
{
    const qint16 m = monthNumber(blanksTrimmed(inputs.month));
    const qint16 d = blanksTrimmed(inputs.day).toShort();
    const qint16 y = blanksTrimmed(inputs.year).toShort();
    const qint16 p1 = reducedSum(m, d);
    const qint16 p2 = reducedSum(d, y);
    const qint16 p3 = reducedSum(p1, p2);
    const qint16 p4 = reducedSum(m, y);
    ReadingValues values;
    values.setNumbers(u"pinnacles", {p1, p2, p3, p4});
    return values;
}

ReadingResult composePinnacles(const ReadingValues &values, OutputMode)
{
    const ReadingTexts &texts = readingTexts(u"pinnacles");
    const QJsonObject headings = texts.fields.value(u"headings").toObject();
    const std::array<qint16, 4> pinnacles = fourNumbers(values, u"pinnacles");
    // Every heading takes its age span from the first pinnacle's row, so the
    // four periods join: the second begins the year after the first ends, and
    // so on.  Each heading still ends with its own pinnacle's number.
    const QJsonArray spans = headings.value(QString::number(pinnacles[0])).toArray();

    ReadingResult result;
    richtext::Composition &c = result.text;
    c.setTitle(texts.caption);
    c.bold(true).colour(richtext::kDarkCyan).append(texts.heading + crlf(2));
    c.bold(false).append(texts.introduction + crlf(2));
    for (int i = 0; i < 4; ++i) {
        const qint16 value = pinnacles[std::size_t(i)];
        const QString heading = spans.at(i).toString();
        QString paragraph = texts.table.text(value);
        if (i == 2 && value == 3)
            paragraph = texts.text(u"thirdPinnacleThree");
        else if (i == 2 && value == 1)
            paragraph += crlf();
        c.bold(true).colour(richtext::kDarkRed).append(heading + QString::number(value) + crlf(2));
        c.bold(false).append(paragraph + crlf(2));
    }
    appendCreditAndFooter(c);
    return result;
}

std::array<AgeSpan, 4> pinnacleSpans(qint16 firstPinnacle)
{
    const int value = firstPinnacle == 11 ? 2 : firstPinnacle == 22 ? 4 : firstPinnacle;
    const int firstEnd = 36 - value;
    return {{{0, firstEnd}, {firstEnd + 1, firstEnd + 9}, {firstEnd + 10, firstEnd + 18}, {firstEnd + 19, -1}}};
}

ReadingValues computeChallenges(const ReadingInputs &inputs, ResultState &)
{
    const int dayR = datePartNumber(inputs.day);
    const int monthR = monthNumber(inputs.month);
    // Two folds and no master numbers: 1999 gives 28, 10, 1.
    const int yearR = foldOnce(foldOnce(digitSum(inputs.year)));
    const qint16 c1 = qint16(std::abs(monthR - dayR));
    const qint16 c2 = qint16(std::abs(yearR - dayR));
    const qint16 c3 = qint16(std::abs(c1 - c2));
    const qint16 c4 = qint16(std::abs(yearR - monthR));
    ReadingValues values;
    values.setNumbers(u"challenges", {c1, c2, c3, c4});
    return values;
}

ReadingResult composeChallenges(const ReadingValues &values, OutputMode)
{
    static const QStringList positions = {u"First"_s, u"Second"_s, u"Third"_s, u"Fourth"_s};
    const ReadingTexts &texts = readingTexts(u"challenges");
    const std::array<qint16, 4> challenges = fourNumbers(values, u"challenges");
    QStringList line;
    for (qint16 challenge : challenges)
        line << QString::number(challenge);

    ReadingResult result;
    richtext::Composition &c = result.text;
    c.setTitle(texts.caption);
    c.bold(true).colour(richtext::kDarkCyan).append(texts.heading + line.join(u' ') + crlf(2));
    c.bold(false).append(texts.introduction + crlf(2));
    for (int i = 0; i < 4; ++i) {
        const qint16 value = challenges[std::size_t(i)];
        c.bold(true).colour(richtext::kDarkRed)
            .append(positions[i] + u" Challenge Number is "_s + QString::number(value) + crlf(2));
        c.bold(false).append(texts.table.text(value) + crlf(2));
    }
    appendCreditAndFooter(c);
    c.bold(false);
    return result;
}

} // namespace numpro
