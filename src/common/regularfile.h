#pragma once

#include "common/failure.h"

#include <QByteArray>
#include <QString>

#include <variant>

// Opening the files a person names (saved readings, imports, logos, batch
// files) without waiting forever: a named pipe with no writer blocks an
// ordinary open, and a device never ends.  Only regular files are opened.
namespace kestrava {

// A descriptor open for reading on a regular file; closed with the object
// unless released.
class RegularFile
{
public:
    explicit RegularFile(int fd) : m_fd(fd) {}
    RegularFile(RegularFile &&other) noexcept : m_fd(other.release()) {}
    RegularFile &operator=(RegularFile &&other) noexcept;
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;
    ~RegularFile();

    int fd() const { return m_fd; }
    // The descriptor, now the caller's to close.
    int release();

private:
    int m_fd = -1;
};

// Why path names no regular file, in words that follow "cannot be read: "
// or a file's name and a colon: "there is no such file", "it is a folder",
// "it is not a regular file (it is a named pipe)".  Nothing for a regular
// file (following symbolic links), whether or not it may be read.
MaybeFailure notARegularFile(const QString &path);

// Opens the regular file at path for reading.  Looked at before it is
// opened, opened without waiting, and looked at again once open, so that a
// pipe put in its place in between is refused rather than waited on.  The
// failure says why, as notARegularFile does or in the system's words
// ("Permission denied").
std::variant<RegularFile, Failure> openRegularFile(const QString &path);

enum class WhenLarger
{
    Refuse, // a larger file fails: its end would be missing
    Cut,    // only the first maxBytes bytes are wanted
};

// All of the regular file at path, opened as openRegularFile does, when it
// holds at most maxBytes bytes; a larger one is refused ("it is larger than
// 16 MB") or cut, as asked.  Never reads more than maxBytes + 1 bytes.
std::variant<QByteArray, Failure> readRegularFile(const QString &path, qint64 maxBytes,
                                                  WhenLarger larger = WhenLarger::Refuse);

// A text from a file, fit to quote in a message: control characters and
// characters that could not be decoded become U+FFFD, and a text longer than
// maxChars is cut there and ends in an ellipsis.  A binary file's bytes never
// reach the person whole.
QString shownExcerpt(const QString &text, int maxChars = 32);

} // namespace kestrava
