#include "shell/clientbookwindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"

#include <source_location>

using namespace Qt::StringLiterals;

namespace {

const QString kNavigator = u"frmNumerologyProResult"_s;
const QString kInput = u"frmNumerologyProMain"_s;
const QString kClientBook = u"frmClientBook"_s;
const QString kTimeline = u"frmLifeTimeline"_s;

} // namespace

// Which of the document area's windows is in front and active, as windows
// open, go Back and close, and as Ctrl+K brings the client book up.
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
                area()->setActiveSubWindow(main->clientBookWindow());
                area()->setActiveSubWindow(opened);
            }
            click(QString::fromLatin1(row.window), u"cmdBack"_s);
            QApplication::processEvents();
            EXPECT_EQ(window(QString::fromLatin1(row.window)), nullptr);
            expectActiveInFront(kNavigator);
            ASSERT_NE(main->clientBookWindow(), nullptr);
            EXPECT_TRUE(main->clientBookWindow()->isVisible());
        }
    }
}

// A window closed while active hands the front to the window active before
// it, not to the next one in the order the windows opened (here the navigator).
TEST_F(WindowStackingTest, ClosingTheActiveWindowReturnsToTheOneActiveBeforeIt)
{
    openBookThenNavigator();
    click(kNavigator, u"cmdLifeTimeline"_s);
    area()->setActiveSubWindow(main->clientBookWindow());
    main->clientBookWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(main->clientBookWindow(), nullptr);
    expectActiveInFront(kTimeline);

    // A window closed behind others leaves the front as it is.
    main->openClientBook();
    area()->setActiveSubWindow(window(kNavigator));
    main->clientBookWindow()->close();
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
    ASSERT_NE(main->clientBookWindow(), nullptr);
    expectActiveInFront(kClientBook);

    // Open behind the navigator, it comes to the front again, still one window.
    area()->setActiveSubWindow(window(kNavigator));
    expectActiveInFront(kNavigator);
    press(Qt::CTRL | Qt::Key_K);
    expectActiveInFront(kClientBook);
    EXPECT_EQ(openCount(kClientBook), 1);

    // Minimised, it is put back.
    main->clientBookWindow()->showMinimized();
    area()->setActiveSubWindow(window(kNavigator));
    press(Qt::CTRL | Qt::Key_K);
    EXPECT_FALSE(main->clientBookWindow()->isMinimized());
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
