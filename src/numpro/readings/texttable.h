#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace numpro {

// An interpretation table: from a number (or a day of the month) to its text.
// Multi-part texts keep their parts separated by CR LF inside the one text.
class TextTable
{
public:
    TextTable() = default;

    // Reads a JSON object whose keys are decimal numbers ("1", "22") and whose
    // values are texts.  Keys written any other way ("01", "x") and values that
    // are not texts are left out, so the table holds only entries a reading
    // can look up.  Broken JSON gives an empty table.
    static TextTable fromJson(const QByteArray &json);

    // The table compiled in as ":/texts/<name>.json"; empty if there is none.
    static TextTable fromResource(QStringView name);

    // The text for the key; empty when the table has no such key.
    QString text(int key) const { return m_texts.value(key); }

    // Every key of the table in ascending order.
    QList<int> keys() const;

private:
    QHash<int, QString> m_texts;
};

// The named table, read from the resources on first use and kept for the
// lifetime of the program.  The reference stays valid.
const TextTable &textTable(QStringView name);

} // namespace numpro
