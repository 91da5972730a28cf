#include "cli/compatibilitycommand.h"

#include "cli/jsonwriter.h"
#include "cli/numerologycommand.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/marriagevibration.h"
#include "richtext/composition.h"

#include <QJsonObject>
#include <QTextStream>

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
    options::married,
    options::keepCase,
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

// The six numbers, written even where one is missing, so both people's
// objects always have the same keys.
QByteArray numbersJson(const QJsonObject &numbers)
{
    JsonObjectWriter json;
    for (QStringView key : numpro::kCompatibilityNumberKeys) {
        const QByteArray name = key.toUtf8();
        const QJsonValue value = numbers.value(key);
        if (value.isDouble())
            json.add(name.constData(), value.toInt());
        else
            json.addNull(name.constData());
    }
    return json.finish();
}

QByteArray compatibilityJson(const numpro::Compatibility &c)
{
    JsonObjectWriter pairs;
    for (const numpro::NumberPair &pair : c.pairs) {
        JsonObjectWriter item;
        item.add("numbers", QList<int>{pair.first, pair.second});
        if (pair.rating)
            item.add("rating", numpro::ratingName(*pair.rating));
        else
            item.addNull("rating");
        pairs.addJson(pair.key.toUtf8().constData(), item.finish());
    }
    JsonObjectWriter json;
    json.addJson("a", numbersJson(c.firstNumbers)).addJson("b", numbersJson(c.secondNumbers)).addJson("pairs",
                                                                                                     pairs.finish());
    if (c.marriageDate.isValid())
        json.add("marriageVibration", int(numpro::marriageVibrationNumber(c.marriageDate)));
    return json.finish();
}

// One person from the options named with `prefix` ("a" or "b"), read by the
// rules of numerology; the problem otherwise, naming the person.
std::optional<QString> readPerson(const Invocation &call, const QString &prefix, const QString &who,
                                  numpro::ReadingInputs &inputs)
{
    auto value = [&](const char *option) { return call.values.value(prefix + u'-' + QLatin1StringView(option)); };
    std::array<QString, kFieldCount> raw;
    raw[std::size_t(Field::First)] = value("first");
    raw[std::size_t(Field::Middle)] = value("middle");
    raw[std::size_t(Field::Last)] = value("last");
    raw[std::size_t(Field::Born)] = value("born");
    Subject subject;
    const QString source = u"--"_s + prefix + u'-';
    if (std::optional<QString> problem = makeSubject(raw, call.keepCase, call.today, source, subject))
        return problem;
    if (std::optional<QString> problem = readNumerologySubject(subject, inputs))
        return who + u": "_s + *problem;
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
    for (const OptionEntry &entry : command.options) {
        if (entry.required && !call.values.contains(QLatin1StringView(entry.name)))
            return usageError(command, u"--%1 is missing: %2"_s.arg(QLatin1StringView(entry.name),
                                                                    QString::fromUtf8(entry.description)),
                              err);
    }

    numpro::ReadingInputs first, second;
    std::optional<QString> problem = readPerson(call, u"a"_s, u"the first person"_s, first);
    if (!problem)
        problem = readPerson(call, u"b"_s, u"the second person"_s, second);
    if (problem) {
        err << "kestrava-cli: " << *problem << "\n";
        return kExitUsage;
    }
    // parseInvocation has refused a marriage date that is none.
    const QDate married = call.isSet[std::size_t(Field::Married)]
                              ? parseMarriageDate(call.given[std::size_t(Field::Married)]).value_or(QDate())
                              : QDate();
    const numpro::Compatibility compatibility = numpro::computeCompatibility(first, second, married);

    switch (call.format) {
    case OutputFormat::Json: {
        const QByteArray json = compatibilityJson(compatibility);
        out << (call.pretty ? indentJson(json) : json) << "\n";
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
    return kExitDone;
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
