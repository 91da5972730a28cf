#pragma once

#include <QList>

class MainWindow;
class Program;

// Gives the main window the programs of the suite and returns them.  The
// programs live as long as the window.  This is the one place that names
// every program.
QList<Program *> installPrograms(MainWindow &window);
