#include "numpro/readings/readingvalues.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace numpro {

namespace {

void appendInteger(std::string &out, qint64 n)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, std::size_t(written.ptr - digits));
}

} // namespace

ReadingValue ReadingValue::null()
{
    ReadingValue value;
    value.m_value = nullptr;
    return value;
}

int ReadingValue::toInt(int otherwise) const
{
    if (const int *number = std::get_if<int>(&m_value))
        return *number;
    if (const QJsonValue *json = std::get_if<QJsonValue>(&m_value))
        return json->toInt(otherwise);
    return otherwise;
}

bool ReadingValue::toBool(bool otherwise) const
{
    if (const bool *flag = std::get_if<bool>(&m_value))
        return *flag;
    if (const QJsonValue *json = std::get_if<QJsonValue>(&m_value))
        return json->toBool(otherwise);
    return otherwise;
}

QJsonValue ReadingValue::toJson() const
{
    struct
    {
        QJsonValue operator()(std::monostate) const { return QJsonValue(QJsonValue::Undefined); }
        QJsonValue operator()(std::nullptr_t) const { return QJsonValue(QJsonValue::Null); }
        QJsonValue operator()(bool flag) const { return flag; }
        QJsonValue operator()(int number) const { return number; }
        QJsonValue operator()(const List &list) const
        {
            QJsonArray array;
            for (std::size_t i = 0; i < list.size; ++i)
                array.append(int(list.numbers[i]));
            return array;
        }
        QJsonValue operator()(const Record &record) const
        {
            QJsonObject object;
            for (std::size_t i = 0; i < record.size; ++i)
                object.insert(record.names[i], qint64(record.numbers[i]));
            return object;
        }
        QJsonValue operator()(QStringView text) const { return text.toString(); }
        QJsonValue operator()(const QJsonValue &json) const { return json; }
    } convert;
    return std::visit(convert, m_value);
}

void ReadingValue::appendJson(std::string &out) const
{
    switch (m_value.index()) {
    case 0:
    case 1:
        out += "null";
        break;
    case 2:
        out += std::get<bool>(m_value) ? "true" : "false";
        break;
    case 3:
        appendInteger(out, std::get<int>(m_value));
        break;
    case 4: {
        const List &list = std::get<List>(m_value);
        out += '[';
        for (std::size_t i = 0; i < list.size; ++i) {
            if (i > 0)
                out += ',';
            appendInteger(out, list.numbers[i]);
        }
        out += ']';
        break;
    }
    case 5: {
        // In the order of the names, as a JSON object keeps its keys.
        const Record &record = std::get<Record>(m_value);
        std::array<std::size_t, 4> order{};
        for (std::size_t i = 0; i < record.size; ++i)
            order[i] = i;
        std::sort(order.begin(), order.begin() + record.size,
                  [&](std::size_t a, std::size_t b) { return record.names[a] < record.names[b]; });
        out += '{';
        for (std::size_t i = 0; i < record.size; ++i) {
            if (i > 0)
                out += ',';
            appendJsonString(out, record.names[order[i]]);
            out += ':';
            appendInteger(out, record.numbers[order[i]]);
        }
        out += '}';
        break;
    }
    case 6:
        appendJsonString(out, std::get<QStringView>(m_value));
        break;
    case 7:
        numpro::appendJson(out, std::get<QJsonValue>(m_value));
        break;
    }
}

bool ReadingValue::isNull() const
{
    if (const QJsonValue *json = std::get_if<QJsonValue>(&m_value))
        return json->isNull();
    return m_value.index() == 1;
}

ReadingValues &ReadingValues::set(QStringView key, ReadingValue value)
{
    for (auto &entry : m_values) {
        if (sameKey(entry.first, key)) {
            entry.second = std::move(value);
            return *this;
        }
    }
    m_values.emplace_back(key, std::move(value));
    return *this;
}

const ReadingValue *ReadingValues::find(QStringView key) const
{
    for (const auto &entry : m_values) {
        if (sameKey(entry.first, key))
            return &entry.second;
    }
    return nullptr;
}

ReadingValues &ReadingValues::setNumber(QStringView key, int value)
{
    return set(key, ReadingValue(value));
}

ReadingValues &ReadingValues::setNull(QStringView key)
{
    return set(key, ReadingValue::null());
}

ReadingValues &ReadingValues::setValue(QStringView key, const QJsonValue &value)
{
    return set(key, ReadingValue(value));
}

ReadingValues &ReadingValues::setNumbers(QStringView key, std::span<const qint16> numbers)
{
    ReadingValue::List list;
    Q_ASSERT(numbers.size() <= list.numbers.size());
    list.size = quint8(std::min(numbers.size(), list.numbers.size()));
    std::copy_n(numbers.begin(), list.size, list.numbers.begin());
    return set(key, ReadingValue(list));
}

ReadingValues &ReadingValues::setNumbers(QStringView key, std::initializer_list<qint16> numbers)
{
    return setNumbers(key, std::span<const qint16>(numbers.begin(), numbers.size()));
}

ReadingValues &ReadingValues::setNamedNumbers(QStringView key, const QStringView *names,
                                              std::span<const qint16> numbers)
{
    ReadingValue::Record record;
    Q_ASSERT(numbers.size() <= record.numbers.size());
    record.names = names;
    record.size = quint8(std::min(numbers.size(), record.numbers.size()));
    std::copy_n(numbers.begin(), record.size, record.numbers.begin());
    return set(key, ReadingValue(record));
}

ReadingValues &ReadingValues::setText(QStringView key, QStringView staticText)
{
    return set(key, ReadingValue(staticText));
}

ReadingValues &ReadingValues::setFlag(QStringView key)
{
    return set(key, ReadingValue(true));
}

qint16 ReadingValues::number(QStringView key) const
{
    const ReadingValue *value = find(key);
    return qint16(value ? value->toInt(0) : 0);
}

bool ReadingValues::isNull(QStringView key) const
{
    const ReadingValue *value = find(key);
    return value && value->isNull();
}

bool ReadingValues::flag(QStringView key) const
{
    const ReadingValue *value = find(key);
    return value && value->toBool(false);
}

QJsonValue ReadingValues::value(QStringView key) const
{
    const ReadingValue *value = find(key);
    return value ? value->toJson() : QJsonValue(QJsonValue::Undefined);
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
