#include "numpro/readings/readingvalues.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace numpro {

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

void ReadingValue::write(JsonWriter &out) const
{
    switch (m_value.index()) {
    case 0:
    case 1:
        out.null();
        break;
    case 2:
        out.value(std::get<bool>(m_value));
        break;
    case 3:
        out.value(std::get<int>(m_value));
        break;
    case 4: {
        const List &list = std::get<List>(m_value);
        out.beginArray();
        for (std::size_t i = 0; i < list.size; ++i)
            out.value(int(list.numbers[i]));
        out.endArray();
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
        out.beginObject();
        for (std::size_t i = 0; i < record.size; ++i)
            out.key(record.names[order[i]]).value(int(record.numbers[order[i]]));
        out.endObject();
        break;
    }
    case 6:
        out.value(std::get<QStringView>(m_value));
        break;
    case 7:
        out.value(std::get<QJsonValue>(m_value));
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

} // namespace numpro
