#include "common/datelists.h"

namespace kestrava {

const QStringList &monthNames()
{
    static const QStringList names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December"),
    };
    return names;
}

const QStringList &dayTexts()
{
    static const QStringList days = [] {
        QStringList list;
        for (int day = 1; day <= 31; ++day)
            list << QString::number(day);
        return list;
    }();
    return days;
}

QStringList yearTexts(int firstYear)
{
    QStringList years;
    for (int year = firstYear; year <= kLastBirthYear; ++year)
        years << QString::number(year);
    return years;
}

} // namespace kestrava
