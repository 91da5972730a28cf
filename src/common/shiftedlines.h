#pragma once

#include "common/failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Reading files: a fixed number of lines, each shift-encoded and ended by CR LF.
namespace kestrava {

// A line read from a file is cut after this many bytes; no reading file needs
// more, and a foreign file must not make the reader hold more.
inline constexpr int kMaxShiftedLineBytes = 4096;

// Each line shift-encoded, followed by CR LF.
QByteArray encodeShiftedLines(const QStringList &lines);

// The first `count` lines of data (split at LF, a CR before it dropped),
// shift-decoded.  Always exactly `count` entries: missing lines are empty,
// lines after them are ignored.
QStringList decodeShiftedLines(QByteArrayView data, int count);

// Writes the lines through a temporary file that replaces `path` only when
// everything was written, so a failed save leaves an existing file as it was.
MaybeFailure writeShiftedLines(const QString &path, const QStringList &lines);

// Reads the first `count` lines of the file at `path`, decoded as
// decodeShiftedLines does.  Reads a bounded amount whatever the file holds:
// each line is cut at kMaxShiftedLineBytes and the whole read stops after a
// fixed budget, so a huge or binary file yields garbage or empty lines rather
// than hanging.  Anything that is not a readable regular file (missing,
// a folder, a pipe, a device) gives `count` empty lines.
QStringList readShiftedLines(const QString &path, int count);

// Why the file at path cannot be read, when it is a file and opening it for
// reading fails (no permission, say).  Nothing for a readable file and for
// anything that is no file at all: the readers take those as files without a
// reading.
MaybeFailure unreadableFile(const QString &path);

} // namespace kestrava
