// The batch file reader: records found in the whole text, fields split and
// decoded from each record, as spreadsheets write them.
#include "common/csv.h"

#include <gtest/gtest.h>

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
