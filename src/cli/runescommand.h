#pragma once

#include "cli/command.h"

// kestrava-cli runes: Dudov Aduradudav's destiny number and its rune.
extern const Command kRunesCommand;
