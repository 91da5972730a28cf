#include "tarot/tarotnumbers.h"

#include "common/numerology.h"

using namespace kestrava;

namespace tarot {

qint16 lifePathNumber(QStringView day, QStringView month, QStringView year)
{
    // Each part is at most 18, so the total cannot overflow.
    const qint16 total = qint16(datePartNumber(day) + monthNumber(month) + datePartNumber(year));
    return (total == 11 || total == 22) ? total : foldOnce(digitSumOf(total));
}

qint16 destinyNumber(QStringView name)
{
    qint16 total = 0;
    for (const QChar c : name) {
        const QChar upper = c.toUpper();
        addSkippingOverflow(total, letterValue(QStringView(&upper, 1)));
    }
    return reduceNumber(total);
}

} // namespace tarot
