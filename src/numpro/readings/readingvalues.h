#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QVarLengthArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>
#include <string>
#include <utility>

namespace numpro {

// What one reading computed: its named values (the keys are the reading's
// JSON keys, "lifePath", "dayDigitSum", ...) and, for a reading that keeps
// its number on the navigator, the caption of its hidden label.  A handful
// of values in the order they were set: cheap to build for batches of
// thousands of subjects.  Keys are kept as views: pass string literals.
class ReadingValues
{
public:
    ReadingValues &setNumber(QStringView key, qint16 value);
    // A value the reading could not compute (JSON null).
    ReadingValues &setNull(QStringView key);
    // Lists, texts and objects.
    ReadingValues &setValue(QStringView key, const QJsonValue &value);
    // A flag that says why a value is what it is (true).
    ReadingValues &setFlag(QStringView key);

    // The number under key; 0 when the key is missing, null or no number.
    qint16 number(QStringView key) const;
    bool isNull(QStringView key) const;
    // Whether the key holds true; a flag is set only when it holds.
    bool flag(QStringView key) const;
    // Undefined when the key is missing.
    QJsonValue value(QStringView key) const;

    const std::optional<QString> &labelCaption() const { return m_label; }
    ReadingValues &setLabelCaption(const QString &caption);

    // Every value, in the order set.
    using Entries = QVarLengthArray<std::pair<QStringView, QJsonValue>, 4>;
    const Entries &entries() const { return m_values; }

private:
    Entries m_values;
    std::optional<QString> m_label;
};

// Appends the value as compact JSON text (what QJsonDocument writes, with
// integral numbers written as integers).
void appendJson(std::string &out, const QJsonValue &value);
// Appends the text as a JSON string.
void appendJsonString(std::string &out, QStringView text);

} // namespace numpro
