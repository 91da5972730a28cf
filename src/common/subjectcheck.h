#pragma once

#include <QString>

#include <optional>

// The checks an input window makes before it computes anything, as plain
// functions so that every front end reports the same problems.
namespace kestrava {

enum class SubjectField { FirstName, LastName, Day, Month, Year };

struct SubjectProblem
{
    SubjectField field;
    QString message;
};

// The first empty one of first name, last name, day, month and year, in that
// order, with the message to show.  Texts are compared with the empty text
// as they are: a name of blanks passes, and the middle name is never asked for.
std::optional<SubjectProblem> checkSubject(const QString &first, const QString &last, const QString &day,
                                           const QString &month, const QString &year);

// Whether day, month and year are entries of the date lists ("1".."31",
// "January".."December", firstYear.."2050"), for front ends where they are
// typed rather than picked.  The first one that is not, with a message.
std::optional<SubjectProblem> checkDateEntries(const QString &day, const QString &month, const QString &year,
                                               int firstYear = 1900);

// Whether the path ends in exactly these three characters, as the open
// dialogs check (so "reading.xnum" passes for "num" and "reading.NUM" does not).
bool hasFileEnding(const QString &path, QStringView ending);

} // namespace kestrava
