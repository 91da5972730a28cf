#pragma once

#include "clients/client.h"

#include <QString>

// A history entry as people read it.  The book keeps each entry's inputs as
// the JSON the program, the report or the command line wrote; the window and
// the command line show them in words, and the search finds clients by them.
namespace clients {

// "Report" for a report, otherwise the program's name.
QString entryHeading(const ReadingEntry &entry);

// The entry's inputs in words, without the heading: "MARY ANN SMITH,
// 6 August 1979" for a reading, "numerology, timeline, forecast 2026–2028;
// saved to mary-smith.pdf" for a report.  A report leaves out its person,
// who is the client.  Every key of the inputs is said in words, lists and
// objects included; a key this version does not know is named by its words
// ("someKey" as "some key").  Inputs that are not a JSON object are shown as
// the text they are.
QString entryDetails(const ReadingEntry &entry);

// The heading and the details: "Report: numerology, timeline, forecast
// 2026–2028; saved to mary-smith.pdf".
QString entryInWords(const ReadingEntry &entry);

// The words a search finds the entry by: its heading and details folded as
// personSearchWords folds names, and the day it was made (YYYY-MM-DD), each
// with a blank before and after it.
QString entrySearchWords(const ReadingEntry &entry);

// The inputs with a file the reading or report was written to added under
// "file" (a second file makes it a list): what the history shows as
// "saved to".  Inputs that are not a JSON object are returned as they are.
QString inputsWithFile(const QString &inputs, const QString &path);

} // namespace clients
