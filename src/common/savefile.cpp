#include "common/savefile.h"

#include <QSaveFile>

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

} // namespace kestrava
