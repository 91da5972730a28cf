#pragma once

#include "common/failure.h"
#include "numpro/readingsubject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <variant>

// The knc file: a saved compatibility reading, both people's names and birth
// dates and the marriage date when one was chosen, as a small versioned JSON
// text in UTF-8.  Like a num file it keeps the subjects, not the text.
namespace numpro {

inline constexpr int kCompatibilityFileVersion = 1;
// No knc file Kestrava writes comes near this; a larger one is refused unread.
inline constexpr qint64 kMaxCompatibilityFileBytes = 64 * 1024;

struct CompatibilitySubjects
{
    ReadingSubject first;
    ReadingSubject second;
    QDate marriageDate; // null when none was chosen

    friend bool operator==(const CompatibilitySubjects &, const CompatibilitySubjects &) = default;
};

QByteArray encodeCompatibilityFile(const CompatibilitySubjects &subjects);

// The subjects, or why the data is no compatibility reading this version can
// open (damaged, truncated, of a newer version, or holding a person whose
// name or birth date the input window would refuse).
std::variant<CompatibilitySubjects, kestrava::Failure> decodeCompatibilityFile(QByteArrayView data);

// Written through a temporary file: a failed save leaves an existing file.
kestrava::MaybeFailure writeCompatibilityFile(const QString &path, const CompatibilitySubjects &subjects);

// Reads at most kMaxCompatibilityFileBytes; a larger file, a folder, a pipe or
// a device is refused without being read.
std::variant<CompatibilitySubjects, kestrava::Failure> readCompatibilityFile(const QString &path);

} // namespace numpro
