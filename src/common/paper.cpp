#include "common/paper.h"

#include <QRegularExpression>
#include <QStringList>

namespace kestrava {

Paper localePaper(const QProcessEnvironment &environment)
{
    // The usual order of the locale variables; an empty one counts as unset.
    QString locale;
    for (const QString &variable : {QStringLiteral("LC_ALL"), QStringLiteral("LC_PAPER"), QStringLiteral("LANG")}) {
        locale = environment.value(variable);
        if (!locale.isEmpty())
            break;
    }
    // language[_territory][.codeset][@modifier]
    static const QRegularExpression named(QStringLiteral(R"(^[A-Za-z]+_([A-Za-z0-9]+))"));
    const QString territory = named.match(locale).captured(1).toUpper();
    static const QStringList letterTerritories{QStringLiteral("US"), QStringLiteral("CA"), QStringLiteral("MX"),
                                               QStringLiteral("CL"), QStringLiteral("CO"), QStringLiteral("VE"),
                                               QStringLiteral("PH")};
    return letterTerritories.contains(territory) ? Paper::Letter : Paper::A4;
}

} // namespace kestrava
