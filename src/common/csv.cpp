#include "common/csv.h"

QList<QStringList> parseCsv(const QByteArray &data)
{
    QList<QStringList> rows;
    QStringList row;
    QByteArray field;
    bool quoted = false;     // inside a quoted field
    bool rowHasData = false; // anything but an empty line
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;

    auto endField = [&] {
        row.append(QString::fromUtf8(field));
        field.clear();
    };
    auto endRow = [&] {
        if (rowHasData) {
            endField();
            rows.append(row);
        }
        row.clear();
        field.clear();
        rowHasData = false;
    };

    for (; i < data.size(); ++i) {
        const char c = data[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < data.size() && data[i + 1] == '"') {
                    field.append('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
            continue;
        }
        switch (c) {
        case '"':
            quoted = true;
            rowHasData = true;
            break;
        case ',':
            endField();
            rowHasData = true;
            break;
        case '\r':
            if (i + 1 < data.size() && data[i + 1] == '\n')
                break; // the LF ends the row
            endRow();
            break;
        case '\n':
            endRow();
            break;
        default:
            field.append(c);
            rowHasData = true;
        }
    }
    endRow();
    return rows;
}
