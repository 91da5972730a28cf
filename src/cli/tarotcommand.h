#pragma once

#include "cli/command.h"

// kestrava-cli tarot: Virer Ovuvudavov's two core numbers and their cards.
extern const Command kTarotCommand;
