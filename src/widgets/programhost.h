#pragma once

#include "platform/services.h"

#include <QString>

class QMdiArea;
class QMdiSubWindow;

// What a program window needs from the main window: the document area it
// lives in, the welcome panel, and the platform services.
class ProgramHost
{
public:
    virtual ~ProgramHost() = default;
    virtual QMdiArea *documentArea() const = 0;
    virtual void setWelcomeVisible(bool visible) = 0;
    virtual platform::Services services() const = 0;
    // True while the launcher (or the end of the application) closes every
    // program window; windows then close without opening others.
    virtual bool isClosingPrograms() const = 0;
};
