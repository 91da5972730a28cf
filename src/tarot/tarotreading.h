#pragma once

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

} // namespace tarot
