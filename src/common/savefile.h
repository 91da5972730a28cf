#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <optional>

class QSaveFile;

namespace kestrava {

struct SaveFailure
{
    QFileDevice::FileError error;
    QString reason;
};

// Writes the data into a QSaveFile opened for writing and commits it, so the
// file takes the old one's place only when all of it was written.  The data
// is flushed before the commit: QSaveFile can take a write that a full disk
// refused for a written one, and would then put an empty file where the old
// one was.  On failure the old file stays as it was.
std::optional<SaveFailure> writeAndCommit(QSaveFile &file, QByteArrayView data);

// Makes a folder, and the folders above it that are missing, for the user
// alone (read, write and enter by the owner only): what the suite keeps
// there (the client book, the practitioner's logo) is nobody else's.  A
// folder that exists keeps the permissions it has.  False when a folder
// could not be made.
bool makePrivateFolder(const QString &path);

} // namespace kestrava
