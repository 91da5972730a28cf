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
