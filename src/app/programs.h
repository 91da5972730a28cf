#pragma once

class MainWindow;

// Gives the main window the programs of the suite.  The programs live as long
// as the window.  This is the one place that names every program.
void installPrograms(MainWindow &window);
