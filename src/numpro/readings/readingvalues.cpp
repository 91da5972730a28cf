#include "numpro/readings/readingvalues.h"

namespace numpro {

ReadingValues &ReadingValues::setNumber(QStringView key, qint16 value)
{
    m_json.insert(key, int(value));
    return *this;
}

ReadingValues &ReadingValues::setNull(QStringView key)
{
    m_json.insert(key, QJsonValue::Null);
    return *this;
}

ReadingValues &ReadingValues::setValue(QStringView key, const QJsonValue &value)
{
    m_json.insert(key, value);
    return *this;
}

qint16 ReadingValues::number(QStringView key) const
{
    return qint16(m_json.value(key).toInt(0));
}

bool ReadingValues::isNull(QStringView key) const
{
    return m_json.value(key).isNull();
}

ReadingValues &ReadingValues::setLabelCaption(const QString &caption)
{
    m_label = caption;
    return *this;
}

} // namespace numpro
