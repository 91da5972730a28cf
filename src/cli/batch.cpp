#include "cli/batch.h"

#include "cli/jsonwriter.h"
#include "common/csv.h"
#include "numpro/readings/readingvalues.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
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

void appendErrorLine(std::string &out, qsizetype number, const QString &problem)
{
    out += "{\"row\":";
    out += std::to_string(number);
    out += ",\"error\":";
    numpro::appendJsonString(out, problem);
    out += '}';
}

// Appends the line for the data row with number `number` (1 for the first
// row after the header).  Only the fields the command reads are decoded.
// Returns false when the row could not be read.
bool appendRowLine(std::string &out, const CsvRecord &row, qsizetype number, const Columns &columns,
                   const Invocation &call, const BatchReader &read)
{
    std::array<QString, kFieldCount> raw;
    for (int f = 0; f < kFieldCount; ++f) {
        const qsizetype at = columns.at[std::size_t(f)];
        if (at >= 0 && at < row.size())
            raw[std::size_t(f)] = row.field(at);
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
    const std::size_t start = out.size();
    if (!problem)
        problem = read(subject, out);
    if (problem) {
        out.resize(start); // whatever the reader wrote before it gave up
        appendErrorLine(out, number, *problem);
    } else if (call.pretty) {
        const QByteArray pretty = indentJson(QByteArrayView(out.data() + start, qsizetype(out.size() - start)));
        out.replace(start, std::string::npos, pretty.constData(), std::size_t(pretty.size()));
    }
    out += '\n';
    return !problem;
}

// The rows in chunks of about this much input (and at most kChunkRows rows):
// small enough that the workers finish together, large enough that handing
// one out costs nothing next to reading it.
constexpr qsizetype kChunkBytes = 64 * 1024;
constexpr qsizetype kChunkRows = 1024;
// Chunks read ahead of the one being written, per worker: bounds the memory
// held when the output is slower than the workers.
constexpr std::size_t kChunksAheadPerWorker = 4;

} // namespace

int runBatch(const Command &command, const Invocation &call, const BatchReaderMaker &makeReader, QTextStream &err)
{
    const QString source = *call.batch;
    QFile file;
    const bool opened = source == u"-"_s ? file.open(stdin, QIODevice::ReadOnly)
                                         : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "kestrava-cli: cannot read " << source << ": " << file.errorString() << "\n";
        return kExitUsage;
    }
    const QByteArray data = file.readAll();
    CsvReader reader(data);
    QByteArrayView record;
    if (!reader.next(record)) {
        err << "kestrava-cli: " << source << " has no header row (it needs " << columnsNeeded(command) << ")\n";
        return kExitUsage;
    }
    const CsvRecord headerRecord(record);
    QStringList header;
    for (qsizetype i = 0; i < headerRecord.size(); ++i)
        header.append(headerRecord.field(i));
    Columns columns;
    if (const std::optional<QString> problem = findColumns(command, header, columns)) {
        err << "kestrava-cli: " << source << ": " << *problem << "\n";
        return kExitUsage;
    }

    // The rows go in chunks to as many workers as there are cores; a worker
    // finds its chunk's rows in the file (one at a time, so they come in
    // order) and reads them while the next finds its own.  The lines are
    // written here in input order.
    struct Chunk
    {
        std::string lines;
        bool done = false;
        bool failed = false;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Chunk> chunks;       // every chunk taken so far, by number
    std::vector<std::string> spare; // written chunks' buffers, for reuse
    std::size_t written = 0;        // chunks written out
    qsizetype rowsTaken = 0;
    bool allTaken = false;
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t ahead = kChunksAheadPerWorker * workers;

    auto work = [&] {
        const BatchReader read = makeReader();
        std::vector<QByteArrayView> rows;
        QByteArrayView row;
        for (;;) {
            std::size_t chunk;
            qsizetype firstRow;
            std::string lines;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return allTaken || chunks.size() < written + ahead; });
                if (allTaken)
                    return;
                rows.clear();
                qsizetype bytes = 0;
                while (bytes < kChunkBytes && qsizetype(rows.size()) < kChunkRows && reader.next(row)) {
                    rows.push_back(row);
                    bytes += row.size();
                }
                if (rows.empty()) {
                    allTaken = true;
                    changed.notify_all();
                    return;
                }
                chunk = chunks.size();
                chunks.emplace_back();
                firstRow = rowsTaken + 1;
                rowsTaken += qsizetype(rows.size());
                if (!spare.empty()) {
                    lines = std::move(spare.back());
                    spare.pop_back();
                }
            }
            lines.clear();
            lines.reserve(rows.size() * 1024);
            bool failed = false;
            for (std::size_t r = 0; r < rows.size(); ++r)
                failed |= !appendRowLine(lines, CsvRecord(rows[r]), firstRow + qsizetype(r), columns, call, read);
            {
                const std::lock_guard lock(mutex);
                chunks[chunk].lines = std::move(lines);
                chunks[chunk].failed = failed;
                chunks[chunk].done = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
        threads.emplace_back(work);

    bool anyFailed = false;
    for (std::size_t chunk = 0;; ++chunk) {
        std::string lines;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return chunk < chunks.size() || allTaken; });
            if (chunk >= chunks.size())
                break;
            changed.wait(lock, [&] { return chunks[chunk].done; });
            lines = std::move(chunks[chunk].lines);
            anyFailed = anyFailed || chunks[chunk].failed;
            written = chunk + 1;
        }
        changed.notify_all();
        fwrite(lines.data(), 1, lines.size(), stdout);
        const std::lock_guard lock(mutex);
        spare.push_back(std::move(lines));
    }
    for (std::thread &thread : threads)
        thread.join();
    fflush(stdout);
    return anyFailed ? kExitSomeFailed : kExitDone;
}
