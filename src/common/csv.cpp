#include "common/csv.h"

#include <cstring>

namespace {

// The first of the three characters at or after from, or end.
const char *findAny(const char *from, const char *end, char a, char b, char c)
{
    for (; from < end; ++from) {
        if (*from == a || *from == b || *from == c)
            return from;
    }
    return end;
}

} // namespace

CsvReader::CsvReader(QByteArrayView data) : m_data(data)
{
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_at = 3;
}

bool CsvReader::next(QByteArrayView &record)
{
    const char *const data = m_data.data();
    const char *const end = data + m_data.size();
    while (m_at < m_data.size()) {
        const char *const begin = data + m_at;
        const char *at = begin;
        // Most lines hold no quote and no lone CR: the record is the line.
        const char *lineEnd = static_cast<const char *>(std::memchr(at, '\n', std::size_t(end - at)));
        if (!lineEnd)
            lineEnd = end;
        const char *special = static_cast<const char *>(std::memchr(at, '"', std::size_t(lineEnd - at)));
        if (const void *cr = std::memchr(at, '\r', std::size_t((special ? special : lineEnd) - at)))
            special = static_cast<const char *>(cr);
        if (!special) {
            at = lineEnd;
        } else {
            // Quotes, or a CR: every character in turn.  Inside quotes a line
            // break belongs to the field; CR LF and a CR alone end a line.
            bool quoted = false;
            for (at = special; at < end; ++at) {
                const char c = *at;
                if (quoted) {
                    if (c == '"') {
                        if (at + 1 < end && at[1] == '"')
                            ++at;
                        else
                            quoted = false;
                    }
                } else if (c == '"') {
                    quoted = true;
                } else if (c == '\n' || c == '\r') {
                    break;
                } else {
                    // Nothing special up to the next quote or line end.
                    at = findAny(at, end, '"', '\r', '\n') - 1;
                }
            }
        }
        // at is the line end (or the end of the data); a CR LF ends there too.
        m_at = at - data;
        if (at < end)
            m_at += (*at == '\r' && at + 1 < end && at[1] == '\n') ? 2 : 1;
        if (at > begin) {
            record = QByteArrayView(begin, at - begin);
            return true;
        }
    }
    return false;
}

CsvRecord::CsvRecord(QByteArrayView record) : m_record(record)
{
    const char *const data = record.data();
    const qsizetype size = record.size();
    qsizetype begin = 0;
    if (size > 0 && !std::memchr(data, '"', std::size_t(size))) {
        // No quotes: the fields lie between the commas.
        while (const void *comma = std::memchr(data + begin, ',', std::size_t(size - begin))) {
            const qsizetype at = static_cast<const char *>(comma) - data;
            m_fields.append({begin, at, false});
            begin = at + 1;
        }
        m_fields.append({begin, size, false});
        return;
    }
    bool quotes = false;
    bool quoted = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '"') {
            quotes = true;
            // A doubled quote inside quotes stays inside them.
            if (quoted && i + 1 < size && data[i + 1] == '"')
                ++i;
            else
                quoted = !quoted;
        } else if (c == ',' && !quoted) {
            m_fields.append({begin, i, quotes});
            begin = i + 1;
            quotes = false;
        }
    }
    m_fields.append({begin, size, quotes});
}

QString CsvRecord::field(qsizetype index) const
{
    const Field &f = m_fields[index];
    if (f.begin == f.end)
        return QString();
    const QByteArrayView bytes = m_record.sliced(f.begin, f.end - f.begin);
    if (!f.quotes)
        return QString::fromUtf8(bytes);
    QByteArray text;
    text.reserve(bytes.size());
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '"') {
            text.append(c);
        } else if (quoted && i + 1 < bytes.size() && bytes[i + 1] == '"') {
            text.append('"');
            ++i;
        } else {
            quoted = !quoted;
        }
    }
    return text.isEmpty() ? QString() : QString::fromUtf8(text);
}

QList<QStringList> parseCsv(const QByteArray &data)
{
    QList<QStringList> rows;
    CsvReader reader(data);
    QByteArrayView line;
    while (reader.next(line)) {
        const CsvRecord record(line);
        QStringList row;
        row.reserve(record.size());
        for (qsizetype i = 0; i < record.size(); ++i)
            row.append(record.field(i));
        rows.append(row);
    }
    return rows;
}

namespace {

// Read a megabyte at a time: few calls, and a pipe gives what it holds.
constexpr qsizetype kReadSize = 1024 * 1024;

// The line ends in [from, to): CR LF counts once.
qsizetype countLineEnds(const char *from, const char *to)
{
    qsizetype count = 0;
    for (const char *at = from; at < to; ++at) {
        if (*at == '\n' || (*at == '\r' && !(at + 1 < to && at[1] == '\n')))
            ++count;
    }
    return count;
}

} // namespace

CsvStream::CsvStream(Source source) : m_source(std::move(source)) {}

CsvStream::Status CsvStream::next(Record &record, bool mayRead)
{
    for (;;) {
        // A byte-order mark is skipped; the first bytes tell whether there is one.
        const qsizetype have = m_end - m_begin;
        if (!m_markChecked
            && (have >= 3 || m_atEnd
                || (have > 0 && std::memcmp(m_buffer.data() + m_begin, "\xEF\xBB\xBF", std::size_t(have)) != 0))) {
            m_markChecked = true;
            if (have >= 3 && std::memcmp(m_buffer.data() + m_begin, "\xEF\xBB\xBF", 3) == 0)
                m_begin += 3;
            startRecord();
        }
        if (m_markChecked && scan(record))
            return Status::Record;
        if (m_atEnd)
            return Status::End;
        if (!mayRead)
            return Status::WouldRead;
        if (!fill())
            return Status::Failed;
    }
}

void CsvStream::startRecord()
{
    m_scan = m_begin;
    m_quoted = false;
    m_spansLines = false;
    m_lineEnds = 0;
}

bool CsvStream::fill()
{
    // Keep only the record being scanned, at the front.
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, std::size_t(m_end - m_begin));
        m_end -= m_begin;
        m_scan -= m_begin;
        m_openedAt -= m_begin;
        m_begin = 0;
    }
    if (qsizetype(m_buffer.size()) - m_end < kReadSize)
        m_buffer.resize(std::size_t(m_end + kReadSize));
    const qsizetype count = m_source(m_buffer.data() + m_end, qsizetype(m_buffer.size()) - m_end);
    if (count < 0)
        return false;
    if (count == 0)
        m_atEnd = true;
    m_end += count;
    return true;
}

bool CsvStream::take(Record &record, qsizetype end, qsizetype next, bool unclosedQuote, qsizetype lineEnds)
{
    record.bytes = QByteArrayView(m_buffer.data() + m_begin, end - m_begin);
    record.firstLine = m_line;
    record.lastLine = m_line + lineEnds;
    record.unclosedQuote = unclosedQuote;
    m_line += lineEnds + 1;
    m_begin = next;
    startRecord();
    return true;
}

bool CsvStream::cutAtQuotedLine(Record &record)
{
    // The record ends with the line the quote opened on.
    const char *const data = m_buffer.data();
    const char *lineEnd = data + m_openedAt;
    while (*lineEnd != '\n' && *lineEnd != '\r')
        ++lineEnd;
    qsizetype next = lineEnd - data + 1;
    if (*lineEnd == '\r' && next < m_end && data[next] == '\n')
        ++next;
    return take(record, lineEnd - data, next, true, countLineEnds(data + m_begin, lineEnd));
}

// Scans the record at m_begin on from where the last call stopped: true with
// the record when it is whole, false when it needs more input (or, at the end
// of the input, when there is none left).
bool CsvStream::scan(Record &record)
{
    const char *const data = m_buffer.data();
    const char *const end = data + m_end;
    while (m_begin < m_end) {
        const char *at = data + m_scan;
        if (!m_quoted) {
            // Most lines hold no quote and no CR: one memchr finds their end.
            const char *lineEnd = static_cast<const char *>(std::memchr(at, '\n', std::size_t(end - at)));
            if (!lineEnd)
                lineEnd = end;
            const char *stop = static_cast<const char *>(std::memchr(at, '"', std::size_t(lineEnd - at)));
            if (const void *cr = std::memchr(at, '\r', std::size_t((stop ? stop : lineEnd) - at)))
                stop = static_cast<const char *>(cr);
            if (!stop)
                stop = lineEnd;
            if (stop == end) {
                if (!m_atEnd) {
                    m_scan = m_end;
                    return false;
                }
                return take(record, m_end, m_end, false, m_lineEnds); // the last line has no line end
            }
            if (*stop == '"') {
                m_quoted = true;
                m_openedAt = stop - data;
                m_spansLines = false;
                m_scan = m_openedAt + 1;
                continue;
            }
            qsizetype next = stop - data + 1;
            if (*stop == '\r') {
                if (stop + 1 == end && !m_atEnd) { // an LF may follow
                    m_scan = stop - data;
                    return false;
                }
                if (stop + 1 < end && stop[1] == '\n')
                    ++next;
            }
            if (stop - data == m_begin) { // an empty line
                m_begin = next;
                ++m_line;
                startRecord();
                continue;
            }
            return take(record, stop - data, next, false, m_lineEnds);
        }

        // Inside quotes: on to the next quote, counting the line ends.
        const char *quote = static_cast<const char *>(std::memchr(at, '"', std::size_t(end - at)));
        const char *const stop = quote ? quote : end;
        const char *c = at;
        for (; c < stop; ++c) {
            if (*c == '\n') {
                ++m_lineEnds;
                m_spansLines = true;
            } else if (*c == '\r') {
                if (c + 1 == end && !m_atEnd)
                    break; // an LF may follow
                if (c + 1 < end && c[1] == '\n')
                    ++c;
                ++m_lineEnds;
                m_spansLines = true;
            }
        }
        if (m_spansLines && (c - data) - m_openedAt > kMaxQuotedSpan)
            return cutAtQuotedLine(record);
        if (c < stop || !quote) {
            if (!m_atEnd) {
                m_scan = c - data;
                return false;
            }
            // The input ends inside quotes.
            if (m_spansLines)
                return cutAtQuotedLine(record);
            return take(record, m_end, m_end, true, m_lineEnds);
        }
        if (quote + 1 == end && !m_atEnd) { // a doubled quote, or the closing one?
            m_scan = quote - data;
            return false;
        }
        if (quote + 1 < end && quote[1] == '"') {
            m_scan = quote + 2 - data;
            continue;
        }
        // A quoted field that holds a line break ends where a field ends;
        // a quote that closes anywhere else is one that opened a field by
        // mistake, and the line breaks were never the field's.
        if (m_spansLines && quote + 1 < end && quote[1] != ',' && quote[1] != '\n' && quote[1] != '\r')
            return cutAtQuotedLine(record);
        m_quoted = false;
        m_scan = quote + 1 - data;
    }
    return false;
}
