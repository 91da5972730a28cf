#pragma once

#include "common/failure.h"
#include "common/person.h"
#include "numpro/readingsubject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The num reading file: the subject of a Variduzeda Vad reading as six
// shifted lines in the order first, middle and last name, month, day, year.
namespace numpro {

inline constexpr int kNumFileLines = 6;

QByteArray encodeNumFile(const ReadingSubject &subject);

// Fields missing from data are empty; anything after the sixth line is ignored.
ReadingSubject decodeNumFile(QByteArrayView data);

// The six lines of the file, before shifting.
QStringList numFileLines(const ReadingSubject &subject);

// See writeShiftedLines: an existing file survives a failed save.
kestrava::MaybeFailure writeNumFile(const QString &path, const ReadingSubject &subject);

// Reads a bounded amount (see readShiftedLines); a file that cannot be read
// gives an empty subject.
ReadingSubject readNumFile(const QString &path);

// The person in a num file, for taking saved readings into the client book:
// the names and date texts without their outer blanks.  Reads as
// readNumFile does.
kestrava::SavedPerson personInNumFile(const QString &path);

// The num file as a kind of saved reading: ending "num", read by
// personInNumFile.
kestrava::SavedReadingKind numFileKind();

// Whether the last three characters of path are exactly "num", as the file
// dialogs check (so "reading.xnum" passes and "reading.NUM" does not).
bool hasNumSuffix(const QString &path);

} // namespace numpro
