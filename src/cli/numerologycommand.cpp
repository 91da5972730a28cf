#include "cli/numerologycommand.h"

#include "cli/clientaccess.h"
#include "cli/program.h"
#include "common/subjectcheck.h"
#include "numpro/readings/comprehensivereading.h"
#include "numpro/readings/readinglist.h"

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    options::first,
    options::middle,
    options::last,
    options::month,
    options::day,
    options::year,
    options::born,
    {"today", "YYYY-MM-DD", "Today's date for the age and personal-cycle readings (default: the local date).",
     Field::Today},
    options::married,
    options::client,
    options::clients,
    options::keepCase,
    options::format,
    options::pretty,
    options::batch,
};

// The subject's problem in the input window's words, then a value that is
// no entry of its list; nothing when the subject can be read.
std::optional<QString> read(const Subject &s, numpro::ReadingInputs &inputs)
{
    inputs = {s.text(Field::First), s.text(Field::Middle), s.text(Field::Last), s.text(Field::Month),
              s.text(Field::Day),   s.text(Field::Year),   s.today};
    // makeSubject has refused a marriage date that is none.
    if (const QString &married = s.text(Field::Married); !married.isEmpty())
        inputs.marriageDate = parseMarriageDate(married).value_or(QDate());
    if (const auto problem = kestrava::checkSubject(inputs.firstName, inputs.lastName, inputs.day, inputs.month,
                                                    inputs.year))
        return problem->message;
    if (const auto problem = kestrava::checkDateEntries(inputs.day, inputs.month, inputs.year))
        return problem->message;
    return std::nullopt;
}

QByteArray json(const numpro::ReadingInputs &inputs)
{
    numpro::ResultState state;
    numpro::computeAllReadings(inputs, state);
    return numpro::valuesToJsonText(state);
}

// A batch worker's reader: the object json() gives, from one state the
// worker keeps for all its rows (cleared for each, so its room is reused)
// and written straight into the batch's lines.
BatchReader batchReader()
{
    return [state = std::make_shared<numpro::ResultState>()](const Subject &subject,
                                                              std::string &out) -> std::optional<QString> {
        numpro::ReadingInputs inputs;
        if (std::optional<QString> problem = read(subject, inputs))
            return problem;
        state->clear();
        numpro::computeAllReadings(inputs, *state);
        numpro::appendValuesJson(out, *state);
        return std::nullopt;
    };
}

// The comprehensive document; the Maturity message, which the windows show
// apart, stands in its place.
QList<richtext::Composition> document(const numpro::ReadingInputs &inputs)
{
    numpro::ResultState state;
    QList<richtext::Composition> parts;
    for (const numpro::ReadingResult &item : numpro::comprehensiveReading(inputs, state))
        parts.append(item.text);
    return parts;
}

// The keys of every reading, in list order, as three subjects show them:
// one whose readings all have numbers, one who married as well, and one
// whose name holds no letter with a value, which adds the flags that say so.
QList<JsonKey> jsonKeys()
{
    const numpro::ReadingInputs subjects[] = {
        {u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s, QDate(2024, 3, 7)},
        {u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s, QDate(2024, 3, 7), QDate(2001, 6, 16)},
        {u"mary"_s, u"ann"_s, u"smith"_s, u"August"_s, u"6"_s, u"1979"_s, QDate(2024, 3, 7)},
    };
    numpro::ResultState states[std::size(subjects)];
    for (std::size_t i = 0; i < std::size(subjects); ++i)
        numpro::computeAllReadings(subjects[i], states[i]);
    QList<JsonKey> keys;
    QStringList written; // a key two readings share (age) is written with the first
    for (const numpro::Reading &reading : numpro::readingList()) {
        // The union of the subjects' keys, each after the key it follows.
        QStringList own;
        for (const numpro::ResultState &state : states) {
            const numpro::ReadingValues *values = state.values(reading.id);
            qsizetype at = 0;
            for (const auto &entry : values ? values->entries() : numpro::ReadingValues::Entries()) {
                const QString key = entry.first.toString();
                const qsizetype found = own.indexOf(key);
                if (found >= 0)
                    at = found + 1;
                else
                    own.insert(at++, key);
            }
        }
        auto holds = [&reading, &states](std::size_t subject, const QString &key) {
            const numpro::ReadingValues *values = states[subject].values(reading.id);
            return values && std::any_of(values->entries().begin(), values->entries().end(),
                                         [&key](const auto &entry) { return entry.first == key; });
        };
        for (const QString &key : own) {
            if (written.contains(key))
                continue;
            written.append(key);
            const bool always = holds(0, key);
            const QString caption = u"the "_s + reading.buttonCaption.toString() + u" reading"_s;
            if (!always && holds(1, key)) {
                keys.append({key, caption + u" (with --married only)"_s});
                continue;
            }
            keys.append({key, always ? caption
                                     : caption + u": true when the name holds no letter of the kind it counts "
                                                  "(left out otherwise)"_s});
        }
    }
    return keys;
}

constexpr Program<numpro::ReadingInputs> kProgram{&read, &json, &document, &batchReader};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

std::optional<QString> readNumerologySubject(const Subject &subject, numpro::ReadingInputs &inputs)
{
    return read(subject, inputs);
}

std::optional<int> readNumerologyCall(const Command &command, Invocation &call, QTextStream &err, Subject &subject,
                                      numpro::ReadingInputs &inputs)
{
    if (call.values.contains(u"client"_s)) {
        ClientReading forClient;
        if (const std::optional<int> failed = forClient.fill(command, call, err))
            return failed;
    }
    std::optional<QString> problem = makeSubject(call.given, call.keepCase, call.today, u"--", subject);
    if (!problem)
        problem = readNumerologySubject(subject, inputs);
    if (problem) {
        err << "kestrava-cli: " << *problem << "\n";
        return kExitUsage;
    }
    return std::nullopt;
}

const Command kNumerologyCommand{
    "numerology",
    "every Variduzeda Vad reading for one person or a CSV file",
    "Every Variduzeda Vad reading for one person, or for a CSV file of people.",
    kestrava::ProgramId::NumerologyPro,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
