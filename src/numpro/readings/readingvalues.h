#pragma once

#include "common/jsonwriter.h"

#include <QByteArray>
#include <QJsonValue>
#include <QVarLengthArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>

namespace numpro {

using kestrava::JsonWriter;

// One value of a reading.  The kinds the readings set (numbers, short lists
// of numbers, a few named numbers, fixed texts, flags) are held without
// allocating: a batch computes them for many thousands of subjects.
class ReadingValue
{
public:
    // At most nine numbers: the karmic lessons are the longest list.
    struct List
    {
        std::array<qint16, 9> numbers{};
        quint8 size = 0;
    };
    // Numbers by name, as a JSON object; the names are views of static text.
    struct Record
    {
        const QStringView *names = nullptr;
        std::array<qint16, 4> numbers{};
        quint8 size = 0;
    };

    ReadingValue() = default; // undefined: no value
    static ReadingValue null();
    explicit ReadingValue(bool flag) : m_value(flag) {}
    explicit ReadingValue(int number) : m_value(number) {}
    explicit ReadingValue(const List &list) : m_value(list) {}
    explicit ReadingValue(const Record &record) : m_value(record) {}
    // The view must stay valid as long as the value: a literal.
    explicit ReadingValue(QStringView staticText) : m_value(staticText) {}
    explicit ReadingValue(const QJsonValue &value) : m_value(value) {}

    bool isNull() const;
    // The number; `otherwise` for any other kind of value.
    int toInt(int otherwise = 0) const;
    bool toBool(bool otherwise = false) const;
    QJsonValue toJson() const;
    // Writes the value (after a key, or as an element) as compact JSON text,
    // as QJsonDocument writes it.
    void write(JsonWriter &out) const;

private:
    std::variant<std::monostate, std::nullptr_t, bool, int, List, Record, QStringView, QJsonValue> m_value;
};

// What one reading computed: its named values (the keys are the reading's
// JSON keys, "lifePath", "dayDigitSum", ...) and, for a reading whose hidden
// label shows more than its number, the caption of that label.  A handful
// of values in the order they were set: cheap to build for batches of
// thousands of subjects.  Keys are kept as views: pass string literals.
class ReadingValues
{
public:
    ReadingValues &setNumber(QStringView key, int value);
    // A value the reading could not compute (JSON null).
    ReadingValues &setNull(QStringView key);
    // Lists, texts and objects.
    ReadingValues &setValue(QStringView key, const QJsonValue &value);
    // A list of numbers (at most nine), written as a JSON array.
    ReadingValues &setNumbers(QStringView key, std::span<const qint16> numbers);
    ReadingValues &setNumbers(QStringView key, std::initializer_list<qint16> numbers);
    // Numbers by name, written as a JSON object.  The names are kept as views:
    // a static array of literals, as many as numbers (at most four).
    ReadingValues &setNamedNumbers(QStringView key, const QStringView *names, std::span<const qint16> numbers);
    // A fixed text, kept as a view: pass a literal.
    ReadingValues &setText(QStringView key, QStringView staticText);
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
    using Entries = QVarLengthArray<std::pair<QStringView, ReadingValue>, 4>;
    const Entries &entries() const { return m_values; }

private:
    ReadingValues &set(QStringView key, ReadingValue value);
    const ReadingValue *find(QStringView key) const;
    // Keys are literals: the same literal is found without comparing text.
    static bool sameKey(QStringView a, QStringView b)
    {
        return a.size() == b.size() && (a.data() == b.data() || a == b);
    }

    Entries m_values;
    std::optional<QString> m_label;
};

} // namespace numpro
