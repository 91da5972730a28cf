#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class MainWindow;

namespace platform {
class SingleInstance;
}

// The saved readings the running suite is to open: those it was started
// with and those later starts hand over.  It takes files from its creation
// on, before the update reminder asks its question, so that a start while
// the question waits is not turned away; they wait for the main window.
class FileReception : public QObject
{
    Q_OBJECT
public:
    FileReception(platform::SingleInstance &instance, const QStringList &startFiles);

    // Opens the waiting files in the window once the event loop runs, and
    // later ones as they come.
    void openIn(MainWindow &window);

    // Files that came before there was a window to open them in.
    const QStringList &waiting() const { return m_waiting; }

private:
    void open(const QStringList &paths);

    QPointer<MainWindow> m_window;
    QStringList m_waiting;
};
