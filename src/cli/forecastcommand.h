#pragma once

#include "cli/command.h"

// kestrava-cli forecast: what Variduzeda Vad's date-bound readings say on
// each date of a range (JSON Lines), or the forecast document for its years.
extern const Command kForecastCommand;
