#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(dir + QStringLiteral("/kestrava-") + QCoreApplication::applicationName()
                                         + QStringLiteral(".lock"));
    // Only a dead owner makes a lock stale; a long-running instance keeps it.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock->tryLock(0);
}

} // namespace platform
