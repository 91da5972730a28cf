#pragma once

#include "common/brand.h"
#include "common/person.h"

#include <QString>
#include <QStringList>

// One program of the suite as the main window sees it.  The main window owns
// nothing of a program but this interface; the composition root creates the
// programs and hands them over.
class Program
{
public:
    virtual ~Program() = default;

    virtual kestrava::ProgramId id() const = 0;

    // How the main window opens when the suite starts from the log-in entry.
    enum class LogonStart {
        AsUsual,   // shown maximised, with the welcome panel
        Hidden,    // out of sight: the program waits in the notification area
                   // and brings the window up when it shows itself
        Minimised, // minimised, with the program waiting minimised inside
    };
    // Called once, before the main window shows, when the suite was started
    // from the log-in entry.  A program that opens at log-in opens here and
    // says how the main window is to open.
    virtual LogonStart startAtLogon() { return LogonStart::AsUsual; }

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
    // Every file ending the program opens: the one above and any other kind
    // of file it keeps (Variduzeda Vad's compatibility readings).
    virtual QStringList savedReadingEndings() const
    {
        const QString ending = savedReadingEnding();
        return ending.isEmpty() ? QStringList() : QStringList{ending};
    }
    // After launch(): opens a saved reading exactly as the program's own Open
    // command would, with the same checks and messages.
    virtual void openSavedReading(const QString &path) { Q_UNUSED(path); }

    // Opens the program on a person: in its input window when that is open,
    // otherwise as launch() does; fills the window's name and date fields
    // from the person (one name field takes the names joined with single
    // blanks) and runs the reading as the window's own button does, with
    // the same checks and messages.  For a client of the book (clientId not
    // 0) the reading goes into the client's history.
    virtual void readFor(const kestrava::Person &person, qint64 clientId = 0) = 0;
};
