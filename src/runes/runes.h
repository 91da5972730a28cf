#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Dudov Aduradudav: a name's destiny number and the rune stone that belongs
// to it.
namespace runes {

// The letter values of the name, each character taken in upper case (so
// "jade" counts as "JADE"); only A to Z count.
qint16 nameTotal(QStringView name);

// The digits of the total added up until one digit is left, except that a
// digit sum of 11 or 22 is kept.  The total itself is never kept: 11 gives
// 2, 22 gives 4, 29 gives 11; 0 gives 0.
qint16 reduceByDigitSums(int total);

// The destiny number of a name: blanks around it ignored.
qint16 runesNumber(QStringView name);

struct RuneRow
{
    int number = 0;
    QString numberText; // strengths, CR LF, negative traits
    QString rune;       // empty for 22, which has no rune
    QString keywords;
    QString text;
    QString picture;    // key of the stone's picture ("fehu")
};

// The row of a destiny number (1 to 9, 11, 22), or null.
const RuneRow *runeRow(int number);

// The name's values as one compact JSON object, keys in this order: the
// letters' total, the destiny number and its rune (null for 22 and for a
// name without letters).
QByteArray valuesJson(QStringView name);

// Shown with every number.
QString significanceText();

} // namespace runes
