#pragma once

#include <QList>
#include <functional>

class QAction;
class QMenuBar;
class QObject;
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
// mnuCheckUpdate, mnuAbout.  Every item is the menu's own (see
// makeOnlineHelp for why Online Help is too).
void addCommonMenus(QMenuBar *bar, QWidget *owner, const QList<QAction *> &fileItems,
                    const std::function<void()> &onExit, CommonMenuOptions options = {});

// An Online Help item, with its key F1, for one menu.  A screen reader knows
// a menu item by its action, and an action shown in several menus answers
// as the item of one of them only: in every other menu it said it was not
// showing, and review passed over it.  So no item is shared.  The key stays
// with one item at a time: a program window's item claims it only while that
// window has the focus, and the main window's gives it up then (MainWindow),
// since Qt does nothing with a key two items claim.
QAction *makeOnlineHelp(QObject *parent);

// The Online Help item of a menu bar that addCommonMenus filled, or null.
QAction *onlineHelpOf(const QMenuBar *bar);
