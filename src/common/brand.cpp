#include "common/brand.h"

#include <array>

namespace kestrava {

QString productName()
{
    return QStringLiteral("Kestrava");
}

QString productVersion()
{
    return QStringLiteral(KESTRAVA_VERSION);
}

QString productTitle()
{
    return productName() + QStringLiteral(" v") + productVersion();
}

QString programName(ProgramId program)
{
    static const std::array<QString, kProgramCount> names = {
        QStringLiteral("Ruzazeder Uvuvevizoz"), QStringLiteral("Variduzeda Vad"),
        QStringLiteral("Virer Ovuvudavov"),     QStringLiteral("Vavov Uvarevuvir"),
        QStringLiteral("Dudov Aduradudav"),     QStringLiteral("Vorizov Avazodizaz"),
    };
    const int index = int(program);
    return index >= 0 && index < kProgramCount ? names[std::size_t(index)] : QString();
}

QString programWindowTitle(ProgramId program)
{
    return QStringLiteral("Orvanel ") + programName(program) + QStringLiteral(" Software");
}

} // namespace kestrava
