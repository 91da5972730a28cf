#pragma once

#include <QStringList>

#include <functional>

class MainWindow;

namespace platform {
class SingleInstance;
}

// The files named on the command line: every argument but the start-up
// switch, made absolute.
QStringList commandLineFiles(const QStringList &arguments);

// Lets the running instance take files from later starts, and opens the
// files it was started with once the event loop runs.
void acceptFiles(MainWindow &window, platform::SingleInstance &instance, const QStringList &files);

// Starts the suite: refuses a second instance, runs the update reminder,
// shows the main window with the programs installPrograms gives it and runs
// until it closes.  Returns the exit code.
int runKestrava(int argc, char **argv, const std::function<void(MainWindow &)> &installPrograms);
