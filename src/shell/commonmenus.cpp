#include "shell/commonmenus.h"

#include "platform/weblinks.h"
#include "shell/aboutbox.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

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
    help->addAction(makeOnlineHelp(help));
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

QAction *makeOnlineHelp(QObject *parent)
{
    auto *item = new QAction(QObject::tr("&Online Help"), parent);
    item->setObjectName(QStringLiteral("mnuOnlineHelp"));
    item->setShortcut(QKeySequence::HelpContents);
    // The menu's window: a program window's item only while the focus is in it.
    item->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(item, &QAction::triggered, item, [] { kestrava::openWebPage(kestrava::page::kHelp); });
    return item;
}

QAction *onlineHelpOf(const QMenuBar *bar)
{
    const auto *help = bar->findChild<const QMenu *>(QStringLiteral("mnuHelp"), Qt::FindDirectChildrenOnly);
    return help ? help->findChild<QAction *>(QStringLiteral("mnuOnlineHelp"), Qt::FindDirectChildrenOnly)
                : nullptr;
}
