#include "common/jsonwriter.h"

#include <QJsonArray>
#include <QJsonObject>

#include <charconv>
#include <cmath>
#include <cstring>

namespace kestrava {

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

void JsonWriter::putInteger(qint64 n)
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

void JsonWriter::put(const QJsonValue &value)
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
            put(array.at(i));
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
            put(it.value());
        }
        put('}');
        break;
    }
    }
}

void appendJsonString(std::string &out, QStringView text)
{
    JsonWriter(out).putString(text);
}

void appendJson(std::string &out, const QJsonValue &value)
{
    JsonWriter(out).put(value);
}

JsonObjectWriter::JsonObjectWriter()
{
    m_out.reserve(128);
    m_out += '{';
}

void JsonObjectWriter::addKey(const char *key)
{
    if (m_out.size() > 1)
        m_out += ',';
    appendJsonString(m_out, QString::fromUtf8(key));
    m_out += ':';
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, int number)
{
    addKey(key);
    m_out += std::to_string(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, qint64 number)
{
    addKey(key);
    m_out += std::to_string(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addJson(const char *key, QByteArrayView json)
{
    addKey(key);
    m_out.append(json.data(), std::size_t(json.size()));
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QString &text)
{
    addKey(key);
    appendJsonString(m_out, text);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addNull(const char *key)
{
    addKey(key);
    m_out += "null";
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QList<int> &numbers)
{
    addKey(key);
    m_out += '[';
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            m_out += ',';
        m_out += std::to_string(numbers[i]);
    }
    m_out += ']';
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QStringList &texts)
{
    addKey(key);
    m_out += '[';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            m_out += ',';
        appendJsonString(m_out, texts[i]);
    }
    m_out += ']';
    return *this;
}

QByteArray JsonObjectWriter::finish()
{
    m_out += '}';
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
