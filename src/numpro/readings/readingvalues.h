#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace numpro {

// What one reading computed: its named values (the keys are the reading's
// JSON keys, "lifePath", "dayDigitSum", ...) and, for a reading that keeps
// its number on the navigator, the caption of its hidden label.
class ReadingValues
{
public:
    ReadingValues &setNumber(QStringView key, qint16 value);
    // A value the reading could not compute (JSON null).
    ReadingValues &setNull(QStringView key);
    // Lists, texts and objects.
    ReadingValues &setValue(QStringView key, const QJsonValue &value);

    // The number under key; 0 when the key is missing, null or no number.
    qint16 number(QStringView key) const;
    bool isNull(QStringView key) const;
    QJsonValue value(QStringView key) const { return m_json.value(key); }

    const std::optional<QString> &labelCaption() const { return m_label; }
    ReadingValues &setLabelCaption(const QString &caption);

    // Every value as one JSON object.
    const QJsonObject &toJson() const { return m_json; }

private:
    QJsonObject m_json;
    std::optional<QString> m_label;
};

} // namespace numpro
