#include "shell/mainwindow.h"

#include "clients/booklocation.h"
#include "clients/clientbook.h"
#include "common/siteaddress.h"
#include "platform/weblinks.h"
#include "shell/aboutbox.h"
#include "shell/artwork.h"
#include "shell/commonmenus.h"
#include "shell/launcherparts.h"
#include "shell/program.h"
#include "shell/welcomepanel.h"
#include "widgets/afterfirstpaint.h"
#include "widgets/brandlabels.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"
#include "widgets/programwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

// A caption as shown, with its accelerator marks taken out ("&&" stands for
// one "&").
QString withoutAccelerator(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption.at(i);
    }
    return plain;
}

// Whether an action of the window, enabled, answers to the key.
bool claimsKey(const QWidget &window, const QKeySequence &key)
{
    QList<QAction *> actions = window.actions();
    actions += window.findChildren<QAction *>();
    for (const QAction *action : std::as_const(actions)) {
        if (action->isEnabled() && action->shortcuts().contains(key))
            return true;
    }
    return false;
}

const QString kBannerText = QStringLiteral(
    "The Most Popular Online Mystic Forum. Best Resource For Everything Mystic. "
    "Join the conversation at ");


} // namespace

using kestrava::verdana;
using launcher::BannerText;
using launcher::ButtonPlace;
using launcher::captionText;
using launcher::kButtonPlaces;
using launcher::kCaptionColours;
using launcher::kCaptionOrder;
using launcher::kFirstProgramCaption;
using launcher::LaunchButton;
using launcher::makeBar;
using launcher::Paragraph;
using launcher::programAt;
using launcher::setTextColour;

MainWindow::MainWindow(platform::Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(kestrava::productTitle());
    // Every part of the window paints its own background: the menu bar, the
    // strips, the welcome panel and the document area cover it all.
    setAttribute(Qt::WA_NoSystemBackground);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildBanner());
    layout->addWidget(buildButtonBar());

    m_area = new QMdiArea(central);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    m_area->setBackground(Qt::black);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setFrameShape(QFrame::NoFrame);
    // A window that closes hands the front to the one used before it, not
    // to the next one in the order the windows opened.
    m_area->setActivationOrder(QMdiArea::ActivationHistoryOrder);

    // The welcome panel stands above the document area and takes the room it
    // needs; a window left open while it shows stays visible below it.  Both
    // are black, so the panel reads as the area's welcome text.
    layout->addWidget(buildWelcomePanel());
    layout->addWidget(m_area, 1);
    layout->addWidget(buildBottomBar());
    setCentralWidget(central);

    addCommonMenus(menuBar(), this, {}, [this] { close(); });
    m_onlineHelp = onlineHelpOf(menuBar());
    auto *clientsMenu = new QMenu(tr("&Clients"), menuBar());
    m_clientsMenu = clientsMenu;
    clientsMenu->setObjectName(QStringLiteral("mnuClients"));
    m_clientBookItem = clientsMenu->addAction(tr("Client &Book..."), this, &MainWindow::openClientBook);
    m_clientBookItem->setObjectName(QStringLiteral("mnuClientBook"));
    m_clientBookItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    m_clientBookItem->setEnabled(false);
    // Clients, then Window, between File and Help.
    const auto *help = menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, clientsMenu);
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, buildWindowMenu());
    for (QAction *menu : menuBar()->actions())
        m_menuTitles.append({menu, menu->text()});

    // Every program window carries a menu bar of its own inside this window,
    // with the same File and Help.  Qt offers an accelerator that two
    // widgets of one window claim to each in turn, so Alt+F in a program
    // window could open this window's File menu, whose Exit ends the suite.
    // A program window's accelerators already work only while it has the
    // focus; this window's give way to them then.
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::updateAccelerators);
    resize(1280, 800);
}

MainWindow::~MainWindow()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The client book window reads the book: it goes before the book does.
    delete m_clientBookWindow.data();
    // The program windows go with the document area after this destructor;
    // they must not report to a main window that is half gone.
    for (const QPointer<QWidget> &window : std::as_const(m_programWindows)) {
        if (window) {
            window->removeEventFilter(this);
            disconnect(window, nullptr, this, nullptr);
        }
    }
}

QWidget *MainWindow::buildBanner()
{
    auto *strip = new LinkLabel(QString(), this);
    strip->setObjectName(QStringLiteral("Picture6"));
    strip->setFocusPolicy(Qt::NoFocus); // the banner text inside is the Tab stop
    strip->setAutoFillBackground(true);
    strip->setFixedHeight(40);
    strip->setScaledContents(true);
    // The strip first shows in its base colour; its stars and numerals follow
    // right after the window's first paint, which need not wait for them.
    QPalette base = strip->palette();
    base.setColor(QPalette::Window, QColor(30, 22, 104));
    strip->setPalette(base);
    new AfterFirstPaint(strip, [strip] { strip->setPixmap(kestrava::bannerPicture(1920, 40)); });
    strip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    strip->setMinimumWidth(0);
    connect(strip, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kHome); });

    auto *banner = new BannerText(kBannerText + kestrava::siteAddress() + QStringLiteral("/forum"), strip);
    banner->setObjectName(QStringLiteral("lblOrvanelBanner"));
    banner->setFont(verdana(9, true));
    banner->setAlignment(Qt::AlignCenter);
    // A narrow window cuts the banner rather than growing to fit it.
    banner->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    banner->setMinimumWidth(1);
    connect(banner, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kHome); });

    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->addStretch();
    layout->addWidget(banner);
    layout->addStretch();
    return strip;
}

QWidget *MainWindow::buildButtonBar()
{
    QWidget *bar = makeBar(QStringLiteral("Picture1"), this);

    auto *container = new QWidget(bar);
    container->setObjectName(QStringLiteral("picButtonContainer"));
    auto *grid = new QGridLayout(container);
    grid->setContentsMargins(0, 6, 0, 6);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(6);

    for (int index = 0; index < kestrava::kProgramCount; ++index) {
        const ButtonPlace &place = kButtonPlaces[std::size_t(index)];
        auto *picture = new QLabel(container);
        picture->setObjectName(QStringLiteral("imgProgram_%1").arg(index));
        picture->setPixmap(kestrava::programPicture(index, 36));
        picture->setFixedSize(36, 36);

        auto *button = new LaunchButton(kestrava::programName(programAt(index)), container);
        button->setObjectName(QStringLiteral("cmdSelectOption_%1").arg(index));
        button->setFont(verdana(9, true));
        button->setMinimumWidth(210);
        button->setMinimumHeight(32);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, index] { launch(programAt(index)); });
        m_buttons[index] = button;

        auto *cell = new QHBoxLayout;
        cell->setSpacing(6);
        cell->addWidget(picture);
        cell->addWidget(button);
        grid->addLayout(cell, place.row, place.column);
    }

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(container);
    layout->addStretch();

    // Tab order follows the rows on screen, left to right.
    QWidget *previous = nullptr;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int index = 0; index < kestrava::kProgramCount; ++index) {
                const ButtonPlace &place = kButtonPlaces[std::size_t(index)];
                if (place.row != row || place.column != column)
                    continue;
                if (previous)
                    setTabOrder(previous, m_buttons[index]);
                previous = m_buttons[index];
            }
        }
    }
    return bar;
}

QWidget *MainWindow::buildWelcomePanel()
{
    m_welcome = new WelcomePanel(this);
    connect(m_welcome, &WelcomePanel::mouseMoved, this, &MainWindow::clearCaptionUnderlines);

    auto *layout = new QVBoxLayout(m_welcome);
    layout->setContentsMargins(24, 28, 24, 24);
    layout->setSpacing(10);
    for (int index : kCaptionOrder) {
        auto *label = index == 1 ? new Paragraph(captionText(index), 720, m_welcome)
                                 : new LinkLabel(captionText(index), m_welcome);
        label->setObjectName(QStringLiteral("lblCaption_%1").arg(index));
        label->setAlignment(Qt::AlignCenter);
        // Colours through the palette: a style sheet would take over the font,
        // which carries the hover underline.
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(QString::fromLatin1(kCaptionColours[std::size_t(index)])));
        label->setPalette(palette);
        if (index == 0 || index == 2) {
            label->setFont(verdana(12, true));
        } else if (index == 1) {
            label->setFont(verdana(8.25, true));
        } else {
            label->setFont(verdana(11, true));
        }
        label->setReacting(false);
        connect(label, &LinkLabel::clicked, this, [this, index] { captionClicked(index); });
        connect(label, &LinkLabel::hovered, this, [this, index] { captionHovered(index); });
        m_captions[index] = label;
        layout->addWidget(label, 0, Qt::AlignHCenter);
        if (index == 1 || index == 2)
            layout->addSpacing(8);
    }
    // Headings react to clicks too (they only close open programs), but show no hand.
    m_captions[0]->setReacting(true);
    m_captions[1]->setReacting(true);
    m_captions[2]->setReacting(true);
    for (int index = 0; index < kFirstProgramCaption; ++index) {
        m_captions[index]->setCursor(Qt::ArrowCursor);
        m_captions[index]->setFocusPolicy(Qt::NoFocus);
    }
    layout->addStretch();
    return m_welcome;
}

QWidget *MainWindow::buildBottomBar()
{
    QWidget *bar = makeBar(QStringLiteral("PicCoBrand"), this);

    auto *promo = new LinkLabel(brand::fullyBrandedText(), bar);
    promo->setObjectName(QStringLiteral("Label7"));
    promo->setFont(verdana(8.25, true));
    setTextColour(promo, QColor(0xFF, 0xD9, 0x66));
    promo->setWordWrap(true);
    connect(promo, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kFullyBranded); });

    auto *exit = new QPushButton(tr("&Exit"), bar);
    exit->setObjectName(QStringLiteral("cmdMdiExit"));
    exit->setMinimumWidth(96);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    m_exitButton = exit;
    m_exitCaption = exit->text();

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(promo, 1);
    layout->addSpacing(12);
    layout->addWidget(exit);
    return bar;
}

void MainWindow::addProgram(Program *program)
{
    const int index = int(program->id());
    if (index < 0 || index >= kestrava::kProgramCount)
        return;
    m_programs[std::size_t(index)] = program;
    m_buttons[std::size_t(index)]->setEnabled(true);
    m_captions[std::size_t(index + kFirstProgramCaption)]->setReacting(true);
}

const QStringList &MainWindow::closingSequence()
{
    static const QStringList sequence = {
        QStringLiteral("frmAstrologyNumerologyMain"),  QStringLiteral("frmNumerologyProMain"),
        QStringLiteral("frmNumerologyProDisp"),        QStringLiteral("frmNumerologyProResult"),
        QStringLiteral("frmNumerologyProsave"),        QStringLiteral("frmTarotNumerologyMain"),
        QStringLiteral("frmTarotNumerologyResult"),    QStringLiteral("frmTarotNumerologySave"),
        QStringLiteral("frmNumerologyProResult"),      QStringLiteral("frmNumerologyProDisp"),
        QStringLiteral("frmNumerologyProsave"),        QStringLiteral("frmTarotNumerologyResult"),
        QStringLiteral("frmDailyNumerologyDisplay"),   QStringLiteral("frmDailyNumerologyMain"),
        QStringLiteral("frmRunesNumerologyMain"),      QStringLiteral("frmTantricNumerologyMain"),
        QStringLiteral("frmTranticNumerologyDisplay"), QStringLiteral("frmDailyNumerologyDisplay"),
        QStringLiteral("frmTranticNumerologyDisplay"),
    };
    return sequence;
}

QWidget *MainWindow::openProgramWindow(const QString &name) const
{
    for (const QPointer<QWidget> &window : m_programWindows) {
        if (!window || window->objectName() != name)
            continue;
        // A closed child window lingers until its deferred deletion; a
        // separate window is open while it shows.
        const auto *child = qobject_cast<const ProgramWindow *>(window.data());
        if (child ? child->isOpen() : window->isVisible())
            return window;
    }
    return nullptr;
}

void MainWindow::runClosingSequence()
{
    const QScopedValueRollback<bool> closing(m_closingPrograms, true);
    for (const QString &name : closingSequence()) {
        if (QWidget *window = openProgramWindow(name))
            window->close();
    }
    for (Program *program : m_programs) {
        if (program)
            program->closeAll();
    }
}

void MainWindow::launch(kestrava::ProgramId id)
{
    const int index = int(id);
    if (index < 0 || index >= kestrava::kProgramCount || !m_programs[std::size_t(index)])
        return;
    runClosingSequence();
    // Each program creates what must exist before any program opens.
    for (Program *program : m_programs) {
        if (program)
            program->prepare();
    }
    m_programs[std::size_t(index)]->launch();
}

void MainWindow::readFor(kestrava::ProgramId id, const kestrava::Person &person, qint64 clientId)
{
    const int index = int(id);
    if (index < 0 || index >= kestrava::kProgramCount || !m_programs[std::size_t(index)])
        return;
    launch(id);
    m_programs[std::size_t(index)]->readFor(person, clientId);
}

clients::ClientBook &MainWindow::clientBook()
{
    if (!m_clientBook) {
        m_clientBook = std::make_unique<clients::ClientBook>(clients::clientBookLocation());
    }
    return *m_clientBook;
}

void MainWindow::setReportOpener(ReportOpener opener)
{
    const bool offered = bool(m_reportOpener.open);
    m_reportOpener = std::move(opener);
    if (offered || !m_reportOpener.open)
        return;
    m_clientsMenu->addSeparator();
    QAction *newReport = m_clientsMenu->addAction(tr("&New Report..."), this, [this] { m_reportOpener.open(std::nullopt); });
    newReport->setObjectName(QStringLiteral("mnuNewReport"));
    newReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction *settings =
        m_clientsMenu->addAction(tr("Report &Settings..."), this, [this] { m_reportOpener.editSettings(this); });
    settings->setObjectName(QStringLiteral("mnuReportSettings"));
}

void MainWindow::setClientBookOpener(ClientBookOpener opener)
{
    m_clientBookOpener = std::move(opener);
    m_clientBookItem->setEnabled(bool(m_clientBookOpener.open));
}

void MainWindow::openClientBook()
{
    if (m_clientBookOpener.open)
        m_clientBookWindow = m_clientBookOpener.open();
}

QMenu *MainWindow::buildWindowMenu()
{
    m_windowMenu = new QMenu(tr("&Window"), menuBar());
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    m_cascade = m_windowMenu->addAction(tr("&Cascade"), m_area, &QMdiArea::cascadeSubWindows);
    m_cascade->setObjectName(QStringLiteral("mnuCascade"));
    m_tile = m_windowMenu->addAction(tr("&Tile"), m_area, &QMdiArea::tileSubWindows);
    m_tile->setObjectName(QStringLiteral("mnuTile"));
    m_windowMenu->addSeparator();
    m_nextWindow = m_windowMenu->addAction(tr("Ne&xt"), this, [this] { activateNeighbour(1); });
    m_nextWindow->setObjectName(QStringLiteral("mnuNextWindow"));
    m_nextWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    m_previousWindow = m_windowMenu->addAction(tr("Pre&vious"), this, [this] { activateNeighbour(-1); });
    m_previousWindow->setObjectName(QStringLiteral("mnuPreviousWindow"));
    m_previousWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::listWindows);
    updateWindowCommands();
    return m_windowMenu;
}

QList<QMdiSubWindow *> MainWindow::shownWindows() const
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        const auto *program = qobject_cast<const ProgramWindow *>(window);
        if (!window->isHidden() && (!program || program->isOpen()))
            shown << window;
    }
    return shown;
}

void MainWindow::listWindows()
{
    updateWindowCommands();
    qDeleteAll(m_windowItems);
    m_windowItems.clear();
    const QList<QMdiSubWindow *> shown = shownWindows();
    if (!shown.isEmpty())
        m_windowItems << m_windowMenu->addSeparator();
    QMdiSubWindow *active = m_area->currentSubWindow();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QMdiSubWindow *window = shown[i];
        QString caption = window->windowTitle();
        caption.replace(u'&', QStringLiteral("&&"));
        // The first nine are reached by their number.
        const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption)
                                   : QStringLiteral("%1 %2").arg(i + 1).arg(caption);
        QAction *item = m_windowMenu->addAction(text);
        item->setObjectName(QStringLiteral("mnuWindow_%1").arg(i));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                bringToFront(window);
        });
        m_windowItems << item;
    }
}

void MainWindow::updateWindowCommands()
{
    if (!m_previousWindow) // the menu is not built yet
        return;
    const qsizetype shown = shownWindows().size();
    m_cascade->setEnabled(shown > 0);
    m_tile->setEnabled(shown > 0);
    m_nextWindow->setEnabled(shown > 1);
    m_previousWindow->setEnabled(shown > 1);
}

void MainWindow::activateNeighbour(int step)
{
    const QList<QMdiSubWindow *> shown = shownWindows();
    if (shown.isEmpty())
        return;
    const qsizetype at = shown.indexOf(m_area->currentSubWindow());
    const qsizetype count = shown.size();
    const qsizetype next = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
    bringToFront(shown[next]);
}

void MainWindow::clientBookChanged()
{
    if (m_clientBookOpener.bookChanged)
        m_clientBookOpener.bookChanged();
}

void MainWindow::openFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        m_services.messages->inform(this, platform::Icon::Error,
                                    tr("%1 cannot be found.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    // The ending picks the program whatever its letter case; the program's
    // own check then treats the file as its Open command would.
    for (Program *program : m_programs) {
        if (!program || !program->savedReadingEndings().contains(file.suffix(), Qt::CaseInsensitive))
            continue;
        launch(program->id());
        program->openSavedReading(file.absoluteFilePath());
        return;
    }
    QStringList endings;
    for (const Program *program : m_programs) {
        if (!program)
            continue;
        for (const QString &ending : program->savedReadingEndings())
            endings << QStringLiteral("*.") + ending;
    }
    m_services.messages->inform(this, platform::Icon::Error,
                                tr("%1 is not a saved reading. Kestrava opens its saved readings (%2).")
                                    .arg(QDir::toNativeSeparators(path), endings.join(QStringLiteral(", "))));
}

void MainWindow::addProgramWindow(QWidget *window)
{
    if (auto *child = qobject_cast<QMdiSubWindow *>(window))
        m_area->addSubWindow(child);
    window->installEventFilter(this);
    m_programWindows.append(window);
    connect(window, &QObject::destroyed, this, [this] {
        m_programWindows.removeAll(nullptr);
        updateWelcome();
        updateWindowCommands();
    });
    updateWelcome();
    updateWindowCommands();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        updateWelcome();
        updateAccelerators();
        updateWindowCommands();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::updateWelcome()
{
    bool programShowing = false;
    for (const QPointer<QWidget> &window : std::as_const(m_programWindows))
        // A window minimised to its title bar shows nothing of a program.
        programShowing = programShowing || (window && !window->isHidden() && !window->isMinimized());
    if (m_welcome->isHidden() == programShowing)
        return;
    m_welcome->setVisible(!programShowing);
    // The document area takes its new size at once rather than at the next
    // turn of the event loop: a window being restored places itself inside
    // the area as it is now.
    if (QLayout *layout = centralWidget()->layout())
        layout->activate();
}

QWidget *MainWindow::focusedProgramWindow() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    for (const QPointer<QWidget> &window : m_programWindows) {
        // A window minimised to its title bar hides its menu bar, and with
        // it its accelerators.
        if (window && !window->isMinimized() && (window == focus || window->isAncestorOf(focus)))
            return window;
    }
    return nullptr;
}

void MainWindow::updateAccelerators()
{
    const QWidget *focused = focusedProgramWindow();
    // F1 is claimed by one item at a time: the focused window's menus hold
    // their own Online Help item, unless their bar is hidden (a window
    // without menus of its own).
    const auto *programWindow = qobject_cast<const ProgramWindow *>(focused);
    const bool programHelp =
        programWindow && !programWindow->menuBar()->isHidden() && onlineHelpOf(programWindow->menuBar());
    const QKeySequence help = programHelp ? QKeySequence() : QKeySequence(QKeySequence::HelpContents);
    if (m_onlineHelp->shortcut() != help)
        m_onlineHelp->setShortcut(help);

    // Ctrl+K is Choose Client in a program's input window.  A key that two
    // actions claim at once does nothing at all ("Ambiguous shortcut
    // overload"), so the Client Book item gives it up to such a window, and
    // only to one that claims it: in the navigator, the key opens the book.
    const QKeySequence clientBookKey(Qt::CTRL | Qt::Key_K);
    const bool keyTaken = focused && claimsKey(*focused, clientBookKey);
    m_clientBookItem->setShortcut(keyTaken ? QKeySequence() : clientBookKey);

    const bool own = focused == nullptr;
    if (own == m_ownAccelerators)
        return;
    m_ownAccelerators = own;
    // A menu bar claims the accelerator of each menu's title, and a button
    // that of its caption; a caption without its mark claims none.
    for (const auto &[menu, title] : std::as_const(m_menuTitles))
        menu->setText(own ? title : withoutAccelerator(title));
    m_exitButton->setText(own ? m_exitCaption : withoutAccelerator(m_exitCaption));
}

void MainWindow::captionClicked(int index)
{
    if (index >= kFirstProgramCaption)
        launch(programAt(index - kFirstProgramCaption));
    else
        runClosingSequence();
}

void MainWindow::captionHovered(int index)
{
    if (index < kFirstProgramCaption || !m_captions[index]->isReacting())
        return;
    QFont font = m_captions[index]->font();
    font.setUnderline(true);
    m_captions[index]->setFont(font);
}

void MainWindow::clearCaptionUnderlines()
{
    for (LinkLabel *label : m_captions) {
        QFont font = label->font();
        if (font.underline()) {
            font.setUnderline(false);
            label->setFont(font);
        }
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (AboutBox *about = AboutBox::current())
        about->close();
    runClosingSequence();
    event->accept();
}
