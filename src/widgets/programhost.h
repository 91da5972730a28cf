#pragma once

#include "platform/services.h"

namespace clients {
class ClientBook;
}
class QMdiArea;
class QWidget;

// What a program window needs from the main window: the document area it
// lives in and the platform services.
class ProgramHost
{
public:
    virtual ~ProgramHost() = default;
    virtual QMdiArea *documentArea() const = 0;
    virtual platform::Services services() const = 0;

    // Takes a program window in: a child window goes into the document area,
    // a separate (modal) one is only watched.  The welcome panel shows
    // exactly while no program window is showing, and the launcher's
    // closing sequence finds the window by its object name.
    virtual void addProgramWindow(QWidget *window) = 0;

    // True while the launcher (or the end of the application) closes every
    // program window; windows then close without opening others.
    virtual bool isClosingPrograms() const = 0;

    // The client book where clients::clientBookLocation() finds it, opened
    // on first use and kept open.  Check isReadable() and isWritable(): a
    // newer, damaged or unwritable file is only read, or not at all.
    virtual clients::ClientBook &clientBook() = 0;
    // Shows the client book window.
    virtual void openClientBook() = 0;
    // A window changed the book (added a client, a reading to a history):
    // the client book window shows it.
    virtual void clientBookChanged() = 0;
};
