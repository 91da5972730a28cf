#include "numpro/readings/readinglist.h"

#include "numpro/readings/corereadings.h"
#include "numpro/readings/karmicreadings.h"
#include "numpro/readings/minorreadings.h"
#include "numpro/readings/periodreadings.h"
#include "numpro/readings/personalreadings.h"
#include "numpro/readings/pinnaclereadings.h"
#include "numpro/relationships/marriagevibration.h"
#include "common/numerology.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <optional>

namespace numpro {

namespace {

// Document order: Life Path, Marriage Vibration (with a marriage date),
// Destiny, Soul Urge, Inner Dreams, Birthday, Challenge, Personal Year, Personal Day, Personal Month, Life Path Periods,
// Maturity, Essence, Planes of Expression, Pinnacle Phases, Hidden Passion,
// Karmic Lessons, Balance, Karmic Debt, Subconscious Self, L/E Bridge,
// H/P Bridge, Rational Thought.
constexpr std::array kReadings = {
    Reading{u"lifePath", u"cmdLifePath", u"LifePath Number", 0, 6, u"lblLifePath", computeLifePath, composeLifePath},
    // Its button sits with the marriage date lists, not on the grid.
    Reading{u"marriageVibration", u"cmdMarriageVibrationNumber", u"Marriage Vibration Number", -1, 0,
            u"lblMarriageVibrationNumber", computeMarriageVibration, composeMarriageVibration},
    Reading{u"destiny", u"cmdDestiny", u"Destiny or Expressions Number", 0, 7, u"lblDestiny", computeDestiny,
            composeDestiny},
    Reading{u"soulUrge", u"cmdSoulUrge", u"Soul Urge or Heart's Desire Number", 2, 6, u"lblSoulUrge",
            computeSoulUrge, composeSoulUrge},
    Reading{u"innerDreams", u"cmdInnerDreams", u"Inner Dreams or Personality Number", 2, 4, u"lblInnerDreams",
            computeInnerDreams, composeInnerDreams},
    Reading{u"birthDay", u"cmdBirthDay", u"Birthday Number", 1, 0, u"lblBirthDay", computeBirthDay,
            composeBirthDay},
    Reading{u"challenges", u"cmdChallenge_1", u"Challenge Number", 1, 1, u"lblChallenge", computeChallenges,
            composeChallenges},
    Reading{u"personalYear", u"cmdPersonal", u"Personal Year", 0, 3, u"lblPersonal", computePersonalYear, composePersonalYear},
    Reading{u"personalDay", u"cmdPersonalDay", u"Personal Day", 1, 4, u"lblPersonalDay", computePersonalDay,
            composePersonalDay},
    Reading{u"personalMonth", u"cmdPersonalMonth", u"Personal Month", 0, 0, u"lblPersonalMonth", computePersonalMonth,
            composePersonalMonth},
    Reading{u"lifePathPeriods", u"cmdLifePathPeriods", u"Life Path Periods", 0, 2, u"lblLifePathPeriods",
            computeLifePathPeriods, composeLifePathPeriods},
    Reading{u"maturity", u"cmdMaturityNumber", u"Realization or Maturity Number", 2, 3, u"lblMaturity",
            computeMaturity, composeMaturity},
    Reading{u"essence", u"cmdEssence", u"Essence", 1, 8, u"lblEssence", computeEssence, composeEssence},
    Reading{u"planes", u"cmdPersonalAspects", u"Planes of Expression or Personal Aspects", 2, 5,
            u"lblPersonalAspects", computePlanes, composePlanes},
    Reading{u"pinnacles", u"cmdPinnaclePhases", u"Pinnacle Phases", 0, 4, u"lblPinnaclePhases", computePinnacles,
            composePinnacles},
    Reading{u"hiddenPassion", u"cmdHiddenPassionNumber", u"Hidden Passion Number", 0, 1,
            u"lblHiddenPassionNumber", computeHiddenPassion, composeHiddenPassion},
    Reading{u"karmicLessons", u"cmdKarmicLessonsNumber", u"Karmic Lessons Number", 0, 8,
            u"lblKarmicLessonsNumber", computeKarmicLessons, composeKarmicLessons},
    Reading{u"balance", u"cmdBalanceNumber", u"Balance Number", 1, 3, u"lblBalanceNumber", computeBalance,
            composeBalance},
    Reading{u"karmicDebt", u"cmdKarmicDebtNumbers", u"Karmic Debt Numbers", 1, 2, u"lblKarmicDebtNumbers",
            computeKarmicDebt, composeKarmicDebt},
    Reading{u"subconsciousSelf", u"cmdSubconsciousSelfNumber", u"Subconscious Self Number", 0, 5,
            u"lblSubconsciousSelfNumber", computeSubconsciousSelf, composeSubconsciousSelf},
    Reading{u"leBridge", u"cmdLEBidgeNumber", u"L/E Bridge Number", 1, 7, u"lblLEBridgeNumber", computeLEBridge,
            composeLEBridge},
    Reading{u"hpBridge", u"cmdHPBridgeNumber", u"H/P Bridge Number", 1, 6, u"lblHPBridgeNumber", computeHPBridge,
            composeHPBridge},
    Reading{u"rationalThought", u"cmdRationalThoughtNumber", u"Rational Thought Number", 1, 5,
            u"lblRationalThoughtNumber", computeRationalThought, composeRationalThought},
};

// What a reading's hidden label shows when the reading sets no caption as it
// computes (Birthday does): its number in decimal, or, for a reading
// of several numbers, those numbers separated by single blanks in the order
// the reading shows them.  Nothing for a number it could not compute.
std::optional<QString> numberCaption(const Reading &reading, const ReadingValues &values)
{
    // The period the person is in now, the number of the reading's heading.
    if (reading.id == u"lifePathPeriods")
        return QString::number(values.number(u"currentPeriod"));
    QJsonValue value = values.value(reading.id);
    if (value.isObject()) {
        // The plane percentages, in the order of the personal aspects block.
        const QJsonObject planes = value.toObject();
        QJsonArray ordered;
        for (QStringView plane : {u"mental", u"physical", u"emotional", u"intuitive"})
            ordered.append(planes.value(plane));
        value = ordered;
    }
    if (value.isArray()) {
        QStringList numbers;
        for (const QJsonValue &number : value.toArray())
            numbers << QString::number(number.toInt());
        return numbers.join(u' ');
    }
    if (value.isDouble())
        return QString::number(value.toInt());
    return std::nullopt;
}

} // namespace

std::span<const Reading> readingList()
{
    return kReadings;
}

std::ptrdiff_t readingIndex(QStringView id)
{
    for (std::size_t i = 0; i < kReadings.size(); ++i) {
        const QStringView listed = kReadings[i].id;
        if (listed.size() == id.size()
            && (listed.data() == id.data() || (listed.front() == id.front() && listed == id)))
            return std::ptrdiff_t(i);
    }
    return -1;
}

const Reading *findReading(QStringView id)
{
    const std::ptrdiff_t index = readingIndex(id);
    return index < 0 ? nullptr : &kReadings[std::size_t(index)];
}

ReadingResult runReading(const Reading &reading, const ReadingInputs &inputs, ResultState &state, OutputMode mode)
{
    if (!reading.isOffered())
        return {};
    ReadingResult result = reading.compose(state.store(reading.id, reading.compute(inputs, state), inputs), mode);
    // The comprehensive document says it once, under the name.
    if (mode == OutputMode::Display && readsName(reading.id) && !result.text.isEmpty()) {
        if (const QString sentence = uncountedLettersSentence(inputs); !sentence.isEmpty())
            result.text.bold(false).defaultColour().size(0).underline(false).align(richtext::Align::Left)
                .append(sentence + richtext::crlf());
    }
    return result;
}

bool readsName(QStringView id)
{
    static constexpr QStringView kNameReadings[] = {
        u"destiny", u"soulUrge", u"innerDreams", u"maturity", u"essence", u"planes", u"hiddenPassion",
        u"karmicLessons", u"balance", u"karmicDebt", u"subconsciousSelf", u"leBridge", u"hpBridge",
        u"rationalThought"};
    return std::find(std::begin(kNameReadings), std::end(kNameReadings), id) != std::end(kNameReadings);
}

QString uncountedLettersSentence(const ReadingInputs &inputs)
{
    return kestrava::unvaluedLettersSentence(
        kestrava::unvaluedLetters(inputs.firstName + u' ' + inputs.middleName + u' ' + inputs.lastName));
}

void computeAllReadings(const ReadingInputs &inputs, ResultState &state)
{
    for (const Reading &reading : kReadings) {
        if (reading.isOffered())
            state.store(reading.id, reading.compute(inputs, state), inputs);
    }
}

void appendValuesJson(std::string &out, const ResultState &state)
{
    JsonWriter json(out);
    json.beginObject();
    // A key two readings share (age) is written once.  Each key written
    // leaves a mark by its length and first character; only a key that
    // finds its mark is looked for among them.
    QVarLengthArray<QStringView, 48> written;
    quint64 marks = 0;
    for (const Reading &reading : kReadings) {
        const ReadingValues *values = state.values(reading.id);
        if (!values)
            continue;
        for (const auto &[key, value] : values->entries()) {
            const quint64 mark = quint64(1) << ((quint64(key.size()) * 31 + (key.isEmpty() ? 0 : key.front().unicode())) % 64);
            if ((marks & mark) && written.contains(key))
                continue;
            marks |= mark;
            written.append(key);
            json.key(key);
            value.write(json);
        }
    }
    json.endObject();
}

QByteArray valuesToJsonText(const ResultState &state)
{
    std::string out;
    out.reserve(1024);
    appendValuesJson(out, state);
    return QByteArray(out.data(), qsizetype(out.size()));
}

QJsonObject valuesToJson(const ResultState &state)
{
    return QJsonDocument::fromJson(valuesToJsonText(state)).object();
}

QHash<QString, QString> hiddenLabelCaptions(const ResultState &state)
{
    QHash<QString, QString> captions;
    for (const Reading &reading : kReadings) {
        const ReadingValues *values = state.values(reading.id);
        if (!values)
            continue;
        if (const std::optional<QString> caption =
                values->labelCaption() ? values->labelCaption() : numberCaption(reading, *values))
            captions.insert(reading.hiddenLabel.toString(), *caption);
    }
    return captions;
}

} // namespace numpro
