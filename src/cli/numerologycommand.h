#pragma once

#include "cli/command.h"

// kestrava-cli numerology: every Variduzeda Vad reading for one subject (as
// JSON, plain text or an HTML page) or for a CSV file of subjects (JSON Lines).
extern const Command kNumerologyCommand;
