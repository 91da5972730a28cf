#pragma once

#include <QString>

namespace platform {

// Per-user settings: text values in the section "Settings" of the
// application's own store (named after the executable).
QString readSetting(const QString &key);
void writeSetting(const QString &key, const QString &value);

} // namespace platform
