#include "astrology/astrologydocument.h"

#include <QObject>

namespace astrology {

QString caption(ResultRow row)
{
    switch (row) {
    case ResultRow::Combined: return QObject::tr("Combined Fadic No");
    case ResultRow::Fadic: return QObject::tr("Fadic Number");
    case ResultRow::Planet: return QObject::tr("Ruling Planet");
    case ResultRow::Sign: return QObject::tr("Numerological Zodiac Sign");
    }
    return {};
}

} // namespace astrology
