#include "common/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace kestrava {

std::optional<SaveFailure> writeAndCommit(QSaveFile &file, QByteArrayView data)
{
    if (file.write(data.data(), data.size()) != data.size() || !file.flush()) {
        // Taken before cancelling, which puts an error of its own in place.
        const SaveFailure refused{file.error(), file.errorString()};
        file.cancelWriting();
        return refused;
    }
    if (!file.commit())
        return SaveFailure{file.error(), file.errorString()};
    return std::nullopt;
}

bool makePrivateFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(folder).isDir())
        return true;
    // The missing folders, outermost first: each is made with the owner's
    // permissions only, where mkpath would leave them open to every user.
    QStringList missing;
    for (QString at = folder; !QFileInfo::exists(at);) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).absolutePath();
        if (parent == at)
            break;
        at = parent;
    }
    constexpr QFileDevice::Permissions kOwnerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    for (const QString &at : std::as_const(missing)) {
        // Another program may make the same folder at the same moment.
        if (!QDir().mkdir(at, kOwnerOnly) && !QFileInfo(at).isDir())
            return false;
    }
    return QFileInfo(folder).isDir();
}

} // namespace kestrava
