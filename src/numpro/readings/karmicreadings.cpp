#include "numpro/readings/karmicreadings.h"

#include "common/numerology.h"
#include "numpro/readings/corereadings.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QJsonArray>

#include <array>

using namespace Qt::StringLiterals;
using richtext::crlf;

using namespace kestrava;

namespace numpro {

QList<int> missingLetterValues(const QString &name)
{
    std::array<bool, 10> present{};
    for (QChar c : name)
        present[std::size_t(letterValue(QStringView(&c, 1)))] = true;
    QList<int> missing;
    for (int value = 1; value <= 9; ++value) {
        if (!present[std::size_t(value)])
            missing.append(value);
    }
    return missing;
}

ReadingValues computeKarmicLessons(const ReadingInputs &inputs, ResultState &state)
{
    const NameFacts &name = state.nameFacts(inputs);
    std::array<qint16, 9> missing{};
    std::size_t count = 0;
    for (qint16 value = 1; value <= 9; ++value) {
        if (!name.hasLetterValue(value))
            missing[count++] = value;
    }
    ReadingValues values;
    values.setNumbers(u"karmicLessons", std::span<const qint16>(missing.data(), count));
    // Every value missing is no lesson list but a name without letters.
    if (count == 9)
        values.setFlag(u"karmicLessonsNoLetters");
    return values;
}

ReadingResult composeKarmicLessons(const ReadingValues &values, OutputMode)
{
    const ReadingTexts &texts = readingTexts(u"karmicLessons");
    QString line;
    QString lessons;
    if (values.flag(u"karmicLessonsNoLetters")) {
        lessons = crlf() + noLettersParagraph(u"karmicLessons");
    } else {
        for (const QJsonValue &missing : values.value(u"karmicLessons").toArray()) {
            const int value = missing.toInt();
            line += u' ' + QString::number(value);
            lessons += crlf() + QString::number(value) + crlf() + texts.table.text(value);
        }
    }

    ReadingResult result;
    richtext::Composition &c = result.text;
    c.setTitle(texts.caption);
    c.bold(true).colour(richtext::kDarkCyan)
        .append(texts.heading + line + crlf(2))
        .append(texts.introduction + crlf())
        .append(lessons + crlf(2));
    appendCreditAndFooter(c);
    c.bold(false);
    return result;
}

ReadingValues computeKarmicDebt(const ReadingInputs &inputs, ResultState &state)
{
    // The sources are computed for the subject at hand, as Maturity does, so
    // the debt never rests on readings left from another run or not run yet.
    const ReadingValues &lifePath = state.fresh(u"lifePath", inputs, computeLifePath);
    const ReadingValues &destiny = state.fresh(u"destiny", inputs, computeDestiny);
    const ReadingValues &soulUrge = state.fresh(u"soulUrge", inputs, computeSoulUrge);
    const ReadingValues &innerDreams = state.fresh(u"innerDreams", inputs, computeInnerDreams);
    const ReadingValues &birthDay = state.fresh(u"birthDay", inputs, computeBirthDay);
    const qint16 sources[] = {lifePath.number(u"dayDigitSum"), destiny.number(u"destinyTotal"),
                              soulUrge.number(u"soulUrgeTotal"), innerDreams.number(u"innerDreamsTotal"),
                              birthDay.number(u"birthDay")};
    qint16 debt = 0;
    for (qint16 source : sources) {
        if (source == 13 || source == 14 || source == 16 || source == 19)
            debt = source;
    }
    ReadingValues values;
    values.setNumber(u"karmicDebt", debt);
    return values;
}

ReadingResult composeKarmicDebt(const ReadingValues &values, OutputMode mode)
{
    const ReadingTexts &texts = readingTexts(u"karmicDebt");
    const qint16 debt = values.number(u"karmicDebt");
    return composeNumberReading({u"karmicDebt", QString::number(debt), texts.textOr(debt, u"notApplicable"),
                                 headingBreaks(mode), false,
                                 texts.caption + QString::number(debt) + crlf()});
}

} // namespace numpro
