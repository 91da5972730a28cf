#pragma once

#include <QJsonObject>
#include <QString>

namespace kestrava {

// The JSON object of a data file compiled in as a resource (":/texts/...").
// A file that is missing (not compiled in) is named in a warning and reads
// as an empty object, so its texts come out empty rather than crashing.
QJsonObject readJsonResource(const QString &path);

} // namespace kestrava
