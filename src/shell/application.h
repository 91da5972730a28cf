#pragma once

#include <QStringList>

#include <functional>

class MainWindow;
class Program;

// The files named on the command line: every argument but the start-up
// switch, made absolute.
QStringList commandLineFiles(const QStringList &arguments);

// True when the command line holds the start-up switch the log-in entry
// starts the suite with.
bool startedAtLogon(const QStringList &arguments);

// Shows the main window for this start: maximised, or, started from the
// log-in entry, as the program that opened then asks (hidden or minimised).
// Every program hears of a start from the log-in entry.
void showMainWindow(MainWindow &window, const QList<Program *> &programs, bool atLogon);

// Starts the suite: refuses a second instance, runs the update reminder,
// shows the main window with the programs installPrograms gives it and runs
// until it closes.  Returns the exit code.
int runKestrava(int argc, char **argv, const std::function<QList<Program *>(MainWindow &)> &installPrograms);
