#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <functional>
#include <vector>

// Comma-separated values as spreadsheets write them: fields may be quoted,
// a quoted field may hold commas, line breaks and doubled quotes; lines end
// in LF or CR LF; text is UTF-8 (a leading byte-order mark is skipped).
// Empty lines are skipped.
//
// Reading is in two steps, so that a large file is split into records on one
// thread and the records are read on many: CsvReader (or CsvStream, for input
// that arrives a piece at a time) finds where each record lies, CsvRecord
// splits one into fields and decodes those asked for.

// The records of a CSV text, one after the other, as views into the data.
class CsvReader
{
public:
    // The data must outlive the reader and the records it hands out.
    explicit CsvReader(QByteArrayView data);

    // Sets record to the next record's bytes without its line end; false
    // after the last.
    bool next(QByteArrayView &record);

private:
    QByteArrayView m_data;
    qsizetype m_at = 0;
};

// The fields of one record found by CsvReader.
class CsvRecord
{
public:
    CsvRecord() = default;
    // The record must outlive this.
    explicit CsvRecord(QByteArrayView record);

    qsizetype size() const { return m_fields.size(); }
    // The field's text: quotes taken away, doubled quotes single, UTF-8
    // decoded.  Null for an empty field.
    QString field(qsizetype index) const;

private:
    struct Field
    {
        qsizetype begin;
        qsizetype end;
        bool quotes; // holds a quote character: the quotes must come out
    };
    QByteArrayView m_record;
    QVarLengthArray<Field, 16> m_fields;
};

// The records of CSV text that arrives a piece at a time (standard input, a
// file too large to hold), found as CsvReader finds them in a whole text but
// for one thing: a stray quote may not take the rest of the input.  A quote
// still open where a line ends carries its record onto the next lines only
// when it closes as a quoted field does (before a comma, a line end or the
// end of the input) within kMaxQuotedSpan bytes.  Otherwise, and where the
// input ends inside quotes, the record is marked as holding a quote that is
// never closed and ends with the line the quote opened on; the next record
// starts on the line after it.
class CsvStream
{
public:
    // Reads up to size bytes into buffer: how many, 0 at the end of the
    // input, -1 when it cannot.
    using Source = std::function<qsizetype(char *buffer, qsizetype size)>;

    struct Record
    {
        QByteArrayView bytes;    // without its line end; valid until the next call of next()
        qsizetype firstLine = 0; // the lines of the input it takes, the first line 1
        qsizetype lastLine = 0;
        bool unclosedQuote = false;
    };
    enum class Status { Record, WouldRead, End, Failed };

    // How far past the quote that opened it a quoted field holding line
    // breaks may run.
    static constexpr qsizetype kMaxQuotedSpan = 1024 * 1024;

    explicit CsvStream(Source source);

    // The next record.  With mayRead false, WouldRead where the record is
    // not whole in what has been read, so that a caller can hand on the
    // records it has before it waits for more input.  Failed when the
    // source failed.
    Status next(Record &record, bool mayRead = true);

private:
    bool scan(Record &record);
    bool take(Record &record, qsizetype end, qsizetype next, bool unclosedQuote, qsizetype lineEnds);
    bool cutAtQuotedLine(Record &record);
    bool fill();
    void startRecord();

    Source m_source;
    std::vector<char> m_buffer;
    qsizetype m_begin = 0; // the bytes read and not yet handed out
    qsizetype m_end = 0;
    bool m_atEnd = false;
    bool m_markChecked = false;
    qsizetype m_line = 1; // the line at m_begin
    // How far the record at m_begin has been scanned.
    qsizetype m_scan = 0;
    bool m_quoted = false;
    qsizetype m_openedAt = 0; // the quote that opened the quoted part being scanned
    bool m_spansLines = false; // that quoted part holds a line end
    qsizetype m_lineEnds = 0;  // line ends inside the record so far
};

// Every record with every field, at once.
QList<QStringList> parseCsv(const QByteArray &data);
