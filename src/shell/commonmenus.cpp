#include "shell/commonmenus.h"

#include "platform/weblinks.h"
#include "shell/aboutbox.h"

#include <QAction>
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
    addItem(help, QObject::tr("&Online Help"), QStringLiteral("mnuOnlineHelp"),
            [] { kestrava::openWebPage(kestrava::page::kHelp); })
        ->setShortcut(QKeySequence::HelpContents);
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
