#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace kestrava {

// A name as a person writes it: each word's first letter a capital and the
// rest small, accents kept ("MARY ANN SMITH" gives "Mary Ann Smith", "ÉLODIE
// DUPRÉ" gives "Élodie Dupré").  A letter after a hyphen, apostrophe or dot
// starts a word too ("JEAN-PAUL O'NEIL").  A word already written with a
// capital inside it after a small letter ("McDonald", "DeVito") was spelt so
// on purpose and stays as it is.  Runs of blanks become one.
QString writtenName(const QString &name);

// The name a save dialog suggests for a document about these people: their
// names as written (see writtenName), joined with "and"; then, where the
// document is dated, a spaced en dash and the ISO date; then "." and the
// suffix: "Mary Ann Smith – 2026-12-11.pdf".  Characters a file name cannot
// hold or that are unsafe in one (/ \ : * ? " < > |, control and direction
// characters, leading dots) are left out and the name is kept to a length
// every file system takes.  When no name is left, fallback (the document's
// kind, say "Report") stands in its place.  A null date leaves the date out,
// an empty suffix the ending.
QString suggestedFileName(const QStringList &people, QDate date, const QString &suffix, const QString &fallback);
QString suggestedFileName(const QString &person, QDate date, const QString &suffix, const QString &fallback);

} // namespace kestrava
