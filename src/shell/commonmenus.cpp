#include "shell/commonmenus.h"

#include "platform/weblinks.h"
#include "shell/aboutbox.h"
#include "widgets/programhost.h"
#include "widgets/programwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

// The main window's Online Help item, for its own menus and its program
// windows'; a window of its own makes one.
QAction *sharedOnlineHelp(QWidget *owner)
{
    if (const auto *window = qobject_cast<const ProgramWindow *>(owner))
        return window->host().onlineHelp();
    if (const auto *host = dynamic_cast<const ProgramHost *>(owner))
        return host->onlineHelp();
    return makeOnlineHelp(owner);
}

QAction *addItem(QMenu *menu, const QString &text, const QString &name, const std::function<void()> &run)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, menu, run);
    return action;
}

} // namespace

void addCommonMenus(QMenuBar *bar, QWidget *owner, const QList<QAction *> &fileItems,
                    const std::function<void()> &onExit, CommonMenuOptions options)
{
    QMenu *file = bar->addMenu(QObject::tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    for (QAction *item : fileItems)
        file->addAction(item);
    addItem(file, QObject::tr("E&xit"), QStringLiteral("mnuExit"), onExit);

    QMenu *help = bar->addMenu(QObject::tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(sharedOnlineHelp(owner));
    addItem(help, QObject::tr("&Visit Us Online"), QStringLiteral("mnuVisitUs"),
            [] { kestrava::openWebPage(kestrava::page::kHome); });
    help->addSeparator();
    addItem(help,
            options.inputWindowWording ? QObject::tr("&Check for Software Update")
                                       : QObject::tr("Check for Software &Update"),
            QStringLiteral("mnuCheckUpdate"), [] { kestrava::openWebPage(kestrava::page::kDownload); });
    help->addSeparator();
    const bool modal = options.modalAbout;
    addItem(help, QObject::tr("&About Software"), QStringLiteral("mnuAbout"),
            [owner, modal] { AboutBox::showFor(owner, modal); });
}

QAction *makeOnlineHelp(QWidget *window)
{
    auto *item = new QAction(QObject::tr("&Online Help"), window);
    item->setObjectName(QStringLiteral("mnuOnlineHelp"));
    item->setShortcut(QKeySequence::HelpContents);
    item->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(item, &QAction::triggered, window, [] { kestrava::openWebPage(kestrava::page::kHelp); });
    // The key belongs to the window, whichever menus show the item.
    window->addAction(item);
    return item;
}
