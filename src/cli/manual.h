#pragma once

#include "cli/command.h"

#include <QString>

#include <span>

// The documents made from the commands' tables, so that --help, the manual
// page, the shell completion and the reference never say different things.
// The build writes the first two; docs/command-line.md is the third.
QString manualPage(std::span<const Command *const> commands);
QString bashCompletion(std::span<const Command *const> commands);
QString referenceMarkdown(std::span<const Command *const> commands);
