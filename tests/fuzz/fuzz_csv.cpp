// The command line's CSV batch reader: any bytes give rows, never more text
// than was read; read as a stream, the same records whatever pieces the
// input comes in, in order of their lines.
#include "common/csv.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct StreamRecord
{
    QByteArray bytes;
    qsizetype firstLine;
    qsizetype lastLine;
    bool unclosedQuote;

    bool operator==(const StreamRecord &) const = default;
};

QList<StreamRecord> streamAll(const QByteArray &data, qsizetype piece)
{
    qsizetype at = 0;
    CsvStream stream([&](char *buffer, qsizetype size) {
        const qsizetype count = std::min({piece, size, data.size() - at});
        std::memcpy(buffer, data.constData() + at, std::size_t(count));
        at += count;
        return count;
    });
    QList<StreamRecord> records;
    CsvStream::Record record;
    while (stream.next(record) == CsvStream::Status::Record)
        records.append({record.bytes.toByteArray(), record.firstLine, record.lastLine, record.unclosedQuote});
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype characters = 0;
    for (const QStringList &row : parseCsv(bytes)) {
        for (const QString &field : row)
            characters += field.size();
    }
    if (characters > qsizetype(size))
        std::abort();

    const QList<StreamRecord> whole = streamAll(bytes, qsizetype(size) + 1);
    qsizetype recordBytes = 0, line = 0;
    for (const StreamRecord &record : whole) {
        recordBytes += record.bytes.size();
        if (record.bytes.isEmpty() || record.firstLine <= line || record.lastLine < record.firstLine)
            std::abort();
        line = record.lastLine;
    }
    if (recordBytes > qsizetype(size))
        std::abort();
    if (size > 0 && streamAll(bytes, 1 + data[0] % 7) != whole)
        std::abort();
    return 0;
}
