#pragma once

#include <QList>
#include <functional>

class QAction;
class QMenuBar;
class QWidget;

// The menu set every main window of the suite carries: File with the
// window's own items and Exit; Help with the site's pages and the About box.
struct CommonMenuOptions
{
    // Input windows caption the update item "&Check for Software Update".
    bool inputWindowWording = false;
    // The About box is modal except where a window asks otherwise.
    bool modalAbout = true;
};

// Adds File (fileItems, then "E&xit" running onExit) and Help to the bar.
// Object names: mnuFile, mnuExit, mnuHelp, mnuOnlineHelp, mnuVisitUs,
// mnuCheckUpdate, mnuAbout.  The Online Help item of the main window and of
// its program windows is the one the main window holds (ProgramHost).
void addCommonMenus(QMenuBar *bar, QWidget *owner, const QList<QAction *> &fileItems,
                    const std::function<void()> &onExit, CommonMenuOptions options = {});

// The Online Help item, with its key F1 working while the window, or any
// window inside it, is the active one.  Each menu set once had an item of
// its own: F1 was then claimed twice wherever two menu sets share a window
// (a program window inside the main window), and Qt does nothing with a key
// claimed twice.
QAction *makeOnlineHelp(QWidget *window);
