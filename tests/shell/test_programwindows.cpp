#include "common/brand.h"
#include "daily/ui/dailymain.h"
#include "platform/settingsstore.h"
#include "support/suitefixture.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStyleOptionTitleBar>
#include <QWindow>
#include <QWindowStateChangeEvent>

namespace {

// Every program window, each reached the way a user reaches it.
const char *const kProgramWindows[] = {
    "frmNumerologyProMain",       "frmNumerologyProResult",    "frmNumerologyProDisp",
    "frmNumerologyProsave",       "frmTarotNumerologyMain",    "frmTarotNumerologyResult",
    "frmTarotNumerologySave",     "frmDailyNumerologyMain",    "frmAstrologyNumerologyMain",
    "frmRunesNumerologyMain",     "frmTantricNumerologyMain",  "frmTranticNumerologyDisplay",
};

const QString kHelpPage = QStringLiteral("https://www.kestrava.example/kestrava/ssd.php?page=help-web-page");

// Moves and resizes a window the moment it leaves its minimised state,
// before the window itself handles the change: on X11 the document area did
// so as it grew back over the welcome panel.
class MovedWhileRestoring : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange
            && (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized))
            static_cast<QWidget *>(watched)->setGeometry(0, 200, 900, 300);
        return false;
    }
};

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace

// Each test starts as on a machine where the programs never ran.
class ProgramWindowsTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                  QCoreApplication::applicationName())
            .remove(QStringLiteral("Settings"));
        SuiteTest::SetUp();
    }
    void TearDown() override
    {
        closePopups();
        SuiteTest::TearDown();
    }

    // Opens the program the window belongs to afresh, goes on to the window
    // and gives it the focus, as a click into it would.
    ProgramWindow *bringUp(const QString &name)
    {
        if (name.startsWith(QLatin1String("frmNumerologyPro"))) {
            openNavigator("MARY", "ANN", "SMITH");
            if (name == QLatin1String("frmNumerologyProMain"))
                click("frmNumerologyProResult", "cmdBack");
            else if (name == QLatin1String("frmNumerologyProDisp"))
                click("frmNumerologyProResult", "cmdLifePath");
            else if (name == QLatin1String("frmNumerologyProsave"))
                click("frmNumerologyProResult", "cmdComprehensiveReading");
        } else if (name.startsWith(QLatin1String("frmTarot"))) {
            main->launch(kestrava::ProgramId::Tarot);
            if (name != QLatin1String("frmTarotNumerologyMain")) {
                control<QLineEdit>("frmTarotNumerologyMain", "txtName")->setText("John Smith");
                click("frmTarotNumerologyMain", "cmdProceed");
            }
            if (name == QLatin1String("frmTarotNumerologySave"))
                click("frmTarotNumerologyResult", "cmdSave");
        } else if (name == QLatin1String("frmDailyNumerologyMain")) {
            main->launch(kestrava::ProgramId::Daily);
        } else if (name == QLatin1String("frmAstrologyNumerologyMain")) {
            main->launch(kestrava::ProgramId::Astrology);
        } else if (name == QLatin1String("frmRunesNumerologyMain")) {
            main->launch(kestrava::ProgramId::Runes);
        } else if (name.startsWith(QLatin1String("frmTantric")) || name.startsWith(QLatin1String("frmTrantic"))) {
            main->launch(kestrava::ProgramId::Tantric);
            if (name == QLatin1String("frmTranticNumerologyDisplay")) {
                control<QLineEdit>("frmTantricNumerologyMain", "txtName")->setText("Asha Rao");
                click("frmTantricNumerologyMain", "cmdNext");
            }
        }
        ProgramWindow *found = window(name);
        if (found) {
            main->documentArea()->setActiveSubWindow(found);
            QApplication::processEvents();
        }
        return found;
    }
    bool hasFocus(const ProgramWindow *window) const
    {
        const QWidget *focus = QApplication::focusWidget();
        return focus && (focus == window || window->isAncestorOf(focus));
    }
    // A key as the window system delivers it: to the popup menu that is
    // open, else to the main window, which hands it to its focus widget
    // after the shortcuts have had their turn.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup->windowHandle() : main->windowHandle(), key, modifiers);
        QApplication::processEvents();
    }
    QMenu *mainMenu(const char *name) const { return main->menuBar()->findChild<QMenu *>(QString::fromLatin1(name)); }
};

// The main window's File menu holds only Exit, so Alt+F then X from a
// program window once ended the suite; Alt+E pressed its Exit button.
TEST_F(ProgramWindowsTest, AProgramWindowsAcceleratorsNeverReachTheMainWindow)
{
    for (const char *name : kProgramWindows) {
        SCOPED_TRACE(name);
        ProgramWindow *window = bringUp(QString::fromLatin1(name));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(hasFocus(window));
        QMenu *ownFile = window->menuBar()->isVisible()
                             ? window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuFile"))
                             : nullptr;

        // Pressed twice: an accelerator two menu bars claim went to each in turn.
        for (int round = 0; round < 2; ++round) {
            press(Qt::Key_F, Qt::AltModifier);
            EXPECT_FALSE(mainMenu("mnuFile")->isVisible()) << round;
            if (ownFile) {
                EXPECT_TRUE(ownFile->isVisible()) << round;
            }
            closePopups();
        }
        press(Qt::Key_H, Qt::AltModifier);
        EXPECT_FALSE(mainMenu("mnuHelp")->isVisible());
        closePopups();

        press(Qt::Key_E, Qt::AltModifier);
        ASSERT_TRUE(main->isVisible());
        press(Qt::Key_F, Qt::AltModifier);
        press(Qt::Key_X);
        closePopups();
        ASSERT_TRUE(main->isVisible());
        EXPECT_FALSE(main->isClosingPrograms());
    }
}

TEST_F(ProgramWindowsTest, TheMainWindowsAcceleratorsWorkWhileNoProgramWindowHasTheFocus)
{
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(mainMenu("mnuFile")->isVisible());
    closePopups();

    // A program window open, but the focus on the main window's own controls.
    ProgramWindow *input = bringUp(QStringLiteral("frmNumerologyProMain"));
    ASSERT_NE(input, nullptr);
    main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_0"))->setFocus();
    press(Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(mainMenu("mnuHelp")->isVisible());
    EXPECT_FALSE(input->menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"))->isVisible());
    closePopups();

    // A minimised window shows no menus of its own.
    input->setFocus();
    input->showMinimized();
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(mainMenu("mnuFile")->isVisible());
    press(Qt::Key_X);
    EXPECT_FALSE(main->isVisible());
}

// One F1 key for the whole suite: every menu set has an Online Help item of
// its own, and Qt does nothing with a key two of them claim ("Ambiguous
// shortcut overload").
TEST_F(ProgramWindowsTest, F1OpensTheOnlineHelpOnceFromEveryWindow)
{
    UrlCatcher catcher;
    press(Qt::Key_F1);
    EXPECT_EQ(catcher.opened, QStringList{kHelpPage});
    EXPECT_EQ(mainMenu("mnuHelp")->actions().value(0), main->onlineHelp());
    EXPECT_EQ(main->onlineHelp()->text(), "&Online Help");
    EXPECT_EQ(main->onlineHelp()->shortcut(), QKeySequence(Qt::Key_F1));

    for (const char *name : kProgramWindows) {
        SCOPED_TRACE(name);
        ProgramWindow *program = bringUp(QString::fromLatin1(name));
        ASSERT_NE(program, nullptr);
        catcher.opened.clear();
        press(Qt::Key_F1);
        EXPECT_EQ(catcher.opened, QStringList{kHelpPage});

        // The menus in front show the item with its key: the window's own,
        // or the main window's where the window has no Help menu.
        const auto *ownHelp = program->menuBar()->findChild<QMenu *>("mnuHelp");
        const QAction *shown =
            (program->menuBar()->isHidden() || !ownHelp) ? main->onlineHelp() : ownHelp->actions().value(0);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), "&Online Help");
        EXPECT_EQ(shown->shortcut(), QKeySequence(Qt::Key_F1));
    }

    // Back on the main window's own controls, its item has the key again.
    main->documentArea()->closeAllSubWindows();
    main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_0"))->setFocus();
    QApplication::processEvents();
    catcher.opened.clear();
    press(Qt::Key_F1);
    EXPECT_EQ(catcher.opened, QStringList{kHelpPage});
    EXPECT_EQ(main->onlineHelp()->shortcut(), QKeySequence(Qt::Key_F1));
}

// A screen reader reviews an open menu item by item and passes over what
// reports itself as not showing: each Help item must say it shows, in the
// main window and in every program window, whichever menu was read first.
TEST_F(ProgramWindowsTest, EveryHelpItemOnScreenShowsToScreenReaders)
{
    auto expectShowing = [this](QMenu *help) {
        ASSERT_NE(help, nullptr);
        press(Qt::Key_H, Qt::AltModifier);
        ASSERT_EQ(QApplication::activePopupWidget(), help);
        QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(help);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->childCount(), help->actions().size());
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface *item = menu->child(i);
            ASSERT_NE(item, nullptr);
            const QString name = item->text(QAccessible::Name);
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(item->object(), help->actions().at(i));
            EXPECT_FALSE(item->state().invisible);
            EXPECT_FALSE(item->state().offscreen);
            // Review goes up as well as down: the item belongs to this menu.
            ASSERT_NE(item->parent(), nullptr);
            EXPECT_EQ(item->parent()->object(), help);
            EXPECT_EQ(menu->indexOfChild(item), i);
        }
        EXPECT_EQ(menu->child(0)->text(QAccessible::Name), "Online Help");
        closePopups();
    };

    {
        SCOPED_TRACE("main window");
        expectShowing(mainMenu("mnuHelp"));
    }
    int withHelp = 0;
    for (const char *name : kProgramWindows) {
        SCOPED_TRACE(name);
        ProgramWindow *window = bringUp(QString::fromLatin1(name));
        ASSERT_NE(window, nullptr);
        // The reading documents and the save page carry no menus of their own.
        if (window->menuBar()->isHidden() || window->menuBar()->actions().isEmpty())
            continue;
        ++withHelp;
        expectShowing(window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp")));
    }
    EXPECT_EQ(withHelp, 9);
    // Read again once the program windows' menus were read.
    SCOPED_TRACE("main window again");
    main->documentArea()->closeAllSubWindows();
    main->setFocus();
    QApplication::processEvents();
    expectShowing(mainMenu("mnuHelp"));
}

// A window restored from its title bar came back where Qt found room while
// the welcome panel still took the top of the document area: a tall window
// stood with its title bar and menus above the area, out of reach.
TEST_F(ProgramWindowsTest, ARestoredWindowComesBackWhereItWasInsideTheDocumentArea)
{
    QMdiArea *area = main->documentArea();
    auto inside = [area](const QWidget *window) {
        return QRect(QPoint(0, 0), area->viewport()->size()).contains(window->geometry());
    };
    struct Row
    {
        const char *how;
        QPoint place;
        void (*restore)(ProgramWindow *);
    };
    const Row rows[] = {
        {"the title bar's restore button", {300, 40},
         [](ProgramWindow *w) {
             QStyleOptionTitleBar bar;
             bar.initFrom(w);
             bar.subControls = QStyle::SC_All;
             bar.titleBarFlags = w->windowFlags();
             bar.titleBarState = w->windowState();
             bar.rect = w->rect();
             const QRect button =
                 w->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarNormalButton, w);
             QTest::mouseMove(w, button.center());
             QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, button.center());
         }},
        // The notification area hides the window after minimising it.
        {"shown again after being hidden", {120, 10},
         [](ProgramWindow *w) {
             w->hide();
             w->showNormal();
         }},
        {"moved by others as it returns", {200, 20},
         [](ProgramWindow *w) {
             w->installEventFilter(new MovedWhileRestoring(w));
             w->showNormal();
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.how);
        ProgramWindow *input = bringUp(QStringLiteral("frmNumerologyProMain"));
        ASSERT_NE(input, nullptr);
        input->move(row.place);
        const QRect before = input->geometry();
        input->showMinimized();
        ASSERT_TRUE(welcome()->isVisible());
        // Taller than the room the welcome panel leaves: the case that failed.
        ASSERT_GT(before.height(), area->viewport()->height());

        row.restore(input);
        ASSERT_FALSE(input->isMinimized());
        EXPECT_FALSE(welcome()->isVisible());
        EXPECT_EQ(input->geometry(), before);
        QApplication::processEvents();
        EXPECT_EQ(input->geometry(), before);
        EXPECT_TRUE(inside(input));
    }

    // A place that no longer fits moves only as far as it must.
    ProgramWindow *input = bringUp(QStringLiteral("frmNumerologyProMain"));
    input->move(area->viewport()->width() - input->width(), 60);
    input->showMinimized();
    main->resize(main->width() - 200, main->height() - 50);
    QApplication::processEvents();
    input->showNormal();
    EXPECT_TRUE(inside(input));
    EXPECT_EQ(input->x(), area->viewport()->width() - input->width());
    EXPECT_LE(input->y(), 60);
}

// Without a notification area the daily window waits minimised; its daily
// reminder brings it back whole.
TEST_F(ProgramWindowsTest, TheDailyReminderBringsItsWindowBackInsideTheDocumentArea)
{
    for (const char *key : {"HourDailyNumerology", "MinuteDailyNumerology", "SecondDailyNumerology"})
        platform::writeSetting(QString::fromLatin1(key), QStringLiteral("0"));
    platform::writeSetting(QStringLiteral("HourDailyNumerology"), QStringLiteral("7"));
    test.clock.set(QDateTime(QDate(2026, 12, 10), QTime(6, 59, 59)));
    auto *daily = qobject_cast<DailyMain *>(bringUp(QStringLiteral("frmDailyNumerologyMain")));
    ASSERT_NE(daily, nullptr);
    daily->move(200, 30);
    const QRect before = daily->geometry();
    click("frmDailyNumerologyMain", "cmdCalculateMoonPhase");
    ASSERT_TRUE(daily->isMinimized());

    test.clock.set(QDateTime(QDate(2026, 12, 10), QTime(7, 0, 0)));
    daily->tick();
    ASSERT_FALSE(daily->isMinimized());
    EXPECT_EQ(daily->geometry().topLeft(), before.topLeft());
    EXPECT_TRUE(QRect(QPoint(0, 0), main->documentArea()->viewport()->size()).contains(daily->geometry()));
}
