#pragma once

#include "cli/command.h"

class QCoreApplication;

// kestrava-cli timeline: the life timeline picture written to a PNG, SVG or
// PDF file, without a window.
extern const Command kTimelineCommand;

// The application the timeline draws under: a QGuiApplication, on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise, so that the
// command needs no display.  The other commands stay on QCoreApplication.
QCoreApplication *makeTimelineApplication(int &argc, char **argv);
