#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Vavov Uvarevuvir's number of the day: from the birth day and month and
// today's date, a number from 1 to 9 with its word and its paragraph.
namespace daily {

// The digits added up and the sum folded twice, so no master number
// survives (a sum of 11 gives 2, 22 gives 4); the empty text gives 0.
qint16 dailyReduce(QStringView digits);

// The number of the day for a birth day text ("1" to "31") and month name
// (blanks around either are ignored), on the given date.  The birth year
// takes no part.  A month text that is no month name counts 0.
qint16 dailyNumber(QStringView birthDay, QStringView birthMonth, const QDate &today);

// The word ("One" to "Nine") and the paragraph of a number; empty for any
// other number.
QString dailyWord(int number);
QString dailyText(int number);

// The number of the day and its word as one compact JSON object.
QByteArray dailyJson(int number);

// False for a day the month never has: 30 or 31 February, 31 April, June,
// September or November.  29 February passes in any year.
bool birthDateExists(int day, int month);

} // namespace daily
