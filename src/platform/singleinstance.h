#pragma once

#include <QObject>
#include <QStringList>

class QSocketNotifier;

namespace platform {

// Holds the per-user lock that keeps a second copy of the suite from running.
// The lock is an advisory lock on a file, which the system lets go of when
// the process ends in any way, so a crashed instance never blocks the next.
// Beside the lock the running copy listens on a local socket, so a second
// start with files (a double-click in a file manager) hands them over.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    SingleInstance();
    ~SingleInstance() override;

    // True when this process is the only running instance (it then holds the lock).
    bool acquire();

    // In the running instance: accept files from later starts.
    void listen();

    // In a later start: gives the files to the running instance.  True once
    // it has confirmed them; false when no running instance answered.
    bool handOver(const QStringList &paths);

signals:
    void filesReceived(const QStringList &paths);

private:
    void acceptClients();

    QString m_lockPath;
    QString m_socketPath;
    int m_lock = -1;
    int m_listener = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
