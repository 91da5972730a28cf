#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Ruzazeder Uvuvevizoz: the fadic numbers of a birth date, with the ruling
// planet and numerological zodiac sign of each.
namespace astrology {

// The digits of month, day and year added up (the combined fadic number,
// 4 to 48 over the lists), or with `reduce` that sum taken down to one digit
// (the fadic number, 1 to 9: here 11 and 22 are reduced too).
qint16 fadicSum(int month, int day, int year, bool reduce);

struct FadicProfile
{
    QString planet;
    QString sign;
    QString fadicText;
    QString planetText;
    QString signText;
};

// The profile of a fadic number 1 to 9, or null.
const FadicProfile *fadicProfile(int fadic);

// The birth date's values as one compact JSON object, keys in this order:
// the combined fadic number, the fadic number, its planet and its sign.
QByteArray fadicJson(int month, int day, int year);

} // namespace astrology
