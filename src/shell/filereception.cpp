#include "shell/filereception.h"

#include "platform/singleinstance.h"
#include "shell/mainwindow.h"

#include <QTimer>

#include <utility>

FileReception::FileReception(platform::SingleInstance &instance, const QStringList &startFiles)
    : m_waiting(startFiles)
{
    instance.listen();
    connect(&instance, &platform::SingleInstance::filesReceived, this, &FileReception::open);
}

void FileReception::openIn(MainWindow &window)
{
    m_window = &window;
    if (!m_waiting.isEmpty())
        QTimer::singleShot(0, this, [this] { open({}); });
}

void FileReception::open(const QStringList &paths)
{
    m_waiting += paths;
    if (!m_window || m_waiting.isEmpty())
        return;
    const QStringList files = std::exchange(m_waiting, {});
    // A suite started at log-in may wait unseen or minimised with its
    // reminder; a file handed to it is meant to be seen.
    if (m_window->isHidden() || m_window->isMinimized())
        m_window->showMaximized();
    m_window->raise();
    m_window->activateWindow();
    for (const QString &path : files)
        m_window->openFile(path);
}
