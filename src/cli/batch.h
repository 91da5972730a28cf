#pragma once

#include "cli/command.h"

#include <functional>
#include <optional>
#include <string>

// A subcommand's reading of one subject after another for a batch: the
// program's problem with the subject, or nothing after appending its compact
// JSON object to out.  Each worker thread has a reader of its own, so a
// reader may keep what it builds from one row to the next.
using BatchReader = std::function<std::optional<QString>(const Subject &subject, std::string &out)>;
// Makes a worker's reader; called once per worker thread.
using BatchReaderMaker = std::function<BatchReader()>;

// "first,middle,last,month,day,year or first,middle,last,born and may have
// today": the columns a batch file of the command needs and may have.
QString columnsNeeded(const Command &command);

// Reads the CSV file (or standard input for "-") of call.batch with the
// command's columns and writes one JSON line per data row, in input order,
// while the input still comes and in memory that does not grow with it; a
// row that cannot be read gives {"row":N,"error":"..."}.  Returns 0 when
// every row was read, 1 when some failed or the lines could not all be
// written, and 2 when the file cannot be read or its header row lacks a
// column.
int runBatch(const Command &command, const Invocation &call, const BatchReaderMaker &makeReader, QTextStream &err);
