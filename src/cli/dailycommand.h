#pragma once

#include "cli/command.h"

// kestrava-cli daily: Vavov Uvarevuvir's number of the day.
extern const Command kDailyCommand;
