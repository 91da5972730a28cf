#pragma once

#include "common/failure.h"

#include <QString>

// The desktop's list of programs started at log-in: one XDG autostart file,
// $XDG_CONFIG_HOME/autostart/<name>.desktop, per entry.
namespace platform {

// The start-up switch written into the entry.
inline constexpr char kStartupSwitch[] = "/STARTUP";

// True when the entry exists and is not switched off (Hidden=true).
bool hasStartupEntry(const QString &name);

// Writes the entry, starting `program` with the start-up switch, or removes
// it (a missing entry is no error).  A failure comes back in the words the
// user sees: "Error <code> opening key" or "Error <code> setting key", a
// line break and the system's description.
kestrava::MaybeFailure setStartupEntry(const QString &name, const QString &program, bool on);

// Where the entry of that name lives.
QString startupEntryPath(const QString &name);

} // namespace platform
