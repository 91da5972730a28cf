#pragma once

#include "tarot/spread.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tarot {

// A Virer Ovuvudavov reading as the proceed action stores it: the subject as
// confirmed (blanks trimmed) and its two core numbers.
struct TarotReading
{
    QString name;
    QString birthDay;
    QString birthMonth;
    QString birthYear;
    QString birthDate; // "7 March 1980"
    qint16 lifePath = 0;
    qint16 destiny = 0;
};

// The reading of a name and the three date lists' texts.
TarotReading makeReading(const QString &name, const QString &day, const QString &month, const QString &year);

// The reading's values as one compact JSON object: the two numbers and the
// names of their cards, and with a dealt spread its cards' numbers and names.
QByteArray readingJson(const TarotReading &reading, const SpreadCards *spread);

} // namespace tarot
