#pragma once

#include <QString>

#include <optional>

namespace kestrava {

// Why something the user asked for could not be done, in the system's own
// words (for example "Permission denied").  A core function that can fail
// returns std::optional<Failure>: nothing when it succeeded.  The caller says
// what failed (which file, which command) around the reason.
//
// Reading a reading file is not such a function: a short or damaged file
// opens with what it holds, as the input windows expect.
struct Failure
{
    QString reason;
};

using MaybeFailure = std::optional<Failure>;

} // namespace kestrava
