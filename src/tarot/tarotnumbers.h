#pragma once

#include <QStringView>
#include <QtGlobal>

// The two core numbers of Virer Ovuvudavov: 1 to 9, 11 or 22 (0 for a name
// without letters).
namespace tarot {

// From the date lists' texts: day and year each folded once (so a year can
// count 10), the month by the month table; a total of 11 or 22 is kept,
// anything else folded.
qint16 lifePathNumber(QStringView day, QStringView month, QStringView year);

// From the name, each character turned into upper case before it is valued
// (so "john smith" counts as "JOHN SMITH"), summed and reduced.
qint16 destinyNumber(QStringView name);

} // namespace tarot
