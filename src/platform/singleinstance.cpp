#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// The paths travel as UTF-8 lines ended by an empty line; the answer is "ok".
// A peer that sends more than this is cut off.  (Plain local sockets: the
// suite starts faster without loading a network library for this.)
constexpr qsizetype kMaxMessageBytes = 1 << 20;
constexpr int kWaitSeconds = 3;

bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

// One later start talking to the running instance.
class Client : public QObject
{
public:
    Client(int fd, QObject *parent, std::function<void(const QStringList &)> received)
        : QObject(parent)
        , m_fd(fd)
        , m_received(std::move(received))
    {
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
            char chunk[4096];
            const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
            if (got < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (got <= 0 || m_buffer.size() + got > kMaxMessageBytes) {
                notifier->setEnabled(false);
                deleteLater();
                return;
            }
            m_buffer.append(chunk, got);
            if (!m_buffer.endsWith("\n\n") && m_buffer != "\n")
                return;
            notifier->setEnabled(false);
            QStringList paths;
            for (const QByteArray &line : m_buffer.split('\n')) {
                if (!line.isEmpty())
                    paths << QString::fromUtf8(line);
            }
            [[maybe_unused]] const ssize_t sent = ::write(m_fd, "ok\n", 3);
            deleteLater();
            m_received(paths);
        });
    }
    ~Client() override { ::close(m_fd); }

private:
    int m_fd;
    QByteArray m_buffer;
    std::function<void(const QStringList &)> m_received;
};

} // namespace

SingleInstance::SingleInstance()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QString base = dir + QStringLiteral("/kestrava-") + QCoreApplication::applicationName();
    m_lockPath = base + QStringLiteral(".lock");
    m_socketPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance()
{
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(QFile::encodeName(m_socketPath).constData());
    }
    // The lock file stays: removing it could let two later starts each lock
    // a file of their own.
    if (m_lock >= 0)
        ::close(m_lock);
}

bool SingleInstance::acquire()
{
    if (m_lock >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        // Without a lock file (an unwritable folder) the suite still runs.
        qWarning("kestrava: cannot create the lock file %s: %s", qPrintable(m_lockPath), std::strerror(errno));
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    // The holder's process id, for whoever looks; nothing reads it back.
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::write(fd, pid.constData(), size_t(pid.size())) != pid.size())
        qWarning("kestrava: cannot write the lock file %s", qPrintable(m_lockPath));
    m_lock = fd;
    return true;
}

void SingleInstance::listen()
{
    sockaddr_un address;
    if (m_listener >= 0 || !socketAddress(m_socketPath, address))
        return;
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listener < 0)
        return;
    // We hold the lock: a socket file left by a crashed instance is ours to remove.
    ::unlink(address.sun_path);
    if (::bind(m_listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(m_listener, 8) != 0) {
        qWarning("kestrava: cannot listen for files from later starts: %s", std::strerror(errno));
        ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptClients);
}

void SingleInstance::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        new Client(fd, this, [this](const QStringList &paths) { emit filesReceived(paths); });
    }
}

bool SingleInstance::handOver(const QStringList &paths)
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const timeval wait{kWaitSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        QByteArray message;
        for (const QString &path : paths)
            message += path.toUtf8() + '\n';
        message += '\n';
        qsizetype sent = 0;
        while (sent < message.size()) {
            const ssize_t n = ::write(fd, message.constData() + sent, size_t(message.size() - sent));
            if (n <= 0)
                break;
            sent += n;
        }
        char reply[3];
        qsizetype got = 0;
        while (sent == message.size() && got < 3) {
            const ssize_t n = ::read(fd, reply + got, size_t(3 - got));
            if (n <= 0)
                break;
            got += n;
        }
        answered = got == 3 && std::memcmp(reply, "ok\n", 3) == 0;
    }
    ::close(fd);
    return answered;
}

} // namespace platform
