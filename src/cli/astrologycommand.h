#pragma once

#include "cli/command.h"

// kestrava-cli astrology: Ruzazeder Uvuvevizoz's fadic numbers, planet and sign.
extern const Command kAstrologyCommand;
