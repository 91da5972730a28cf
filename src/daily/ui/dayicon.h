#pragma once

#include <QIcon>

// The Vavov Uvarevuvir window icons: a calendar leaf showing a day of the
// month, 1 to 31, painted at every size the desktop asks for.
namespace daily {

QIcon dayIcon(int day);

} // namespace daily
