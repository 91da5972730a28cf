#include "cli/forecastcommand.h"

#include "cli/clientaccess.h"
#include "common/jsonwriter.h"
#include "cli/numerologycommand.h"
#include "numpro/forecast/forecast.h"
#include "richtext/composition.h"

#include <QTextStream>

#include <cstdio>

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
    {"from", "YYYY-MM-DD", "The first date (default: the local date).", Field::None},
    {"to", "YYYY-MM-DD", "The last date, not before --from (default: a year after --from).", Field::None},
    {"by", "STEP",
     "day, month (the default) or year: the step from one date to the next. A month or year step keeps the day "
     "of --from, or takes the month's last day where the month is shorter (from 2024-01-31 by month: 2024-02-29, "
     "2024-03-31, ...).",
     Field::None, "day month year"},
    options::clientSubject,
    options::clients,
    options::keepCase,
    {"format", "FORMAT",
     "json (the default): one line per date; text: the forecast document for the calendar years of --from to "
     "--to as plain text; html: the same as one self-contained web page.",
     Field::None, "json text html"},
    options::pretty,
};

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"date", "the date, YYYY-MM-DD"},
        {"age", "the age reached in the date's calendar year, as the readings count it"},
        {"personalYear", "the personal year number with the date as today"},
        {"personalMonth", "the personal month number"},
        {"personalDay", "the personal day number"},
        {"essence", "the essence number of the date's year"},
        {"transits", "the transit letters' values of the first, middle and last name that year"},
        {"currentPeriod", "the number of the life path period in force"},
        {"pinnacle", "the pinnacle in force: {\"position\": 1 to 4 (0 before the birth year), \"number\"}"},
        {"challenge", "the challenge in force: {\"position\", \"number\"}, as the pinnacle"},
    });
}

enum class Step { Day, Month, Year };

// Lines go out in large pieces: a century of days is some 5 MB.
class LineWriter
{
public:
    explicit LineWriter(bool pretty) : m_pretty(pretty) { m_buffer.reserve(kFlushAt + 512); }
    ~LineWriter() { flush(); }

    void write(const QByteArray &json)
    {
        m_buffer += m_pretty ? kestrava::indentJson(json) : json;
        m_buffer += '\n';
        if (m_buffer.size() >= kFlushAt)
            flush();
    }

private:
    static constexpr qsizetype kFlushAt = 1 << 16;

    void flush()
    {
        std::fwrite(m_buffer.constData(), 1, std::size_t(m_buffer.size()), stdout);
        m_buffer.clear();
    }

    bool m_pretty;
    QByteArray m_buffer;
};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;

    auto dateOption = [&](const QString &name, QDate fallback, QDate &date) {
        if (!call.values.contains(name)) {
            date = fallback;
            return true;
        }
        const std::optional<QDate> given = parseIsoDate(call.values.value(name));
        date = given.value_or(QDate());
        return given.has_value();
    };
    QDate from, to;
    if (!dateOption(u"from"_s, QDate::currentDate(), from))
        return usageError(command, u"--from must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                                       call.values.value(u"from"_s)),
                          err);
    if (!dateOption(u"to"_s, from.addYears(1), to))
        return usageError(command, u"--to must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                                       call.values.value(u"to"_s)),
                          err);
    if (from > to)
        return usageError(command, u"--from %1 comes after --to %2"_s.arg(from.toString(Qt::ISODate),
                                                                          to.toString(Qt::ISODate)),
                          err);
    const QString by = call.values.value(u"by"_s, u"month"_s);
    const Step step = by == u"day"_s ? Step::Day : by == u"year"_s ? Step::Year : Step::Month;
    if (by != u"day"_s && by != u"month"_s && by != u"year"_s)
        return usageError(command, u"--by must be day, month or year, not \"%1\""_s.arg(by), err);

    Subject subject;
    numpro::ReadingInputs inputs;
    if (const std::optional<int> failed = readNumerologyCall(command, call, err, subject, inputs))
        return *failed;

    if (call.format != OutputFormat::Json) {
        const QList<richtext::Composition> document = numpro::forecastDocument(inputs, from.year(), to.year());
        if (call.format == OutputFormat::Text) {
            for (const richtext::Composition &part : document)
                out << richtext::toPlainText(part);
        } else {
            const QString name = subject.fullName();
            out << richtext::toHtmlPage(kestrava::programName(command.program) + u" forecast"_s
                                            + (name.isEmpty() ? QString() : u": "_s + name),
                                        document);
        }
        return kExitDone;
    }

    out.flush();
    LineWriter lines(call.pretty);
    const numpro::Forecaster forecaster(inputs);
    if (step == Step::Day) {
        forecaster.forEachDay(from, to, [&lines](const numpro::ForecastPoint &point) {
            lines.write(numpro::forecastJson(point));
        });
        return kExitDone;
    }
    // Each date counts from --from, so that a short month does not pull the
    // later dates back to its last day.
    for (int n = 0;; ++n) {
        const QDate date = step == Step::Month ? from.addMonths(n) : from.addYears(n);
        if (!date.isValid() || date > to)
            break;
        lines.write(numpro::forecastJson(forecaster.at(date)));
    }
    return kExitDone;
}

} // namespace

const Command kForecastCommand{
    "forecast",
    "Variduzeda Vad's date-bound readings on each date of a range",
    "What Variduzeda Vad's readings that depend on today's date say with each date of a range as today (the "
    "personal year, month and day, the essence and transits, the life path period, pinnacle and challenge in "
    "force), one JSON line per date; or the forecast document for the range's calendar years.",
    kestrava::ProgramId::NumerologyPro,
    kOptions,
    &jsonKeys,
    true,
    &run,
};
