#pragma once

class MainWindow;

// Gives the main window the programs of the suite: their launchers and the
// windows a launch prepares.  The programs live as long as the window.
void installPrograms(MainWindow &window);
