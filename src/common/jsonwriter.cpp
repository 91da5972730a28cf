#include "common/jsonwriter.h"

#include <QJsonArray>
#include <QJsonObject>

#include <charconv>
#include <cmath>
#include <cstring>

namespace kestrava {

JsonWriter &JsonWriter::open(char bracket)
{
    separate();
    put(bracket);
    ++m_depth;
    m_comma = false;
    return *this;
}

JsonWriter &JsonWriter::close(char bracket)
{
    Q_ASSERT(m_depth > 0);
    put(bracket);
    --m_depth;
    m_comma = true;
    return *this;
}

JsonWriter &JsonWriter::key(const char *name)
{
    // Literal keys are plain ASCII: copied as they are.
    const char *end = name;
    bool plain = true;
    for (; *end; ++end)
        plain &= uchar(*end) >= 0x20 && uchar(*end) < 0x80 && *end != '"' && *end != '\\';
    if (!plain)
        return key(QString::fromUtf8(name, end - name));
    separate();
    put('"');
    put(name, std::size_t(end - name));
    put('"');
    put(':');
    m_comma = false;
    return *this;
}

JsonWriter &JsonWriter::value(bool flag)
{
    separate();
    if (flag)
        put("true", 4);
    else
        put("false", 5);
    m_comma = true;
    return *this;
}

JsonWriter &JsonWriter::value(const QJsonValue &value)
{
    separate();
    putJsonValue(value);
    m_comma = true;
    return *this;
}

JsonWriter &JsonWriter::null()
{
    separate();
    put("null", 4);
    m_comma = true;
    return *this;
}

JsonWriter &JsonWriter::json(QByteArrayView compact)
{
    separate();
    put(compact.data(), std::size_t(compact.size()));
    m_comma = true;
    return *this;
}

void JsonWriter::flush()
{
    m_out.append(m_buffer, m_size);
    m_size = 0;
}

void JsonWriter::put(const char *text, std::size_t size)
{
    if (m_size + size > kRoom) {
        flush();
        if (size > kRoom) {
            m_out.append(text, size);
            return;
        }
    }
    std::memcpy(m_buffer + m_size, text, size);
    m_size += size;
}

void JsonWriter::putLongInteger(qint64 n)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, n);
    put(digits, std::size_t(written.ptr - digits));
}

void JsonWriter::putString(QStringView text)
{
    const char16_t *units = text.utf16();
    const std::size_t size = std::size_t(text.size());
    if (size + 2 <= kRoom) {
        // Copied as it is while it is printable ASCII with nothing to escape
        // (the usual case: keys and names); otherwise written again below.
        if (m_size + size + 2 > kRoom)
            flush();
        char *p = m_buffer + m_size;
        *p++ = '"';
        bool escape = false;
        for (std::size_t i = 0; i < size; ++i) {
            const char16_t u = units[i];
            escape |= (u < 0x20) | (u >= 0x80) | (u == u'"') | (u == u'\\');
            p[i] = char(u);
        }
        if (!escape) {
            p[size] = '"';
            m_size += size + 2;
            return;
        }
    }
    static const char hex[] = "0123456789abcdef";
    put('"');
    for (const char c : text.toUtf8()) {
        const auto byte = uchar(c);
        if (c == '"' || c == '\\') {
            put('\\');
            put(c);
        } else if (byte < 0x20) {
            put("\\u00", 4);
            put(hex[byte >> 4]);
            put(hex[byte & 0xF]);
        } else {
            put(c);
        }
    }
    put('"');
}

void JsonWriter::putJsonValue(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        put("null", 4);
        break;
    case QJsonValue::Bool:
        if (value.toBool())
            put("true", 4);
        else
            put("false", 5);
        break;
    case QJsonValue::Double: {
        const double d = value.toDouble();
        char digits[32];
        const auto written = d == std::floor(d) && std::abs(d) < 1e15
                                 ? std::to_chars(digits, digits + sizeof digits, qint64(d))
                                 : std::to_chars(digits, digits + sizeof digits, d);
        put(digits, std::size_t(written.ptr - digits));
        break;
    }
    case QJsonValue::String:
        putString(value.toString());
        break;
    case QJsonValue::Array: {
        put('[');
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (i > 0)
                put(',');
            putJsonValue(array.at(i));
        }
        put(']');
        break;
    }
    case QJsonValue::Object: {
        put('{');
        const QJsonObject object = value.toObject();
        bool first = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!first)
                put(',');
            first = false;
            putString(it.key());
            put(':');
            putJsonValue(it.value());
        }
        put('}');
        break;
    }
    }
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, int number)
{
    m_json.key(key).value(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, qint64 number)
{
    m_json.key(key).value(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QString &text)
{
    m_json.key(key).value(text);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addNull(const char *key)
{
    m_json.key(key).null();
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QList<int> &numbers)
{
    m_json.key(key).beginArray();
    for (const int number : numbers)
        m_json.value(number);
    m_json.endArray();
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QStringList &texts)
{
    m_json.key(key).beginArray();
    for (const QString &text : texts)
        m_json.value(text);
    m_json.endArray();
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addJson(const char *key, QByteArrayView json)
{
    m_json.key(key).json(json);
    return *this;
}

QByteArray JsonObjectWriter::finish()
{
    m_json.endObject().flush();
    return QByteArray(m_out.data(), qsizetype(m_out.size()));
}

QByteArray indentJson(QByteArrayView compact, int step)
{
    QByteArray out;
    out.reserve(compact.size() * 2);
    int depth = 0;
    auto newLine = [&] {
        out += '\n';
        out += QByteArray(depth * step, ' ');
    };
    bool inString = false;
    for (qsizetype i = 0; i < compact.size(); ++i) {
        const char c = compact[i];
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < compact.size())
                out += compact[++i];
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            out += c;
            break;
        case '{':
        case '[':
            out += c;
            if (i + 1 < compact.size() && (compact[i + 1] == '}' || compact[i + 1] == ']')) {
                out += compact[++i];
                break;
            }
            ++depth;
            newLine();
            break;
        case '}':
        case ']':
            --depth;
            newLine();
            out += c;
            break;
        case ',':
            out += c;
            newLine();
            break;
        case ':':
            out += ": ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace kestrava
