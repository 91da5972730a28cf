#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

namespace platform {

namespace {

// The paths travel as UTF-8 lines ended by an empty line; the answer is "ok".
// Another program writing to the socket gets nothing for more than this.
constexpr qsizetype kMaxMessageBytes = 1 << 20;
constexpr int kWaitMs = 3000;

} // namespace

SingleInstance::SingleInstance()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QString base = dir + QStringLiteral("/kestrava-") + QCoreApplication::applicationName();
    m_lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // Only a dead owner makes a lock stale; a long-running instance keeps it.
    m_lock->setStaleLockTime(0);
    m_socketPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return m_lock->tryLock(0);
}

void SingleInstance::listen()
{
    if (m_server)
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket file left from a crashed instance is ours to remove.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        qWarning("kestrava: cannot listen for files from later starts: %s",
                 qUtf8Printable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
                *buffer += socket->readAll();
                if (buffer->size() > kMaxMessageBytes) {
                    socket->abort();
                    return;
                }
                if (!buffer->endsWith("\n\n") && *buffer != "\n")
                    return;
                QStringList paths;
                for (const QByteArray &line : buffer->split('\n')) {
                    if (!line.isEmpty())
                        paths << QString::fromUtf8(line);
                }
                buffer->clear();
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                emit filesReceived(paths);
            });
        }
    });
}

bool SingleInstance::handOver(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    QByteArray message;
    for (const QString &path : paths)
        message += path.toUtf8() + '\n';
    message += '\n';
    socket.write(message);
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    while (socket.bytesAvailable() < 3) {
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    }
    return socket.readAll().startsWith("ok");
}

} // namespace platform
