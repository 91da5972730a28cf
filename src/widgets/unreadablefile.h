#pragma once

#include "platform/services.h"

class QString;
class QWidget;

namespace inputfields {

// Before a saved reading is opened: a file that exists but cannot be read
// (no permission, say) is reported as such, with the system's reason, rather
// than taken for a file that holds no reading.  True when it was reported and
// the opening stops there.
bool refuseUnreadableFile(QWidget *window, const platform::Services &services, const QString &path);

} // namespace inputfields
