#pragma once

#include <functional>

class MainWindow;

// Starts the suite: refuses a second instance, runs the update reminder,
// shows the main window with the programs installPrograms gives it and runs
// until it closes.  Returns the exit code.
int runKestrava(int argc, char **argv, const std::function<void(MainWindow &)> &installPrograms);
