#include "widgets/unreadablefile.h"

#include "common/shiftedlines.h"

#include <QDir>
#include <QObject>

namespace inputfields {

bool refuseUnreadableFile(QWidget *window, const platform::Services &services, const QString &path)
{
    const kestrava::MaybeFailure failure = kestrava::unreadableFile(path);
    if (!failure)
        return false;
    services.messages->inform(window, platform::Icon::Error,
                              QObject::tr("%1 cannot be read: %2.").arg(QDir::toNativeSeparators(path), failure->reason));
    return true;
}

} // namespace inputfields
