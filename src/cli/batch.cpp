#include "cli/batch.h"

#include "common/csv.h"
#include "common/regularfile.h"
#include "common/jsonwriter.h"

#include <QFile>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
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
    kestrava::JsonWriter(out).beginObject().key("row").value(qint64(number)).key("error").value(problem).endObject();
}

// A data row as the stream found it: where its bytes lie in its chunk's
// input, its number (1 for the first row after the header) and its lines.
struct Row
{
    std::size_t begin;
    std::size_t size;
    qsizetype number;
    qsizetype firstLine;
    qsizetype lastLine;
    bool unclosedQuote;
};

// Appends the line for the row.  Only the fields the command reads are
// decoded.  Returns false when the row could not be read.
bool appendRowLine(std::string &out, const Row &row, QByteArrayView bytes, const Columns &columns,
                   const Invocation &call, const BatchReader &read)
{
    std::optional<QString> problem;
    if (row.unclosedQuote)
        problem = u"a quote opened here is never closed"_s;
    const CsvRecord record(problem ? QByteArrayView() : bytes);
    std::array<QString, kFieldCount> raw;
    if (!problem) {
        for (int f = 0; f < kFieldCount; ++f) {
            const qsizetype at = columns.at[std::size_t(f)];
            if (at >= 0 && at < record.size())
                raw[std::size_t(f)] = record.field(at);
        }
        // An empty seed or married takes the option's value; an empty today
        // takes --today (already in call.today).
        for (Field field : {Field::Seed, Field::Married}) {
            if (raw[std::size_t(field)].isEmpty())
                raw[std::size_t(field)] = call.given[std::size_t(field)];
        }
        if (record.size() < columns.count)
            problem = u"The row has %1 %2; the header names %3."_s.arg(record.size())
                          .arg(record.size() == 1 ? u"field"_s : u"fields"_s)
                          .arg(columns.count);
    }
    Subject subject;
    if (!problem)
        problem = makeSubject(std::move(raw), call.keepCase, call.today, u"", subject);
    const std::size_t start = out.size();
    if (!problem)
        problem = read(subject, out);
    if (problem) {
        out.resize(start); // whatever the reader wrote before it gave up
        // A row over several lines is named by them too, so that rows a
        // stray quote joined are not taken for one.
        if (row.lastLine > row.firstLine) {
            const qsizetype at = problem->endsWith(u'.') ? problem->size() - 1 : problem->size();
            problem->insert(at, u" (lines %1 to %2 of the input, joined by a quoted field)"_s.arg(row.firstLine)
                                    .arg(row.lastLine));
        }
        appendErrorLine(out, row.number, *problem);
    }
    out += '\n';
    return !problem;
}

// The rows go in chunks of about this much input (and at most kChunkRows
// rows, and no more than the input holds when a row would have to be waited
// for): small enough that the workers finish together, large enough that
// handing one out costs nothing next to reading it.
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::size_t kChunkRows = 1024;
// Chunks read ahead of the one being written, per worker: bounds the memory
// held when the output is slower than the workers.
constexpr std::size_t kChunksAheadPerWorker = 4;

// Reads from a file descriptor as CsvStream asks; a pipe gives what it holds
// without waiting for more.
qsizetype readSome(int fd, char *buffer, qsizetype size, int &error)
{
    for (;;) {
        const ssize_t count = ::read(fd, buffer, std::size_t(size));
        if (count >= 0)
            return qsizetype(count);
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

// Writes all of bytes to standard output; false with the error when it
// cannot (the reader has gone, the disk is full).
bool writeAll(const std::string &bytes, int &error)
{
    const char *at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t count = ::write(STDOUT_FILENO, at, left);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        at += count;
        left -= std::size_t(count);
    }
    return true;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

int runBatch(const Command &command, const Invocation &call, const BatchReaderMaker &makeReader, QTextStream &err)
{
    const QString source = *call.batch;
    QFile file;
    if (source == u"-"_s) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            err << "kestrava-cli: cannot read standard input: " << file.errorString() << "\n";
            return kExitUsage;
        }
    } else {
        // A named pipe with no writer would be waited on for ever; what
        // another program writes comes through standard input instead.
        auto opened = kestrava::openRegularFile(source);
        if (const auto *failure = std::get_if<kestrava::Failure>(&opened)) {
            err << "kestrava-cli: cannot read " << source << ": " << failure->reason;
            if (kestrava::notARegularFile(source))
                err << "; give - to read the batch from standard input";
            err << "\n";
            return kExitUsage;
        }
        file.open(std::get<kestrava::RegularFile>(opened).release(), QIODevice::ReadOnly,
                  QFileDevice::AutoCloseHandle);
    }
    // Read straight from the descriptor: rows are read and their lines
    // written while the input still comes, in as little memory for a
    // gigabyte as for a kilobyte.
    const int fd = file.handle();
    int readError = 0;
    CsvStream stream([fd, &readError](char *buffer, qsizetype size) { return readSome(fd, buffer, size, readError); });
    auto cannotRead = [&] {
        err << "kestrava-cli: cannot read " << source << ": " << errorText(readError) << "\n";
        return kExitUsage;
    };

    CsvStream::Record headerRecord;
    switch (stream.next(headerRecord)) {
    case CsvStream::Status::Record:
        break;
    case CsvStream::Status::Failed:
        return cannotRead();
    default:
        err << "kestrava-cli: " << source << " has no header row (it needs " << columnsNeeded(command) << ")\n";
        return kExitUsage;
    }
    if (headerRecord.unclosedQuote) {
        err << "kestrava-cli: " << source << ": a quote opened in the header row is never closed\n";
        return kExitUsage;
    }
    const CsvRecord headerFields(headerRecord.bytes);
    QStringList header;
    for (qsizetype i = 0; i < headerFields.size(); ++i)
        header.append(headerFields.field(i));
    Columns columns;
    if (const std::optional<QString> problem = findColumns(command, header, columns)) {
        err << "kestrava-cli: " << source << ": " << *problem << "\n";
        return kExitUsage;
    }

    // The rows go in chunks to as many workers as there are cores; a worker
    // takes its chunk's rows from the stream (one at a time, so they come in
    // order, and into the chunk's own input, so that the stream may read on)
    // and reads them while the next takes its own.  The lines are written
    // here in input order, a chunk at a time: a chunk ends where the input
    // would have to be waited for, so what has come in goes out at once.
    struct Chunk
    {
        std::string lines;
        bool done = false;
        bool failed = false;
    };
    std::mutex inputMutex; // the stream and the numbering of rows
    bool inputDone = false;
    bool inputFailed = false;
    qsizetype rowsTaken = 0;

    std::mutex mutex; // the chunks
    std::condition_variable changed;
    std::deque<Chunk> chunks; // taken and not yet written, oldest first
    std::size_t firstChunk = 0; // the number of chunks.front()
    std::vector<std::string> spare; // written chunks' buffers, for reuse
    bool allTaken = false;
    bool stop = false; // the output cannot be written
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t ahead = kChunksAheadPerWorker * workers;

    auto work = [&] {
        const BatchReader read = makeReader();
        std::string input;
        std::vector<Row> rows;
        for (;;) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return allTaken || stop || chunks.size() < ahead; });
                if (allTaken || stop)
                    return;
            }
            std::size_t chunk;
            std::string lines;
            {
                const std::lock_guard inputLock(inputMutex);
                if (inputDone)
                    return;
                input.clear();
                rows.clear();
                CsvStream::Record record;
                CsvStream::Status status = CsvStream::Status::Record;
                while (input.size() < kChunkBytes && rows.size() < kChunkRows
                       && (status = stream.next(record, rows.empty())) == CsvStream::Status::Record) {
                    rows.push_back({input.size(), std::size_t(record.bytes.size()), ++rowsTaken, record.firstLine,
                                    record.lastLine, record.unclosedQuote});
                    input.append(record.bytes.data(), std::size_t(record.bytes.size()));
                }
                inputDone = status == CsvStream::Status::End || status == CsvStream::Status::Failed;
                inputFailed = status == CsvStream::Status::Failed;
                const std::lock_guard lock(mutex);
                allTaken = inputDone;
                if (rows.empty()) {
                    changed.notify_all();
                    return;
                }
                chunk = firstChunk + chunks.size();
                chunks.emplace_back();
                if (!spare.empty()) {
                    lines = std::move(spare.back());
                    spare.pop_back();
                }
            }
            lines.clear();
            lines.reserve(rows.size() * 1024);
            bool failed = false;
            for (const Row &row : rows)
                failed |= !appendRowLine(lines, row, QByteArrayView(input.data() + row.begin, qsizetype(row.size)),
                                         columns, call, read);
            {
                const std::lock_guard lock(mutex);
                Chunk &taken = chunks[chunk - firstChunk];
                taken.lines = std::move(lines);
                taken.failed = failed;
                taken.done = true;
            }
            changed.notify_all();
        }
    };
    std::fflush(stdout);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
        threads.emplace_back(work);

    bool anyFailed = false;
    int writeError = 0;
    for (;;) {
        std::string lines;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return (!chunks.empty() && chunks.front().done) || (allTaken && chunks.empty()); });
            if (chunks.empty())
                break;
            lines = std::move(chunks.front().lines);
            anyFailed = anyFailed || chunks.front().failed;
            chunks.pop_front();
            ++firstChunk;
        }
        changed.notify_all();
        const bool written = writeAll(lines, writeError);
        const std::lock_guard lock(mutex);
        if (!written) {
            stop = true;
            changed.notify_all();
            break;
        }
        if (spare.size() < ahead)
            spare.push_back(std::move(lines));
    }
    for (std::thread &thread : threads)
        thread.join();
    if (writeError) {
        // A reader that has gone (head has its lines) needs no message.
        if (writeError != EPIPE)
            err << "kestrava-cli: cannot write the results: " << errorText(writeError) << "\n";
        return kExitSomeFailed;
    }
    if (inputFailed)
        return cannotRead();
    return anyFailed ? kExitSomeFailed : kExitDone;
}
