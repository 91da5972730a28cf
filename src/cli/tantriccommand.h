#pragma once

#include "cli/command.h"

// kestrava-cli tantric: Vorizov Avazodizaz's five numbers.
extern const Command kTantricCommand;
