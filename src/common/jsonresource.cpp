#include "common/jsonresource.h"

#include <QFile>
#include <QJsonDocument>

namespace kestrava {

QJsonObject readJsonResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("%s is not compiled in", qUtf8Printable(path));
        return {};
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace kestrava
