#include "clients/booklocation.h"

#include "clients/clientbook.h"

#include <QStandardPaths>

namespace clients {

QString clientBookLocation(const QString &given)
{
    if (!given.isEmpty())
        return given;
    return clientBookPath(qEnvironmentVariable("KESTRAVA_CLIENTS"),
                          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace clients
