#include "cli/numerologycommand.h"

#include "common/brand.h"
#include "common/csv.h"
#include "common/subjectcheck.h"
#include "numpro/readings/comprehensivereading.h"
#include "numpro/readings/readinglist.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli numerology --first F [--middle M] --last L --month MONTH --day D --year Y\n"
                       "                                [--today YYYY-MM-DD] [--format json|text|html]\n"
                       "       kestrava-cli numerology --batch FILE|- [--today YYYY-MM-DD]"_s;

// The subject's problem in the input window's words, then a value that is
// no entry of its list; nothing when the subject can be read.
std::optional<QString> subjectProblem(const numpro::ReadingInputs &s)
{
    if (const auto problem = kestrava::checkSubject(s.firstName, s.lastName, s.day, s.month, s.year))
        return problem->message;
    if (const auto problem = kestrava::checkDateEntries(s.day, s.month, s.year))
        return problem->message;
    return std::nullopt;
}

std::optional<QDate> parseToday(const QString &text)
{
    // YYYY-MM-DD exactly: four, two and two digits.
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    auto digits = [&](qsizetype from, qsizetype count) {
        int value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (!text[i].isDigit() || text[i].unicode() > u'9')
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

QByteArray valuesLine(const numpro::ReadingInputs &inputs)
{
    numpro::ResultState state;
    numpro::computeAllReadings(inputs, state);
    return numpro::valuesToJsonText(state);
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

// Where the batch file keeps each field.
struct BatchColumns
{
    QList<qsizetype> subject; // first, middle, last, month, day, year
    qsizetype today = -1;
    qsizetype count = 0;      // fields of the header row
    std::optional<QDate> defaultToday;
};

// One JSON line for the data row with number `number` (1 for the first row
// after the header).  Sets failed when the row could not be read.
QByteArray batchLine(const QStringList &row, qsizetype number, const BatchColumns &columns, bool &failed)
{
    auto field = [&](qsizetype column) { return column >= 0 && column < row.size() ? row[column] : QString(); };
    const QList<qsizetype> &c = columns.subject;
    numpro::ReadingInputs inputs{field(c[0]), field(c[1]), field(c[2]), field(c[3]), field(c[4]), field(c[5]),
                                 QDate()};
    std::optional<QString> problem;
    if (row.size() < columns.count)
        problem = u"The row has %1 fields; the header names %2."_s.arg(row.size()).arg(columns.count);
    const QString todayText = field(columns.today);
    if (!problem && !todayText.isEmpty()) {
        if (const auto today = parseToday(todayText))
            inputs.today = *today;
        else
            problem = u"today must be a date written YYYY-MM-DD, not \"%1\"."_s.arg(todayText);
    } else {
        inputs.today = columns.defaultToday.value_or(QDate::currentDate());
    }
    if (!problem)
        problem = subjectProblem(inputs);
    QByteArray line;
    if (problem) {
        failed = true;
        std::string error = "{\"row\":" + std::to_string(number) + ",\"error\":";
        numpro::appendJsonString(error, *problem);
        line = QByteArray::fromStdString(error + '}');
    } else {
        line = valuesLine(inputs);
    }
    line += '\n';
    return line;
}

int runBatch(const QString &source, const std::optional<QDate> &defaultToday, QTextStream &err)
{
    QFile file;
    const bool opened = source == u"-"_s ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(source),
                                                                                    file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "kestrava-cli: cannot read " << source << ": " << file.errorString() << "\n";
        return kExitUsage;
    }
    const QList<QStringList> rows = parseCsv(file.readAll());
    if (rows.isEmpty()) {
        err << "kestrava-cli: " << source << " has no header row (first,middle,last,month,day,year[,today])\n";
        return kExitUsage;
    }
    const QStringList header = rows.front();
    BatchColumns columns;
    for (const QString &name : {u"first"_s, u"middle"_s, u"last"_s, u"month"_s, u"day"_s, u"year"_s}) {
        columns.subject.append(header.indexOf(name));
        if (columns.subject.back() < 0) {
            err << "kestrava-cli: the header row names no column \"" << name
                << "\" (it needs first,middle,last,month,day,year and may have today)\n";
            return kExitUsage;
        }
    }
    columns.today = header.indexOf(u"today"_s);
    columns.count = header.size();
    columns.defaultToday = defaultToday;

    // Rows go in blocks, each shared out among the cores; the lines come out
    // in input order.
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    constexpr qsizetype kBlock = 4096;
    bool anyFailed = false;
    for (qsizetype blockStart = 1; blockStart < rows.size(); blockStart += kBlock) {
        const qsizetype blockEnd = std::min(rows.size(), blockStart + kBlock);
        const qsizetype share = (blockEnd - blockStart + workers - 1) / workers;
        std::vector<QByteArray> parts(workers);
        std::vector<char> failed(workers, 0);
        std::vector<std::thread> threads;
        for (unsigned w = 0; w < workers; ++w) {
            const qsizetype from = blockStart + qsizetype(w) * share;
            const qsizetype to = std::min(blockEnd, from + share);
            threads.emplace_back([&, w, from, to] {
                bool partFailed = false;
                for (qsizetype r = from; r < to; ++r)
                    parts[w] += batchLine(rows[r], r, columns, partFailed);
                failed[w] = partFailed;
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        for (unsigned w = 0; w < workers; ++w) {
            fwrite(parts[w].constData(), 1, size_t(parts[w].size()), stdout);
            anyFailed = anyFailed || failed[w];
        }
    }
    fflush(stdout);
    return anyFailed ? kExitSomeFailed : kExitDone;
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Every Variduzeda Vad reading for one person, or for a CSV file of people."_s);
    parser.addOptions({
        {u"first"_s, u"First name, taken exactly as given (use capitals)."_s, u"F"_s},
        {u"middle"_s, u"Middle name (may be left out)."_s, u"M"_s},
        {u"last"_s, u"Last name."_s, u"L"_s},
        {u"month"_s, u"Birth month, January to December."_s, u"MONTH"_s},
        {u"day"_s, u"Birth day, 1 to 31."_s, u"D"_s},
        {u"year"_s, u"Birth year, 1900 to 2050."_s, u"Y"_s},
        {u"today"_s, u"Today's date for the date readings (default: the local date)."_s, u"YYYY-MM-DD"_s},
        {u"format"_s, u"json (default; every reading's values), text or html (the comprehensive document)."_s,
         u"FORMAT"_s, u"json"_s},
        {u"batch"_s, u"A CSV file (or - for standard input) with the header first,middle,last,month,day,year and "
                     "optionally today; prints one JSON object per row."_s,
         u"FILE"_s},
    });
    if (const std::optional<int> done = parseArguments(parser, u"numerology"_s, kUsage, arguments, out, err))
        return *done;

    std::optional<QDate> today;
    if (parser.isSet(u"today"_s)) {
        today = parseToday(parser.value(u"today"_s));
        if (!today) {
            err << "kestrava-cli: --today must be a date written YYYY-MM-DD, not \"" << parser.value(u"today"_s)
                << "\"\n";
            return kExitUsage;
        }
    }
    const QString format = parser.value(u"format"_s);
    if (format != u"json"_s && format != u"text"_s && format != u"html"_s) {
        err << "kestrava-cli: --format must be json, text or html, not \"" << format << "\"\n";
        return kExitUsage;
    }

    if (parser.isSet(u"batch"_s)) {
        for (const char *single : {"first", "middle", "last", "month", "day", "year"}) {
            if (parser.isSet(QString::fromLatin1(single))) {
                err << "kestrava-cli: --batch takes the people from the file, not from --" << single << "\n";
                return kExitUsage;
            }
        }
        if (format != u"json"_s) {
            err << "kestrava-cli: --batch prints JSON Lines only\n";
            return kExitUsage;
        }
        out.flush();
        return runBatch(parser.value(u"batch"_s), today, err);
    }

    const numpro::ReadingInputs inputs{parser.value(u"first"_s), parser.value(u"middle"_s), parser.value(u"last"_s),
                                       parser.value(u"month"_s), parser.value(u"day"_s),    parser.value(u"year"_s),
                                       today.value_or(QDate::currentDate())};
    if (const auto problem = subjectProblem(inputs)) {
        err << "kestrava-cli: " << *problem << "\n";
        return kExitUsage;
    }

    if (format == u"json"_s) {
        out << valuesLine(inputs) << "\n";
    } else if (format == u"text"_s) {
        for (const richtext::Composition &part : document(inputs))
            out << richtext::toPlainText(part);
    } else {
        const QString title = kestrava::programName(kestrava::ProgramId::NumerologyPro) + u" reading: "_s
                              + QStringList{inputs.firstName, inputs.middleName, inputs.lastName}.join(u' ').simplified();
        out << richtext::toHtmlPage(title, document(inputs));
    }
    return kExitDone;
}

} // namespace

const Command kNumerologyCommand{"numerology", "every Variduzeda Vad reading for one person or a CSV file", &run};
