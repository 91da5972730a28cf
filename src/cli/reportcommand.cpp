#include "cli/reportcommand.h"

#include "cli/clientaccess.h"
#include "cli/numerologycommand.h"
#include "common/datelists.h"
#include "common/person.h"
#include "common/randomsource.h"
#include "common/regularfile.h"
#include "numpro/readings/readinglist.h"
#include "report/logo.h"
#include "report/practitioner.h"
#include "report/reportcontent.h"
#include "report/reportfiles.h"
#include "tarot/spread.h"

#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

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
    {"today", "YYYY-MM-DD",
     "The report's date, and the day every reading takes as today (default: the local date).", Field::Today},
    {"sections", "LIST",
     "The sections, separated by commas, from numerology, timeline, forecast, tarot, astrology, runes, tantric, "
     "daily and compatibility; the report shows them in that order (default: all but compatibility).",
     Field::None, nullptr},
    {"readings", "IDS",
     "The numerology section's readings by their ids (the keys of kestrava-cli numerology's JSON, e.g. "
     "lifePath,destiny), separated by commas; without it the section is the comprehensive reading.",
     Field::None, nullptr},
    {"forecast-from", "YEAR", "The forecast's first calendar year (default: this year).", Field::None, nullptr},
    {"forecast-to", "YEAR", "The forecast's last calendar year (default: two years after the first).", Field::None,
     nullptr},
    {"seed", "S",
     "Deal the tarot section's numerology spread, drawn by a generator seeded with S (0 to 2^64 - 1); without it "
     "the section has no spread.",
     Field::None, nullptr},
    {"daily-date", "YYYY-MM-DD", "The day whose number the daily section reads (default: the report's date).",
     Field::None, nullptr},
    {"partner-first", "F", "The compatibility section's second person: first name.", Field::None, nullptr},
    {"partner-middle", "M", "The second person's middle name (may be left out).", Field::None, nullptr},
    {"partner-last", "L", "The second person's last name.", Field::None, nullptr},
    {"partner-born", "YYYY-MM-DD", "The second person's birth date.", Field::None, nullptr},
    {"partner-client", "ID",
     "The second person is the client with this number in the client book: their names, in capitals, and birth "
     "date take the place of the --partner- options.",
     Field::None, nullptr},
    options::married,
    {"format", "FORMAT",
     "pdf (the default): the report as a PDF document with its contents as bookmarks; html: as one "
     "self-contained web page that prints as the PDF looks.",
     Field::None, "pdf html"},
    {"out", "FILE", "The report's file. An existing file is replaced only once the new one is complete.",
     Field::None, nullptr, true},
    {"practitioner-name", "TEXT", "The practitioner's name on the title page and in the footers (default: as "
                                  "saved in the suite's Report Settings).",
     Field::None, nullptr},
    {"practitioner-contact", "TEXT", "The contact block on the title page; \\n starts a new line (default: as "
                                     "saved).",
     Field::None, nullptr},
    {"logo", "FILE",
     "The logo on the title page, an SVG or PNG file of at most 16 MB and, for a PNG, 6,000 pixels a side "
     "(default: as saved).",
     Field::None, nullptr},
    {"title", "TEXT", "The report's title (default: as saved, or \"Numerology Report\").", Field::None, nullptr},
    {"accent", "#RRGGBB", "The accent colour of headings and rules (default: as saved).", Field::None, nullptr},
    {"paper", "PAPER", "The paper the PDF is laid out on (default: as saved, or the locale's).", Field::None,
     "A4 Letter"},
    {"client", "ID",
     "Make the report for the client with this number in the client book: their names and birth date take the "
     "place of the name and date options, and the report is added to their history.",
     Field::None, nullptr},
    options::clients,
    options::keepCase,
};

QDate birthDateOf(const numpro::ReadingInputs &inputs)
{
    return QDate(inputs.year.toInt(), int(kestrava::monthNames().indexOf(inputs.month)) + 1, inputs.day.toInt());
}

QStringList listOf(const QString &text)
{
    QStringList items;
    for (const QString &item : text.split(u',', Qt::SkipEmptyParts)) {
        if (!item.trimmed().isEmpty())
            items.append(item.trimmed());
    }
    return items;
}

// The practitioner as saved by the suite's Report Settings, with the options
// given on top.  A problem with an option's value, or nothing.
std::optional<QString> readPractitioner(const Invocation &call, report::Practitioner &practitioner)
{
    QSettings settings(report::suiteSettingsFile(), QSettings::IniFormat);
    practitioner = report::readPractitioner(settings, kestrava::localePaper());
    const auto given = [&call](const QString &name) { return call.values.contains(name); };
    if (given(u"practitioner-name"_s))
        practitioner.name = call.values.value(u"practitioner-name"_s);
    if (given(u"practitioner-contact"_s))
        practitioner.contact = call.values.value(u"practitioner-contact"_s).replace(u"\\n"_s, u"\n"_s);
    if (given(u"title"_s))
        practitioner.reportTitle = call.values.value(u"title"_s);
    if (given(u"logo"_s)) {
        const QString logo = call.values.value(u"logo"_s);
        const QString ending = QFileInfo(logo).suffix().toLower();
        if (ending != u"svg"_s && ending != u"png"_s)
            return u"--logo must name an .svg or .png file, not \"%1\""_s.arg(logo);
        // Only a regular file is opened: a named pipe would be waited on for
        // ever.  A missing one gets Report Settings' words below.
        if (QFileInfo::exists(logo)) {
            auto opened = kestrava::openRegularFile(logo);
            if (const auto *failure = std::get_if<kestrava::Failure>(&opened))
                return u"--logo: cannot read %1: %2"_s.arg(logo, failure->reason);
        }
        // The checks Report Settings makes when a logo is chosen, with its words.
        const std::variant<report::Logo, QString> read = report::readLogo(logo);
        if (const QString *problem = std::get_if<QString>(&read))
            return *problem;
        practitioner.logoFile = QFileInfo(logo).absoluteFilePath();
    }
    if (given(u"accent"_s)) {
        const std::optional<richtext::Rgb> accent = report::colourFromName(call.values.value(u"accent"_s));
        if (!accent)
            return u"--accent must be a colour written #RRGGBB, not \"%1\""_s.arg(call.values.value(u"accent"_s));
        practitioner.accent = *accent;
    }
    if (given(u"paper"_s)) {
        const std::optional<kestrava::Paper> paper = report::paperFromName(call.values.value(u"paper"_s));
        if (!paper)
            return u"--paper must be A4 or Letter, not \"%1\""_s.arg(call.values.value(u"paper"_s));
        practitioner.paper = *paper;
    }
    return std::nullopt;
}

std::optional<QString> readYear(const Invocation &call, const QString &name, int &year)
{
    if (!call.values.contains(name))
        return std::nullopt;
    bool ok = false;
    year = call.values.value(name).toInt(&ok);
    if (!ok || year < kestrava::kFirstBirthYear || year > 9999)
        return u"--%1 must be a year from %2 to 9999, not \"%3\""_s.arg(name)
            .arg(kestrava::kFirstBirthYear)
            .arg(call.values.value(name));
    return std::nullopt;
}

// The sections and the options they need.  A problem, or nothing.
std::optional<QString> readRequest(const Invocation &call, report::ReportRequest &request)
{
    if (call.values.contains(u"sections"_s)) {
        for (const QString &key : listOf(call.values.value(u"sections"_s))) {
            const std::optional<report::SectionKind> kind = report::sectionFromKey(key);
            if (!kind)
                return u"--sections: there is no section \"%1\""_s.arg(key);
            if (!request.sections.contains(*kind))
                request.sections.append(*kind);
        }
        if (request.sections.isEmpty())
            return u"--sections names no section"_s;
    } else {
        for (const report::SectionKind kind : report::kSectionKinds) {
            if (kind != report::SectionKind::Compatibility)
                request.sections.append(kind);
        }
    }
    for (const QString &id : listOf(call.values.value(u"readings"_s))) {
        if (!numpro::findReading(id))
            return u"--readings: there is no reading \"%1\""_s.arg(id);
        request.numerologyReadings.append(id);
    }
    request.forecastFrom = request.today.year();
    if (const auto problem = readYear(call, u"forecast-from"_s, request.forecastFrom))
        return problem;
    request.forecastTo = request.forecastFrom + 2;
    if (const auto problem = readYear(call, u"forecast-to"_s, request.forecastTo))
        return problem;
    if (call.values.contains(u"seed"_s)) {
        bool ok = false;
        const quint64 seed = call.values.value(u"seed"_s).toULongLong(&ok);
        if (!ok)
            return u"The seed must be a whole number from 0 to 18446744073709551615"_s;
        kestrava::SeededRandom random(seed);
        request.spread = tarot::dealNumerologySpread(random);
    }
    if (call.values.contains(u"daily-date"_s)) {
        const std::optional<QDate> date = parseIsoDate(call.values.value(u"daily-date"_s));
        if (!date)
            return u"--daily-date must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                call.values.value(u"daily-date"_s));
        request.dailyDate = *date;
    }
    const bool partnerGiven = call.values.contains(u"partner-first"_s) || call.values.contains(u"partner-last"_s)
                              || call.values.contains(u"partner-born"_s);
    if (partnerGiven) {
        kestrava::Person partner;
        const auto name = [&call](const QString &option) {
            const QString text = call.values.value(option);
            return call.keepCase ? text : kestrava::capitalLetters(text);
        };
        partner.firstName = name(u"partner-first"_s);
        partner.middleName = name(u"partner-middle"_s);
        partner.lastName = name(u"partner-last"_s);
        const std::optional<QDate> born = parseIsoDate(call.values.value(u"partner-born"_s));
        if (!born)
            return u"--partner-born must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                call.values.value(u"partner-born"_s));
        partner.birthDate = *born;
        request.partner = partner;
    }
    if (call.isSet[std::size_t(Field::Married)])
        request.marriageDate = parseMarriageDate(call.given[std::size_t(Field::Married)]).value_or(QDate());
    return std::nullopt;
}

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;
    const QString path = call.values.value(u"out"_s);
    if (path.isEmpty())
        return usageError(command, u"--out names the report's file"_s, err);
    const QString formatText = call.values.value(u"format"_s, u"pdf"_s);
    if (formatText != u"pdf"_s && formatText != u"html"_s)
        return usageError(command, u"--format must be pdf or html, not \"%1\""_s.arg(formatText), err);
    const report::ReportFormat format = formatText == u"pdf"_s ? report::ReportFormat::Pdf : report::ReportFormat::Html;

    // The second person from the book is found before anything is written.
    std::optional<ClientReading> partnerClient;
    if (call.values.contains(u"partner-client"_s)) {
        for (const char *typed : {"partner-first", "partner-middle", "partner-last", "partner-born"}) {
            if (call.values.contains(QLatin1StringView(typed)))
                return usageError(command,
                                  u"--partner-client takes the second person's names and birth date from the "
                                  "client book, not from --"_s + QLatin1StringView(typed),
                                  err);
        }
        if (const std::optional<int> failed =
                partnerClient.emplace().find(call, call.values.value(u"partner-client"_s), err))
            return *failed;
    }
    std::optional<ClientReading> forClient;
    if (call.values.contains(u"client"_s)) {
        if (const std::optional<int> failed = forClient.emplace().fill(command, call, err))
            return *failed;
        call.values.remove(u"client"_s); // filled in: the subject is read as typed from here
    }
    Subject subject;
    numpro::ReadingInputs inputs;
    if (const std::optional<int> failed = readNumerologyCall(command, call, err, subject, inputs))
        return *failed;

    report::ReportRequest request;
    request.person = {inputs.firstName, inputs.middleName, inputs.lastName, birthDateOf(inputs), {}};
    request.today = call.today;
    report::Practitioner practitioner;
    std::optional<QString> problem = readRequest(call, request);
    if (partnerClient) {
        // The book keeps names as written; a reading takes them in capitals.
        request.partner = kestrava::readingPerson(partnerClient->client().person);
    }
    if (!problem)
        problem = readPractitioner(call, practitioner);
    if (problem)
        return usageError(command, *problem, err);

    auto composed = report::composeReport(request, practitioner);
    if (const auto *failure = std::get_if<kestrava::Failure>(&composed)) {
        err << "kestrava-cli: " << failure->reason << "\n";
        return kExitUsage;
    }
    if (const kestrava::MaybeFailure failure =
            report::writeReport(std::get<report::Report>(composed), format, path)) {
        err << "kestrava-cli: cannot write " << path << ": " << failure->reason << "\n";
        return kExitUsage;
    }
    if (forClient) {
        out.flush();
        // The history says where the report went.
        QJsonObject made = report::requestToJson(request);
        made.insert(u"file"_s, QFileInfo(path).absoluteFilePath());
        return forClient->recordReport(made, err);
    }
    return kExitDone;
}

} // namespace

const Command kReportCommand{
    "report",
    "the practitioner's report for one person, as PDF or a web page",
    "The practitioner's report for one person: a title page under the practitioner's name, a table of contents "
    "and the chosen sections, each composed by its program, written as a PDF document or one self-contained web "
    "page. The practitioner's name, contact, logo, title, accent colour and paper come from the suite's Report "
    "Settings unless the options below say otherwise.",
    kestrava::ProgramId::NumerologyPro,
    kOptions,
    nullptr,
    false,
    &run,
};
