#include "clientbook/clientbookwindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <source_location>

using namespace Qt::StringLiterals;

namespace {

const QString kNavigator = u"frmNumerologyProResult"_s;
const QString kInput = u"frmNumerologyProMain"_s;
const QString kClientBook = u"frmClientBook"_s;
const QString kTimeline = u"frmLifeTimeline"_s;

} // namespace

// Which of the document area's windows is in front and active, as windows
// open, go Back and close, and as the Window menu and Ctrl+K bring them up.
class WindowStackingTest : public ClientBookSuiteTest
{
protected:
    QMdiArea *area() const { return main->documentArea(); }
    QMdiSubWindow *active() const { return area()->activeSubWindow(); }
    // The window shows in front of every other window of the area.
    bool inFront(const QMdiSubWindow *window) const
    {
        QList<QMdiSubWindow *> stacked = area()->subWindowList(QMdiArea::StackingOrder);
        stacked.removeIf([](const QMdiSubWindow *each) { return each->isHidden(); });
        return !stacked.isEmpty() && stacked.back() == window;
    }
    // The keyboard focus is on a control of the window that shows.
    bool hasFocus(const QWidget *window) const
    {
        const QWidget *focus = QApplication::focusWidget();
        return focus && focus->isVisible() && (focus == window || window->isAncestorOf(focus));
    }
    // A key as the window system delivers it: to the main window, which hands
    // it to the shortcuts and then to its focus widget.
    void press(QKeyCombination key)
    {
        QTest::keyClick(main->windowHandle(), key.key(), key.keyboardModifiers());
        QApplication::processEvents();
    }
    void expectActiveInFront(const QString &name, std::source_location where = std::source_location::current())
    {
        SCOPED_TRACE(testing::Message() << "expected in front at line " << where.line());
        ProgramWindow *expected = window(name);
        ASSERT_NE(expected, nullptr) << name.toStdString();
        EXPECT_EQ(active(), expected) << (active() ? active()->objectName().toStdString() : "none");
        EXPECT_TRUE(inFront(expected));
        const QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(hasFocus(expected)) << (focus ? focus->objectName().toStdString() + " " + focus->metaObject()->className() : "no focus");
    }
    QMenu *windowMenu() const { return main->menuBar()->findChild<QMenu *>(u"mnuWindow"_s); }
    QAction *windowCommand(const QString &name) const { return windowMenu()->findChild<QAction *>(name); }
    // The window items as the open menu shows them, with the checked one.
    QStringList listedWindows(QString *checked = nullptr)
    {
        windowMenu()->popup(main->mapToGlobal(QPoint(100, 100)));
        QApplication::processEvents();
        QStringList texts;
        for (const QAction *item : windowMenu()->actions()) {
            if (!item->objectName().startsWith(u"mnuWindow_"_s))
                continue;
            texts << item->text();
            if (checked && item->isChecked())
                *checked = item->text();
        }
        windowMenu()->close();
        return texts;
    }
    QAction *listedWindow(const QString &text)
    {
        listedWindows();
        for (QAction *item : windowMenu()->actions()) {
            if (item->objectName().startsWith(u"mnuWindow_"_s) && item->text() == text)
                return item;
        }
        return nullptr;
    }
    // The client book open, then the navigator opened over it.
    void openBookThenNavigator()
    {
        main->openClientBook();
        openNavigator("MARY", "ANN", "SMITH");
        ASSERT_NE(window(kNavigator), nullptr);
        QApplication::processEvents();
        expectActiveInFront(kNavigator);
    }
};

// Back once activated the next window in the order the windows opened, which
// put the client book over the navigator.  Back returns to the navigator also
// when the user went to another window and came back in between.
TEST_F(WindowStackingTest, BackReturnsToTheNavigatorItCameFrom)
{
    const struct
    {
        const char *button;
        const char *window;
    } rows[] = {
        {"cmdLifeTimeline", "frmLifeTimeline"},
        {"cmdForecast", "frmForecast"},
        {"cmdCompatibility", "frmCompatibility"},
    };
    openBookThenNavigator();
    for (const auto &row : rows) {
        for (const bool visitBookFirst : {false, true}) {
            SCOPED_TRACE(std::string(row.window) + (visitBookFirst ? " after a visit to the book" : ""));
            click(kNavigator, QString::fromLatin1(row.button));
            ProgramWindow *opened = window(QString::fromLatin1(row.window));
            ASSERT_NE(opened, nullptr);
            expectActiveInFront(QString::fromLatin1(row.window));
            if (visitBookFirst) {
                area()->setActiveSubWindow(clientBookWindow());
                area()->setActiveSubWindow(opened);
            }
            click(QString::fromLatin1(row.window), u"cmdBack"_s);
            QApplication::processEvents();
            EXPECT_EQ(window(QString::fromLatin1(row.window)), nullptr);
            expectActiveInFront(kNavigator);
            ASSERT_NE(clientBookWindow(), nullptr);
            EXPECT_TRUE(clientBookWindow()->isVisible());
        }
    }
}

// A window closed while active hands the front to the window active before
// it, not to the next one in the order the windows opened (here the navigator).
TEST_F(WindowStackingTest, ClosingTheActiveWindowReturnsToTheOneActiveBeforeIt)
{
    openBookThenNavigator();
    click(kNavigator, u"cmdLifeTimeline"_s);
    area()->setActiveSubWindow(clientBookWindow());
    clientBookWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(clientBookWindow(), nullptr);
    expectActiveInFront(kTimeline);

    // A window closed behind others leaves the front as it is.
    main->openClientBook();
    area()->setActiveSubWindow(window(kNavigator));
    clientBookWindow()->close();
    QApplication::processEvents();
    expectActiveInFront(kNavigator);
}

// The Client Book item gave Ctrl+K up whenever a program window had the
// focus, so in the navigator the key did nothing.  In an input window the
// key stays Choose Client, and one action only answers to it there.
TEST_F(WindowStackingTest, CtrlKBringsTheClientBookToTheFrontFromTheNavigator)
{
    openNavigator("MARY", "ANN", "SMITH");
    ASSERT_TRUE(hasFocus(window(kNavigator)));
    press(Qt::CTRL | Qt::Key_K);
    ASSERT_NE(clientBookWindow(), nullptr);
    expectActiveInFront(kClientBook);

    // Open behind the navigator, it comes to the front again, still one window.
    area()->setActiveSubWindow(window(kNavigator));
    expectActiveInFront(kNavigator);
    press(Qt::CTRL | Qt::Key_K);
    expectActiveInFront(kClientBook);
    EXPECT_EQ(openCount(kClientBook), 1);

    // Minimised, it is put back.
    clientBookWindow()->showMinimized();
    area()->setActiveSubWindow(window(kNavigator));
    press(Qt::CTRL | Qt::Key_K);
    EXPECT_FALSE(clientBookWindow()->isMinimized());
    expectActiveInFront(kClientBook);

    click(kNavigator, u"cmdBack"_s);
    QApplication::processEvents();
    expectActiveInFront(kInput);
    ModalScript script{[](QWidget *picker) {
        EXPECT_NE(picker->findChild<QLineEdit *>("txtClientSearch"), nullptr);
        picker->close();
    }};
    press(Qt::CTRL | Qt::Key_K);
    EXPECT_TRUE(script.done());
    // The window system hands the activation back once the picker has gone
    // (the offscreen platform leaves that to the test).
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    expectActiveInFront(kInput);
}

TEST_F(WindowStackingTest, WindowMenuListsTheShownWindowsAndBringsOneToTheFront)
{
    QStringList titles;
    for (QAction *menu : main->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Clients", "&Window", "&Help"}));
    QStringList commands;
    for (const QAction *item : windowMenu()->actions()) {
        if (!item->isSeparator())
            commands << item->text() + u'|' + item->shortcut().toString();
    }
    EXPECT_EQ(commands, QStringList({"&Cascade|", "&Tile|", "Ne&xt|Ctrl+F6", "Pre&vious|Ctrl+Shift+F6"}));
    // With no window open there is nothing to arrange or go to.
    EXPECT_TRUE(listedWindows().isEmpty());
    for (const char *name : {"mnuCascade", "mnuTile", "mnuNextWindow", "mnuPreviousWindow"})
        EXPECT_FALSE(windowCommand(QString::fromLatin1(name))->isEnabled()) << name;

    openBookThenNavigator();
    click(kNavigator, u"cmdLifeTimeline"_s);
    // The input window, hidden while the navigator shows, and the display
    // and document windows, hidden until a reading fills them, are not listed.
    const QString navigatorTitle = window(kNavigator)->windowTitle();
    QString checked;
    EXPECT_EQ(listedWindows(&checked),
              QStringList({"&1 Client Book", "&2 " + navigatorTitle, "&3 Life Timeline"}));
    EXPECT_EQ(checked, "&3 Life Timeline");

    QAction *book = listedWindow("&1 Client Book");
    ASSERT_NE(book, nullptr);
    book->trigger();
    expectActiveInFront(kClientBook);
    listedWindows(&checked);
    EXPECT_EQ(checked, "&1 Client Book");

    // A minimised window is listed, and choosing it puts it back.
    window(kTimeline)->showMinimized();
    QAction *timeline = listedWindow("&3 Life Timeline");
    ASSERT_NE(timeline, nullptr);
    timeline->trigger();
    EXPECT_FALSE(window(kTimeline)->isMinimized());
    expectActiveInFront(kTimeline);

    // Back: the timeline is gone from the list.
    click(kTimeline, u"cmdBack"_s);
    QApplication::processEvents();
    EXPECT_EQ(listedWindows(&checked), QStringList({"&1 Client Book", "&2 " + navigatorTitle}));
    EXPECT_EQ(checked, "&2 " + navigatorTitle);
}

// Next and Previous go round the listed windows in the menu's order, with a
// program window holding the focus, and pass over hidden windows.
TEST_F(WindowStackingTest, NextAndPreviousGoRoundTheShownWindows)
{
    openBookThenNavigator();
    click(kNavigator, u"cmdLifeTimeline"_s);
    area()->setActiveSubWindow(clientBookWindow());
    const struct
    {
        QKeyCombination key;
        QString then;
    } steps[] = {
        {Qt::CTRL | Qt::Key_F6, kNavigator},
        {Qt::CTRL | Qt::Key_F6, kTimeline},
        {Qt::CTRL | Qt::Key_F6, kClientBook},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F6, kTimeline},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F6, kNavigator},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(QKeySequence(step.key).toString().toStdString() + " to " + step.then.toStdString());
        ASSERT_TRUE(hasFocus(active()));
        press(step.key);
        expectActiveInFront(step.then);
    }
    EXPECT_TRUE(windowCommand(u"mnuNextWindow"_s)->isEnabled());

    // With one window left showing there is nowhere to go.
    clientBookWindow()->close();
    window(kTimeline)->close();
    QApplication::processEvents();
    EXPECT_FALSE(windowCommand(u"mnuNextWindow"_s)->isEnabled());
    EXPECT_FALSE(windowCommand(u"mnuPreviousWindow"_s)->isEnabled());
    EXPECT_TRUE(windowCommand(u"mnuCascade"_s)->isEnabled());
}

TEST_F(WindowStackingTest, CascadeAndTileArrangeTheShownWindows)
{
    openBookThenNavigator();
    click(kNavigator, u"cmdLifeTimeline"_s);
    const QList<QMdiSubWindow *> shown = {clientBookWindow(), window(kNavigator), window(kTimeline)};

    windowCommand(u"mnuCascade"_s)->trigger();
    QApplication::processEvents();
    for (qsizetype i = 1; i < shown.size(); ++i) {
        SCOPED_TRACE(shown[i]->objectName().toStdString());
        // Each one below and to the right of the one before, its title bar in sight.
        EXPECT_GT(shown[i]->x(), shown[i - 1]->x());
        EXPECT_GT(shown[i]->y(), shown[i - 1]->y());
    }
    // Arranging leaves the hidden input window hidden and the active window active.
    EXPECT_TRUE(window(kInput)->isHidden());
    expectActiveInFront(kTimeline);

    windowCommand(u"mnuTile"_s)->trigger();
    QApplication::processEvents();
    const QRect room = area()->viewport()->rect();
    QList<QPoint> corners;
    for (const QMdiSubWindow *each : shown) {
        SCOPED_TRACE(each->objectName().toStdString());
        EXPECT_TRUE(room.contains(each->geometry().topLeft()));
        EXPECT_FALSE(corners.contains(each->pos()));
        corners << each->pos();
    }
    EXPECT_TRUE(window(kInput)->isHidden());
}
