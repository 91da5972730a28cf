#pragma once

// Starts the suite: refuses a second instance, runs the update reminder,
// shows the main window and runs until it closes.  Returns the exit code.
int runKestrava(int argc, char **argv);
