// The batch file reader: records found in the whole text, fields split and
// decoded from each record, as spreadsheets write them.
#include "common/csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

using namespace Qt::StringLiterals;

namespace {

// The records of the text, each field decoded; a null field shows as <null>.
QList<QStringList> readAll(const QByteArray &data)
{
    QList<QStringList> rows;
    CsvReader reader(data);
    QByteArrayView line;
    while (reader.next(line)) {
        const CsvRecord record(line);
        QStringList row;
        for (qsizetype i = 0; i < record.size(); ++i)
            row << (record.field(i).isNull() ? u"<null>"_s : record.field(i));
        rows << row;
    }
    return rows;
}

} // namespace

TEST(Csv, RecordsAndFields)
{
    const struct
    {
        const char *label;
        QByteArray data;
        QList<QStringList> rows;
    } cases[] = {
        {"plain lines, LF and CR LF", "a,b\nc,d\r\ne,f", {{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}, {u"e"_s, u"f"_s}}},
        {"byte-order mark, empty lines skipped", "\xEF\xBB\xBF" "a\n\n\r\n\nb\n", {{u"a"_s}, {u"b"_s}}},
        {"a lone CR ends a line", "a\rb\r\rc", {{u"a"_s}, {u"b"_s}, {u"c"_s}}},
        {"empty fields are null", ",x,\n\"\",y", {{u"<null>"_s, u"x"_s, u"<null>"_s}, {u"<null>"_s, u"y"_s}}},
        {"quotes keep commas, line breaks and doubled quotes",
         "\"a,b\",\"c\r\nd\",\"say \"\"hi\"\"\"\nnext", {{u"a,b"_s, u"c\r\nd"_s, u"say \"hi\""_s}, {u"next"_s}}},
        {"quotes in the middle of a field", "ab\"c,d\"e,f", {{u"abc,de"_s, u"f"_s}}},
        {"an unclosed quote runs to the end", "a,\"b\nc,d", {{u"a"_s, u"b\nc,d"_s}}},
        {"a line of blanks is a record", " \n", {{u" "_s}}},
        {"UTF-8, a bad byte replaced", "Jos\xc3\xa9,\xff", {{u"Jos\u00e9"_s, u"\ufffd"_s}}},
        {"a long line", QByteArray(100000, 'A') + ",B\nC", {{QString(100000, u'A'), u"B"_s}, {u"C"_s}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(readAll(c.data), c.rows);
    }
}

namespace {

// A record as the stream gives it, with the lines it takes and its mark.
struct StreamRecord
{
    QByteArray bytes;
    qsizetype firstLine;
    qsizetype lastLine;
    bool unclosedQuote = false;

    bool operator==(const StreamRecord &) const = default;
};

void PrintTo(const StreamRecord &r, std::ostream *os)
{
    *os << '"' << r.bytes.toStdString() << "\" lines " << r.firstLine << "-" << r.lastLine
        << (r.unclosedQuote ? " unclosed" : "");
}

// A source that gives the data `piece` bytes at a time, as a pipe may.
CsvStream::Source pieces(const QByteArray &data, qsizetype piece)
{
    return [data, piece, at = qsizetype(0)](char *buffer, qsizetype size) mutable {
        const qsizetype count = std::min({piece, size, data.size() - at});
        std::memcpy(buffer, data.constData() + at, std::size_t(count));
        at += count;
        return count;
    };
}

QList<StreamRecord> streamAll(const QByteArray &data, qsizetype piece)
{
    QList<StreamRecord> records;
    CsvStream stream(pieces(data, piece));
    CsvStream::Record record;
    while (stream.next(record) == CsvStream::Status::Record)
        records.append({record.bytes.toByteArray(), record.firstLine, record.lastLine, record.unclosedQuote});
    return records;
}

} // namespace

TEST(Csv, StreamFindsTheRecordsInAnyPiecesWithTheirLines)
{
    const QByteArray manyLines = QByteArray("x\n").repeated(CsvStream::kMaxQuotedSpan / 2 + 10);
    const struct
    {
        const char *label;
        QByteArray data;
        QList<StreamRecord> records;
    } cases[] = {
        {"LF, CR LF and a lone CR end lines; empty lines are skipped but counted",
         "\xEF\xBB\xBF" "a,b\r\n\nc\rd\n\r\ne",
         {{"a,b", 1, 1}, {"c", 3, 3}, {"d", 4, 4}, {"e", 6, 6}}},
        {"a quoted field holds line breaks, commas and doubled quotes",
         "\"a\r\nb\",\"say \"\"hi\"\",\n\"\nnext\n",
         {{"\"a\r\nb\",\"say \"\"hi\"\",\n\"", 1, 3}, {"next", 4, 4}}},
        {"quotes within one line are read as CsvReader reads them", "ab\"c,d\"e,f\n\"g\"h\n",
         {{"ab\"c,d\"e,f", 1, 1}, {"\"g\"h", 2, 2}}},
        {"an unclosed quote takes its own line only", "\"Mary,Ann,Smith,1979-08-06\nJohn,,Doe,1980-03-15\n",
         {{"\"Mary,Ann,Smith,1979-08-06", 1, 1, true}, {"John,,Doe,1980-03-15", 2, 2}}},
        {"a stray quote is not closed by the next quoted field", "a,\"b\nc\n\"d\",e\n",
         {{"a,\"b", 1, 1, true}, {"c", 2, 2}, {"\"d\",e", 3, 3}}},
        {"a stray quote closed where a field ends joins the lines, and says which", "\"a,b\nc,d\"\ne\n",
         {{"\"a,b\nc,d\"", 1, 2}, {"e", 3, 3}}},
        {"a quote open at the end of the input, on the last line", "a\n\"b,c", {{"a", 1, 1}, {"\"b,c", 2, 2, true}}},
        {"a quote open at the end of the input, past a line end", "\"a\r\nb\r\n",
         {{"\"a", 1, 1, true}, {"b", 2, 2}}},
        {"a quoted field over lines, then a stray quote", "\"a\nb\",\"c\nd\ne\"f\n",
         {{"\"a\nb\",\"c", 1, 2, true}, {"d", 3, 3}, {"e\"f", 4, 4, true}}},
        {"a quote left open longer than a field may run", "\"a\n" + manyLines + "b\n",
         [&] {
             QList<StreamRecord> records{{"\"a", 1, 1, true}};
             for (qsizetype line = 2; line < CsvStream::kMaxQuotedSpan / 2 + 12; ++line)
                 records.append({"x", line, line});
             records.append({"b", records.size() + 1, records.size() + 1});
             return records;
         }()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        for (const qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(5), qsizetype(1) << 30}) {
            if (piece < 5 && c.data.size() > 100000)
                continue; // the long case a byte at a time tells nothing more
            SCOPED_TRACE(piece);
            EXPECT_EQ(streamAll(c.data, piece), c.records);
        }
    }
}

TEST(Csv, StreamHandsOnWhatItHasBeforeWaiting)
{
    // Two whole rows and the start of a third have come in; the rest has not.
    QByteArray arrived = "h\nrow 1\nrow 2\nro";
    CsvStream stream([&arrived](char *buffer, qsizetype size) {
        const qsizetype count = std::min(size, arrived.size());
        std::memcpy(buffer, arrived.constData(), std::size_t(count));
        arrived.remove(0, count);
        return count;
    });
    CsvStream::Record record;
    ASSERT_EQ(stream.next(record), CsvStream::Status::Record);
    EXPECT_EQ(record.bytes, "h");
    for (const char *row : {"row 1", "row 2"}) {
        ASSERT_EQ(stream.next(record, false), CsvStream::Status::Record);
        EXPECT_EQ(record.bytes, row);
    }
    EXPECT_EQ(stream.next(record, false), CsvStream::Status::WouldRead);
    arrived = "w 3\n";
    ASSERT_EQ(stream.next(record), CsvStream::Status::Record);
    EXPECT_EQ(record.bytes, "row 3");
    EXPECT_EQ(record.firstLine, 4);
    EXPECT_EQ(stream.next(record), CsvStream::Status::End);

    CsvStream failing([](char *, qsizetype) { return qsizetype(-1); });
    EXPECT_EQ(failing.next(record), CsvStream::Status::Failed);
}
