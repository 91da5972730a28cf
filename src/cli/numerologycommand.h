#pragma once

#include "cli/command.h"

// kestrava-cli numerology: every Variduzeda Vad reading for one subject (as
// JSON, plain text or an HTML page) or for a CSV file of subjects (JSON Lines).
extern const Command kNumerologyCommand;

namespace numpro {
struct ReadingInputs;
}

// The subject as Variduzeda Vad takes it, or the input window's message
// about it; the forecast and the life timeline read the same subject.
std::optional<QString> readNumerologySubject(const Subject &subject, numpro::ReadingInputs &inputs);

// The subject of a command that reads one person by numerology's options or
// as a client of the book (--client): its inputs, or the exit status after
// saying on err why there are none.
std::optional<int> readNumerologyCall(const Command &command, Invocation &call, QTextStream &err, Subject &subject,
                                      numpro::ReadingInputs &inputs);
