#pragma once

#include "common/brand.h"

#include <QString>

// One program of the suite as the main window sees it.  The main window owns
// nothing of a program but this interface; the composition root creates the
// programs and hands them over.
class Program
{
public:
    virtual ~Program() = default;

    virtual kestrava::ProgramId id() const = 0;

    // What must exist, hidden, before any program opens.  The launcher calls
    // this on every program each time it opens one.
    virtual void prepare() {}

    // Shows the program's first window, fresh.
    virtual void launch() = 0;

    // Closes every window of the program that is still open.
    virtual void closeAll() = 0;

    // The file ending of the readings this program saves ("num"), or empty
    // for a program that saves none.
    virtual QString savedReadingEnding() const { return {}; }
    // After launch(): opens a saved reading exactly as the program's own Open
    // command would, with the same checks and messages.
    virtual void openSavedReading(const QString &path) { Q_UNUSED(path); }
};
