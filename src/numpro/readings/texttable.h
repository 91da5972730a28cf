#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
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

    // Reads an object whose keys are decimal numbers ("1", "22") and whose
    // values are texts.  Keys written any other way ("01", "x") and values that
    // are not texts are left out, so the table holds only entries a reading
    // can look up.
    static TextTable fromJson(const QJsonObject &object);

    // The text for the key; empty when the table has no such key.
    QString text(int key) const { return m_texts.value(key); }

    // Every key of the table in ascending order.
    QList<int> keys() const;

private:
    QHash<int, QString> m_texts;
};

// The fixed texts of one reading and its interpretation table, as its data
// file holds them: {"caption": ..., "heading": ..., "introduction": ...,
// "texts": {"1": ..., ...}}.
struct ReadingTexts
{
    QString caption;      // the display window's caption
    QString heading;      // the number follows directly
    QString introduction;
    TextTable table;
    // The whole file, for the fields a reading has beyond these.
    QJsonObject fields;

    // A further text of the file by name; empty when there is none.
    QString text(QStringView name) const { return fields.value(name).toString(); }
    // The table's text for the key, or the further text `otherwise` for a
    // key the table does not have.
    QString textOr(int key, QStringView otherwise) const
    {
        const QString found = table.text(key);
        return found.isEmpty() ? text(otherwise) : found;
    }

    // Broken JSON, or fields that are missing or no texts, give empty parts.
    static ReadingTexts fromJson(const QByteArray &json);
};

// The texts of the reading with that id, read from ":/texts/numpro/<id>.json"
// on first use and kept for the lifetime of the program (the reference stays
// valid).  Empty when no such file is compiled in.
const ReadingTexts &readingTexts(QStringView id);

} // namespace numpro
