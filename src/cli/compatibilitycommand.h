#pragma once

#include "cli/command.h"

// kestrava-cli compatibility: two people's core numbers side by side, their
// rated pairs and, with the day they married, the marriage vibration (as
// JSON, plain text or an HTML page).
extern const Command kCompatibilityCommand;
