#include "cli/command.h"

#include "common/datelists.h"
#include "common/person.h"
#include "common/regularfile.h"
#include "numpro/relationships/marriagevibration.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace options {

const OptionEntry first{"first", "F", "First name.", Field::First};
const OptionEntry middle{"middle", "M", "Middle name (may be left out).", Field::Middle};
const OptionEntry last{"last", "L", "Last name.", Field::Last};
const OptionEntry month{"month", "MONTH",
                       "Birth month: January to December in any case, its first three letters, or 1 to 12.",
                       Field::Month, "January February March April May June July August September October "
                                     "November December"};
const OptionEntry day{"day", "D", "Birth day, 1 to 31.", Field::Day};
const OptionEntry year{"year", "Y", "Birth year, 1900 to 2050.", Field::Year};
const OptionEntry born{"born", "YYYY-MM-DD", "The birth date in one option, instead of --month, --day and --year.",
                      Field::Born};
const OptionEntry keepCase{"keep-case", nullptr,
                          "Take names exactly as given; without it their letters are made capitals, as the name "
                          "fields do when a person types."};
const OptionEntry format{"format", "FORMAT",
                        "json (the default): the values, one line; text: the reading as plain text; html: the "
                        "reading as one self-contained web page.",
                        Field::None, "json text html"};
const OptionEntry formatJsonOnly{"format", "FORMAT", "json (the default and, for this command, the only one): the "
                                                    "values, one line.",
                                Field::None, "json"};
const OptionEntry pretty{"pretty", nullptr, "Indent the JSON by two spaces, keys in the same order."};
const OptionEntry batch{"batch", "FILE",
                       "Read the subjects from a CSV file (- for standard input) whose header row names the "
                       "columns; print one JSON line per row, in order, as the rows come in.",
                       Field::None, nullptr};
const OptionEntry married{"married", "YYYY-MM-DD",
                          "The day of the marriage, 1900 to 2100, for the marriage vibration number.",
                          Field::Married};
const OptionEntry client{"client", "ID",
                        "Read for the client with this number in the client book: their names and birth date "
                        "take the place of the name and date options, and the reading is added to their history.",
                        Field::None, nullptr};
const OptionEntry clientSubject{"client", "ID",
                               "Read for the client with this number in the client book: their names and birth "
                               "date take the place of the name and date options.",
                               Field::None, nullptr};
const OptionEntry clients{"clients", "FILE",
                         "The client book file (default: $KESTRAVA_CLIENTS when set, otherwise "
                         "kestrava/clients.sqlite in the user's data folder).",
                         Field::None, nullptr};

} // namespace options

namespace {

bool isSubjectField(Field field)
{
    return field < Field::Today;
}

} // namespace

bool Command::hasField(Field field) const
{
    return option(field) != nullptr;
}

bool Command::hasOption(std::string_view name) const
{
    return std::any_of(options.begin(), options.end(), [name](const OptionEntry &entry) { return entry.name == name; });
}

const OptionEntry *Command::option(Field field) const
{
    for (const OptionEntry &entry : options) {
        if (entry.field == field && field != Field::None)
            return &entry;
    }
    return nullptr;
}

// A --format without json among its values (the report's pdf or html) is
// the command's own to read.
static bool readsFormatItself(const OptionEntry &entry)
{
    return std::string_view(entry.name) == "format" && entry.choices
           && !std::string_view(entry.choices).starts_with("json");
}

std::vector<OptionEntry> Command::optionList() const
{
    std::vector<OptionEntry> list;
    for (const OptionEntry &entry : options)
        list.push_back(readsFormatItself(entry) || std::string_view(entry.name) != "format" || documents
                           ? entry
                           : options::formatJsonOnly);
    return list;
}

namespace {

QString usageOption(const OptionEntry &entry)
{
    // A setting's few values are shown as they are: --format json|text|html.
    const QString value = entry.field == Field::None && entry.choices
                              ? QString::fromLatin1(entry.choices).replace(u' ', u'|')
                              : QString::fromLatin1(entry.valueName);
    return u"--"_s + QLatin1StringView(entry.name) + (value.isEmpty() ? QString() : u" "_s + value);
}

} // namespace

QStringList Command::usage() const
{
    const QString start = u"kestrava-cli "_s + QLatin1StringView(name);
    const std::vector<OptionEntry> entries = optionList();
    if (!actions.empty()) {
        QStringList lines;
        for (const Action &action : actions) {
            QString line = start + u" "_s + QLatin1StringView(action.name);
            if (*action.operands)
                line += u" "_s + QLatin1StringView(action.operands);
            for (const QString &wanted : QString::fromLatin1(action.options).split(u' ', Qt::SkipEmptyParts)) {
                for (const OptionEntry &entry : entries) {
                    if (wanted == QLatin1StringView(entry.name))
                        line += entry.required && !action.optionsOptional ? u" "_s + usageOption(entry)
                                                                          : u" ["_s + usageOption(entry) + u"]"_s;
                }
            }
            lines.append(line);
        }
        return lines;
    }
    // Name and date options are required (a middle name is not); the
    // subject can instead come from a client of the book or a batch file.
    // A person of several (--a-first, --b-first) who can be a client of the
    // book instead (--a-client) is shown both ways:
    // (--a-first F ... | --a-client ID).
    const auto personClient = [this](std::string_view entryName) -> std::string {
        const std::size_t dash = entryName.find('-');
        if (dash == std::string_view::npos)
            return {};
        std::string client = std::string(entryName.substr(0, dash)) + "-client";
        return hasOption(client) ? client : std::string();
    };
    std::vector<std::pair<std::string, QString>> people; // the client option, the person's required options
    for (const OptionEntry &entry : entries) {
        const std::string client = personClient(entry.name);
        if (!entry.required || client.empty())
            continue;
        if (people.empty() || people.back().first != client)
            people.emplace_back(client, QString());
        people.back().second += (people.back().second.isEmpty() ? QString() : u" "_s) + usageOption(entry);
    }
    const bool namesClients = std::any_of(entries.begin(), entries.end(), [](const OptionEntry &entry) {
        return std::string_view(entry.name).ends_with("-client");
    });
    QString single = start;
    QString dates, born, needed, rest;
    for (const auto &[client, options] : people)
        needed += u" ("_s + options + u" | --"_s + QString::fromStdString(client) + u" ID)"_s;
    for (const OptionEntry &entry : entries) {
        const std::string_view entryName(entry.name);
        if (entryName == "batch" || entryName == "client" || (entryName == "clients" && !namesClients))
            continue;
        const bool personOption = std::any_of(people.begin(), people.end(), [&](const auto &person) {
            return person.first == entryName || (entry.required && person.first == personClient(entryName));
        });
        if (personOption)
            continue;
        const QString option = usageOption(entry);
        if (entry.required) {
            needed += u" "_s + option;
            continue;
        }
        switch (entry.field) {
        case Field::Month:
        case Field::Day:
        case Field::Year:
            dates += (dates.isEmpty() ? QString() : u" "_s) + option;
            break;
        case Field::Born:
            born = option;
            break;
        case Field::Middle:
            single += u" ["_s + option + u"]"_s;
            break;
        case Field::Name:
        case Field::First:
        case Field::Last:
            single += u" "_s + option;
            break;
        default:
            rest += u" ["_s + option + u"]"_s;
        }
    }
    if (!dates.isEmpty())
        single += u" "_s + (born.isEmpty() ? dates : u"("_s + dates + u" | "_s + born + u")"_s);
    QStringList lines{single + needed + rest};
    if (hasOption("client"))
        lines.append(start + u" --client ID"_s + (namesClients ? QString() : u" [--clients FILE]"_s) + needed + rest);
    if (hasOption("batch"))
        lines.append(start + u" --batch FILE|- [options]"_s);
    return lines;
}

QList<JsonKey> jsonKeyList(std::initializer_list<std::pair<const char *, const char *>> keys)
{
    QList<JsonKey> list;
    for (const auto &[key, meaning] : keys)
        list.append({QString::fromUtf8(key), QString::fromUtf8(meaning)});
    return list;
}

std::optional<QDate> parseIsoDate(const QString &text)
{
    // YYYY-MM-DD exactly: four, two and two digits.
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    auto digits = [&](qsizetype from, qsizetype count) {
        int value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (text[i] < u'0' || text[i] > u'9')
                return -1;
            value = value * 10 + (text[i].unicode() - u'0');
        }
        return value;
    };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (year < 1 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> parseMarriageDate(const QString &text)
{
    const std::optional<QDate> date = parseIsoDate(text);
    if (!date || date->year() < numpro::kFirstMarriageYear || date->year() > numpro::kLastMarriageYear)
        return std::nullopt;
    return date;
}

QString marriageDateProblem(QStringView source, const QString &text)
{
    return u"%1married must be a date written YYYY-MM-DD from %2 to %3, not \"%4\""_s.arg(source)
        .arg(numpro::kFirstMarriageYear)
        .arg(numpro::kLastMarriageYear)
        .arg(kestrava::shownExcerpt(text));
}

QString monthName(const QString &text)
{
    const QStringList &months = kestrava::monthNames();
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        bool ok = false;
        const int number = text.toInt(&ok);
        return ok && number >= 1 && number <= 12 ? months[number - 1] : text;
    }
    for (const QString &month : months) {
        if (text.compare(month, Qt::CaseInsensitive) == 0
            || (text.size() == 3 && month.startsWith(text, Qt::CaseInsensitive)))
            return month;
    }
    return text;
}

QString dayNumber(const QString &text)
{
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return text;
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= 1 && number <= 31 ? QString::number(number) : text;
}

QString Subject::fullName() const
{
    if (!text(Field::Name).isEmpty())
        return text(Field::Name);
    return QStringList{text(Field::First), text(Field::Middle), text(Field::Last)}.join(u' ').simplified();
}

QString documentTitle(const Command &command, const Subject &subject)
{
    const QString name = subject.fullName();
    return kestrava::programName(command.program) + u" reading"_s + (name.isEmpty() ? QString() : u": "_s + name);
}

std::optional<QString> makeSubject(std::array<QString, kFieldCount> raw, bool keepCase, const QDate &today,
                                   QStringView source, Subject &subject)
{
    auto at = [&raw](Field field) -> QString & { return raw[std::size_t(field)]; };
    if (!at(Field::Born).isEmpty()) {
        // Split as typed, so that the lists' own checks judge each part
        // (a month 13 or a year 1899 gets the program's message).
        const QString &born = at(Field::Born);
        const bool written = born.size() == 10 && born[4] == u'-' && born[7] == u'-'
                             && std::all_of(born.begin(), born.end(),
                                            [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; })
                             && born.count(u'-') == 2;
        if (!written)
            return u"%1born must be a date written YYYY-MM-DD, not \"%2\""_s.arg(source, kestrava::shownExcerpt(born));
        at(Field::Year) = born.left(4);
        at(Field::Month) = born.mid(5, 2);
        at(Field::Day) = born.mid(8, 2);
    }
    at(Field::Day) = dayNumber(at(Field::Day));
    at(Field::Month) = monthName(at(Field::Month));
    if (!keepCase) {
        for (Field name : {Field::Name, Field::First, Field::Middle, Field::Last})
            at(name) = kestrava::capitalLetters(at(name));
    }
    subject.today = today;
    if (!at(Field::Today).isEmpty()) {
        const std::optional<QDate> date = parseIsoDate(at(Field::Today));
        if (!date)
            return u"%1today must be a date written YYYY-MM-DD, not \"%2\""_s.arg(
                source, kestrava::shownExcerpt(at(Field::Today)));
        subject.today = *date;
    }
    if (!at(Field::Married).isEmpty() && !parseMarriageDate(at(Field::Married)))
        return marriageDateProblem(source, at(Field::Married));
    for (int f = 0; f < kFieldCount; ++f)
        subject.text(Field(f)) = std::move(raw[std::size_t(f)]);
    return std::nullopt;
}

namespace {

void printUsage(const Command &command, QTextStream &stream)
{
    const QStringList lines = command.usage();
    stream << "usage: " << lines.join(u"\n       "_s) << "\n";
}

} // namespace

int usageError(const Command &command, const QString &message, QTextStream &err)
{
    err << "kestrava-cli: " << message << "\n";
    printUsage(command, err);
    return kExitUsage;
}

std::optional<int> parseInvocation(const Command &command, const QStringList &arguments, Invocation &call,
                                   QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(command.description));
    const std::vector<OptionEntry> entries = command.optionList();
    for (const OptionEntry &entry : entries) {
        QCommandLineOption option(QString::fromLatin1(entry.name), QString::fromUtf8(entry.description));
        if (entry.valueName)
            option.setValueName(QString::fromLatin1(entry.valueName));
        parser.addOption(option);
    }
    // Not addHelpOption(): its --help-all would print Qt's own options,
    // which only Qt's parser of the whole application can list.
    parser.addOption(QCommandLineOption({u"h"_s, u"help"_s}, u"Show this help."_s));
    auto usageError = [&](const QString &message) { return ::usageError(command, message, err); };
    if (!parser.parse(QStringList{u"kestrava-cli "_s + QLatin1StringView(command.name)} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(u"help"_s)) {
        printUsage(command, out);
        out << "\n" << parser.applicationDescription() << "\n\n";
        if (!command.actions.empty()) {
            out << "Actions:\n";
            qsizetype width = 8;
            for (const Action &action : command.actions)
                width = std::max(width, qsizetype(std::strlen(action.name)));
            for (const Action &action : command.actions)
                out << "  " << QString::fromLatin1(action.name).leftJustified(width) << " " << action.description << "\n";
            out << "\n";
        }
        out << parser.helpText().section(u"Options:"_s, 1).prepend(u"Options:"_s).trimmed() << "\n";
        return kExitDone;
    }
    if (command.actions.empty() && !parser.positionalArguments().isEmpty())
        return usageError(u"unexpected argument \""_s + parser.positionalArguments().front() + u"\""_s);
    call.operands = parser.positionalArguments();
    for (const OptionEntry &entry : entries) {
        const QString name = QString::fromLatin1(entry.name);
        if (parser.isSet(name))
            call.values.insert(name, entry.valueName ? parser.value(name) : QString());
    }

    for (const OptionEntry &entry : entries) {
        if (entry.field == Field::None || !parser.isSet(QString::fromLatin1(entry.name)))
            continue;
        call.isSet[std::size_t(entry.field)] = true;
        call.given[std::size_t(entry.field)] = parser.value(QString::fromLatin1(entry.name));
    }
    auto isSet = [&](const char *name) {
        return std::any_of(entries.begin(), entries.end(),
                           [name](const OptionEntry &entry) { return std::string_view(entry.name) == name; })
               && parser.isSet(QString::fromLatin1(name));
    };
    const bool sharedFormat = std::none_of(entries.begin(), entries.end(), &readsFormatItself);
    const QString format = sharedFormat && isSet("format") ? parser.value(u"format"_s) : QString();
    if (format.isEmpty() || format == u"json"_s)
        call.format = OutputFormat::Json;
    else if (format == u"text"_s && command.documents)
        call.format = OutputFormat::Text;
    else if (format == u"html"_s && command.documents)
        call.format = OutputFormat::Html;
    else if (command.documents)
        return usageError(u"--format must be json, text or html, not \""_s + format + u"\""_s);
    else
        return usageError(u"--format must be json; "_s + QLatin1StringView(command.name)
                          + u" writes no text or html yet, not \""_s + format + u"\""_s);
    call.pretty = isSet("pretty");
    call.keepCase = isSet("keep-case");

    call.today = QDate::currentDate();
    if (call.isSet[std::size_t(Field::Today)]) {
        const QString &text = call.given[std::size_t(Field::Today)];
        const std::optional<QDate> today = parseIsoDate(text);
        if (!today)
            return usageError(u"--today must be a date written YYYY-MM-DD, not \""_s + text + u"\""_s);
        call.today = *today;
    }
    if (call.isSet[std::size_t(Field::Married)]) {
        const QString &text = call.given[std::size_t(Field::Married)];
        if (!parseMarriageDate(text))
            return usageError(marriageDateProblem(u"--", text));
    }
    if (call.isSet[std::size_t(Field::Born)]) {
        for (Field part : {Field::Month, Field::Day, Field::Year}) {
            if (call.isSet[std::size_t(part)])
                return usageError(u"--born gives the whole birth date; leave out --"_s
                                  + QLatin1StringView(command.option(part)->name));
        }
    }
    if (isSet("client")) {
        for (const OptionEntry &entry : entries) {
            if (isSubjectField(entry.field) && call.isSet[std::size_t(entry.field)])
                return usageError(u"--client takes the name and birth date from the client book, not from --"_s
                                  + QLatin1StringView(entry.name));
        }
        if (isSet("batch"))
            return usageError(u"--client reads for one client; leave out --batch"_s);
    }
    if (isSet("batch")) {
        for (const OptionEntry &entry : entries) {
            if (isSubjectField(entry.field) && call.isSet[std::size_t(entry.field)])
                return usageError(u"--batch takes the subjects from the file, not from --"_s
                                  + QLatin1StringView(entry.name));
        }
        if (call.format != OutputFormat::Json)
            return usageError(u"--batch writes JSON lines only"_s);
        if (call.pretty)
            return usageError(u"--batch writes one JSON line per row; leave out --pretty"_s);
        call.batch = parser.value(u"batch"_s);
    }
    return std::nullopt;
}
