#include "tarot/tarotreading.h"

#include "common/numerology.h"
#include "tarot/tarotnumbers.h"

namespace tarot {

TarotReading makeReading(const QString &name, const QString &day, const QString &month, const QString &year)
{
    TarotReading r;
    r.name = kestrava::trimBlanks(name);
    r.birthDay = kestrava::trimBlanks(day);
    r.birthMonth = kestrava::trimBlanks(month);
    r.birthYear = kestrava::trimBlanks(year);
    r.birthDate = r.birthDay + u' ' + r.birthMonth + u' ' + r.birthYear;
    r.lifePath = lifePathNumber(r.birthDay, r.birthMonth, r.birthYear);
    r.destiny = destinyNumber(r.name);
    return r;
}

} // namespace tarot
