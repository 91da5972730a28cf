#include "runes/runesdocument.h"

#include <QObject>

namespace runes {

QString numerologyCaption()
{
    return QObject::tr("Numerology");
}

QString runesCaption()
{
    return QObject::tr("Runes");
}

QString significanceCaption()
{
    return QObject::tr("Significance");
}

QString interpretationCaption()
{
    return QObject::tr("Interpretation");
}

QString keywordsCaption()
{
    return QObject::tr("Keywords");
}

QString noLettersText()
{
    return QObject::tr("The name holds no letters A to Z, so it has no destiny number and no rune to read.");
}

} // namespace runes
