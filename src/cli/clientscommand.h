#pragma once

#include "cli/command.h"

// kestrava-cli clients: the client book from the command line: list and
// search it, add, show and remove a client, import people from saved
// readings and CSV files, export the book as CSV.
extern const Command kClientsCommand;
