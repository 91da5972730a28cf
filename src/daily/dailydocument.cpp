#include "daily/dailydocument.h"

#include "common/brand.h"

#include <QObject>

namespace daily {

QString readingCaption()
{
    return QObject::tr("%1 Reading").arg(kestrava::programName(kestrava::ProgramId::Daily));
}

QString luckyNumberCaption()
{
    return QObject::tr("You Lucky Number");
}

QString dayCaption()
{
    return QObject::tr("How will your Day Be");
}

QString birthDateCaption()
{
    return QObject::tr("Your Date Of Birth");
}

} // namespace daily
