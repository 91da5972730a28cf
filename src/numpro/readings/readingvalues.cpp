#include "numpro/readings/readingvalues.h"

#include <QJsonArray>
#include <QJsonObject>

#include <charconv>
#include <cmath>

namespace numpro {

ReadingValues &ReadingValues::setNumber(QStringView key, qint16 value)
{
    return setValue(key, int(value));
}

ReadingValues &ReadingValues::setNull(QStringView key)
{
    return setValue(key, QJsonValue::Null);
}

ReadingValues &ReadingValues::setValue(QStringView key, const QJsonValue &value)
{
    for (auto &entry : m_values) {
        if (entry.first == key) {
            entry.second = value;
            return *this;
        }
    }
    m_values.emplace_back(key, value);
    return *this;
}

ReadingValues &ReadingValues::setFlag(QStringView key)
{
    return setValue(key, true);
}

qint16 ReadingValues::number(QStringView key) const
{
    return qint16(value(key).toInt(0));
}

bool ReadingValues::isNull(QStringView key) const
{
    return value(key).isNull();
}

bool ReadingValues::flag(QStringView key) const
{
    return value(key).toBool(false);
}

QJsonValue ReadingValues::value(QStringView key) const
{
    for (const auto &entry : m_values) {
        if (entry.first == key)
            return entry.second;
    }
    return QJsonValue(QJsonValue::Undefined);
}

ReadingValues &ReadingValues::setLabelCaption(const QString &caption)
{
    m_label = caption;
    return *this;
}

void appendJsonString(std::string &out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    auto appendByte = [&out](char c) {
        const auto byte = uchar(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    };
    bool plain = true; // printable ASCII with nothing to escape: copied as it is
    for (const QChar c : text)
        plain = plain && c.unicode() >= 0x20 && c.unicode() < 0x80 && c != u'"' && c != u'\\';
    if (plain) {
        const std::size_t start = out.size();
        out.resize(start + std::size_t(text.size()) + 2);
        char *p = out.data() + start;
        *p++ = '"';
        for (const QChar c : text)
            *p++ = char(c.unicode());
        *p = '"';
        return;
    }
    out += '"';
    {
        for (const char c : text.toUtf8())
            appendByte(c);
    }
    out += '"';
}

void appendJson(std::string &out, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out += "null";
        break;
    case QJsonValue::Bool:
        out += value.toBool() ? "true" : "false";
        break;
    case QJsonValue::Double: {
        const double d = value.toDouble();
        char digits[32];
        const auto written = d == std::floor(d) && std::abs(d) < 1e15
                                 ? std::to_chars(digits, digits + sizeof digits, qint64(d))
                                 : std::to_chars(digits, digits + sizeof digits, d);
        out.append(digits, std::size_t(written.ptr - digits));
        break;
    }
    case QJsonValue::String:
        appendJsonString(out, value.toString());
        break;
    case QJsonValue::Array: {
        out += '[';
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (i > 0)
                out += ',';
            appendJson(out, array.at(i));
        }
        out += ']';
        break;
    }
    case QJsonValue::Object: {
        out += '{';
        const QJsonObject object = value.toObject();
        bool first = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!first)
                out += ',';
            first = false;
            appendJsonString(out, it.key());
            out += ':';
            appendJson(out, it.value());
        }
        out += '}';
        break;
    }
    }
}

} // namespace numpro
