#include "cli/compatibilitycommand.h"

#include "cli/clientaccess.h"
#include "common/jsonwriter.h"
#include "cli/numerologycommand.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/marriagevibration.h"
#include "richtext/composition.h"

#include <QJsonObject>
#include <QTextStream>

#include <array>

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    {"a-first", "F", "The first person's first name.", Field::None, nullptr, true},
    {"a-middle", "M", "The first person's middle name (may be left out).", Field::None},
    {"a-last", "L", "The first person's last name.", Field::None, nullptr, true},
    {"a-born", "YYYY-MM-DD", "The first person's birth date.", Field::None, nullptr, true},
    {"b-first", "F", "The second person's first name.", Field::None, nullptr, true},
    {"b-middle", "M", "The second person's middle name (may be left out).", Field::None},
    {"b-last", "L", "The second person's last name.", Field::None, nullptr, true},
    {"b-born", "YYYY-MM-DD", "The second person's birth date.", Field::None, nullptr, true},
    {"a-client", "ID",
     "The first person is the client with this number in the client book: their names, in capitals, and birth "
     "date take the place of --a-first, --a-middle, --a-last and --a-born, and the reading is added to their "
     "history.",
     Field::None, nullptr},
    {"b-client", "ID", "The second person is the client with this number in the client book, as --a-client.",
     Field::None, nullptr},
    options::clients,
    options::married,
    {"today", "YYYY-MM-DD",
     "The day the reading is made for: a marriage date after it is a wedding to come, read as \"Marrying on\" "
     "(default: the local date).",
     Field::Today},
    {"keep-case", nullptr,
     "Take the names typed in the options exactly as given; without it their letters are made capitals, as the "
     "name fields do when a person types. A client's names are always read in capitals."},
    options::format,
    options::pretty,
};

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"a", "the first person's lifePath, destiny, soulUrge, innerDreams, birthDay and maturity numbers, in this "
              "order and under the keys of numerology (0 where the name holds no letter the number counts; maturity null "
              "where it cannot be computed)"},
        {"b", "the second person's numbers, as a"},
        {"pairs", "lifePath, destiny and soulUrge, in this order, each {\"numbers\": [a's, b's], \"rating\": "
                  "\"harmonious\", \"workable\" or \"challenging\"}; the rating is null when either number is none "
                  "of 1 to 9, 11 and 22"},
        {"marriageVibration", "the marriage vibration number of --married (with --married only)"},
    });
}

// One person of the pair: typed in the options named with `prefix` ("a" or
// "b"), or a client of the book, whose reading then joins their history.
struct Side
{
    QString prefix;
    QString who; // "the first person"
    std::optional<ClientReading> client;
    numpro::ReadingInputs inputs;
};

// Why the options cannot give the side: a client's number together with
// typed names or date, or a typed person lacking one.
std::optional<QString> optionsProblem(const Command &command, const Invocation &call, const Side &side)
{
    const QString clientOption = side.prefix + u"-client"_s;
    for (const OptionEntry &entry : command.options) {
        const QString name = QLatin1StringView(entry.name);
        if (!name.startsWith(side.prefix + u'-') || name == clientOption)
            continue;
        if (call.values.contains(clientOption) && call.values.contains(name))
            return u"--%1 takes %2's names and birth date from the client book, not from --%3"_s.arg(
                clientOption, side.who, name);
        if (!call.values.contains(clientOption) && entry.required && !call.values.contains(name))
            return u"--%1 is missing: %2 --%3 ID takes %4 from the client book instead."_s.arg(
                name, QString::fromUtf8(entry.description), clientOption, side.who);
    }
    return std::nullopt;
}

// Reads the side by the rules of numerology: the exit status when it cannot
// be read (said on err), nothing otherwise.
std::optional<int> readSide(const Invocation &call, Side &side, QTextStream &err)
{
    auto value = [&](const char *option) { return call.values.value(side.prefix + u'-' + QLatin1StringView(option)); };
    std::array<QString, kFieldCount> raw;
    bool keepCase = call.keepCase;
    if (call.values.contains(side.prefix + u"-client"_s)) {
        if (const std::optional<int> failed = side.client.emplace().find(call, value("client"), err))
            return failed;
        // The book keeps names as written; a reading takes them in capitals.
        const kestrava::Person person = kestrava::readingPerson(side.client->client().person);
        raw[std::size_t(Field::First)] = person.firstName;
        raw[std::size_t(Field::Middle)] = person.middleName;
        raw[std::size_t(Field::Last)] = person.lastName;
        raw[std::size_t(Field::Born)] = person.birthDate.toString(Qt::ISODate);
        keepCase = true;
    } else {
        raw[std::size_t(Field::First)] = value("first");
        raw[std::size_t(Field::Middle)] = value("middle");
        raw[std::size_t(Field::Last)] = value("last");
        raw[std::size_t(Field::Born)] = value("born");
    }
    Subject subject;
    const QString source = u"--"_s + side.prefix + u'-';
    std::optional<QString> problem = makeSubject(raw, keepCase, call.today, source, subject);
    if (!problem) {
        problem = readNumerologySubject(subject, side.inputs);
        if (problem)
            problem = side.who + u": "_s + *problem;
    }
    if (problem) {
        err << "kestrava-cli: " << *problem << "\n";
        return kExitUsage;
    }
    return std::nullopt;
}

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    // A batch row would have to hold two people and a date; the pairs come
    // from the options only.
    for (const QString &argument : arguments) {
        if (argument == u"--batch"_s || argument.startsWith(u"--batch="_s))
            return usageError(command, u"compatibility reads one pair from the options; it takes no --batch file"_s,
                              err);
    }
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;
    std::array<Side, 2> sides{Side{u"a"_s, u"the first person"_s, {}, {}},
                              Side{u"b"_s, u"the second person"_s, {}, {}}};
    for (const Side &side : sides) {
        if (const std::optional<QString> problem = optionsProblem(command, call, side))
            return usageError(command, *problem, err);
    }
    for (Side &side : sides) {
        if (const std::optional<int> failed = readSide(call, side, err))
            return *failed;
    }
    const numpro::ReadingInputs &first = sides[0].inputs;
    const numpro::ReadingInputs &second = sides[1].inputs;
    // parseInvocation has refused a marriage date that is none.
    const QDate married = call.isSet[std::size_t(Field::Married)]
                              ? parseMarriageDate(call.given[std::size_t(Field::Married)]).value_or(QDate())
                              : QDate();
    const numpro::Compatibility compatibility = numpro::computeCompatibility(first, second, married);

    switch (call.format) {
    case OutputFormat::Json: {
        const QByteArray json = numpro::compatibilityJson(compatibility);
        out << (call.pretty ? kestrava::indentJson(json) : json) << "\n";
        break;
    }
    case OutputFormat::Text:
        for (const richtext::Composition &part : numpro::composeCompatibility(compatibility))
            out << richtext::toPlainText(part);
        break;
    case OutputFormat::Html:
        out << richtext::toHtmlPage(kestrava::programName(command.program) + u" compatibility: "_s
                                        + numpro::compatibilityName(first) + u" and "_s
                                        + numpro::compatibilityName(second),
                                    numpro::composeCompatibility(compatibility));
        break;
    }
    out.flush();

    // Each client gets the reading in their history, with the other person
    // as the partner; a client on both sides gets it once.
    int status = kExitDone;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        Side &side = sides[i];
        const Side &other = sides[1 - i];
        if (!side.client || (i == 1 && sides[0].client && sides[0].client->client().id == side.client->client().id))
            continue;
        const int recorded = side.client->recordReading(
            command.program, numpro::compatibilityHistoryInputs(side.inputs, other.inputs, married), err);
        status = std::max(status, recorded);
    }
    return status;
}

} // namespace

const Command kCompatibilityCommand{
    "compatibility",
    "two people's Variduzeda Vad numbers side by side, their pairs rated",
    "Two people's core Variduzeda Vad numbers side by side, with the life path, destiny and soul urge pairs "
    "rated and read, and with the day they married, the marriage vibration number.",
    kestrava::ProgramId::NumerologyPro,
    kOptions,
    &jsonKeys,
    true,
    &run,
};
