#include "cli/batch.h"

#include "cli/jsonwriter.h"
#include "common/csv.h"
#include "numpro/readings/readingvalues.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Where the batch file keeps each field (-1: nowhere).
struct Columns
{
    std::array<qsizetype, kFieldCount> at;
    qsizetype count = 0; // fields of the header row
};

QString columnName(const Command &command, Field field)
{
    return QString::fromLatin1(command.option(field)->name);
}

} // namespace

QString columnsNeeded(const Command &command)
{
    QStringList names, dates;
    for (int f = 0; f <= int(Field::Year); ++f) {
        if (command.hasField(Field(f)))
            (Field(f) <= Field::Last ? names : dates).append(columnName(command, Field(f)));
    }
    QString needs = (names + dates).join(u',');
    if (command.hasField(Field::Born))
        needs += u" or "_s + (names + QStringList{columnName(command, Field::Born)}).join(u',');
    QStringList may;
    for (Field field : {Field::Today, Field::Seed, Field::Married}) {
        if (command.hasField(field))
            may.append(columnName(command, field));
    }
    return may.isEmpty() ? needs : needs + u" and may have "_s + may.join(u',');
}

namespace {

// The header row's columns, or the problem with it: a name column or a
// birth-date column the command needs is missing, or the date is given both
// ways.
std::optional<QString> findColumns(const Command &command, const QStringList &header, Columns &columns)
{
    columns.at.fill(-1);
    columns.count = header.size();
    for (int f = 0; f < kFieldCount; ++f) {
        if (command.hasField(Field(f)))
            columns.at[std::size_t(f)] = header.indexOf(columnName(command, Field(f)));
    }
    const bool hasBorn = columns.at[std::size_t(Field::Born)] >= 0;
    for (int f = 0; f <= int(Field::Year); ++f) {
        const Field field = Field(f);
        if (!command.hasField(field) || columns.at[std::size_t(f)] >= 0 || (field >= Field::Month && hasBorn))
            continue;
        return u"the header row names no column \"%1\" (it needs %2)"_s.arg(columnName(command, field),
                                                                            columnsNeeded(command));
    }
    if (hasBorn) {
        for (Field field : {Field::Month, Field::Day, Field::Year}) {
            if (columns.at[std::size_t(field)] >= 0)
                return u"the header row names both \"born\" and \"%1\": give the birth date one way"_s.arg(
                    columnName(command, field));
        }
    }
    return std::nullopt;
}

QByteArray errorLine(qsizetype number, const QString &problem)
{
    std::string error = "{\"row\":" + std::to_string(number) + ",\"error\":";
    numpro::appendJsonString(error, problem);
    return QByteArray::fromStdString(error + '}');
}

// The line for the data row with number `number` (1 for the first row after
// the header).  Sets failed when the row could not be read.
QByteArray rowLine(const QStringList &row, qsizetype number, const Columns &columns, const Invocation &call,
                   const BatchReader &read, bool &failed)
{
    std::array<QString, kFieldCount> raw;
    for (int f = 0; f < kFieldCount; ++f) {
        const qsizetype at = columns.at[std::size_t(f)];
        if (at >= 0 && at < row.size())
            raw[std::size_t(f)] = row[at];
    }
    // An empty seed or married takes the option's value; an empty today
    // takes --today (already in call.today).
    for (Field field : {Field::Seed, Field::Married}) {
        if (raw[std::size_t(field)].isEmpty())
            raw[std::size_t(field)] = call.given[std::size_t(field)];
    }

    std::optional<QString> problem;
    if (row.size() < columns.count)
        problem = u"The row has %1 fields; the header names %2."_s.arg(row.size()).arg(columns.count);
    Subject subject;
    if (!problem)
        problem = makeSubject(std::move(raw), call.keepCase, call.today, u"", subject);
    QByteArray line;
    if (!problem)
        problem = read(subject, line);
    if (problem) {
        failed = true;
        line = errorLine(number, *problem);
    } else if (call.pretty) {
        line = indentJson(line);
    }
    line += '\n';
    return line;
}

} // namespace

int runBatch(const Command &command, const Invocation &call, const BatchReader &read, QTextStream &err)
{
    const QString source = *call.batch;
    QFile file;
    const bool opened = source == u"-"_s ? file.open(stdin, QIODevice::ReadOnly)
                                         : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "kestrava-cli: cannot read " << source << ": " << file.errorString() << "\n";
        return kExitUsage;
    }
    const QList<QStringList> rows = parseCsv(file.readAll());
    if (rows.isEmpty()) {
        err << "kestrava-cli: " << source << " has no header row (it needs " << columnsNeeded(command) << ")\n";
        return kExitUsage;
    }
    Columns columns;
    if (const std::optional<QString> problem = findColumns(command, rows.front(), columns)) {
        err << "kestrava-cli: " << source << ": " << *problem << "\n";
        return kExitUsage;
    }

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
                    parts[w] += rowLine(rows[r], r, columns, call, read, partFailed);
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
