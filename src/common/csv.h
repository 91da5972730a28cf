#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Comma-separated values as spreadsheets write them: fields may be quoted,
// a quoted field may hold commas, line breaks and doubled quotes; lines end
// in LF or CR LF; text is UTF-8 (a leading byte-order mark is skipped).
// Empty lines are skipped.
QList<QStringList> parseCsv(const QByteArray &data);
