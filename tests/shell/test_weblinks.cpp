#include "support/suitefixture.h"

#include "platform/weblinks.h"
#include "shell/aboutbox.h"
#include "widgets/linklabel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString kMdi = QStringLiteral("frmMDI");
const QString kInput = QStringLiteral("frmNumerologyProMain");
const QString kNavigator = QStringLiteral("frmNumerologyProResult");
const QString kDisplay = QStringLiteral("frmNumerologyProDisp");
const QString kDocument = QStringLiteral("frmNumerologyProsave");

QString pageAddress(const char *key)
{
    return QStringLiteral("https://www.kestrava.example/kestrava/ssd.php?page=") + QString::fromLatin1(key);
}

// Texts of a menu's items, separators as "-".
QStringList itemTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Also catches the schemes a reading view must never hand to the system, so
// that a leak shows up in `opened` instead of reaching the desktop.
class WiderUrlCatcher : public UrlCatcher
{
public:
    WiderUrlCatcher()
    {
        for (const char *scheme : kExtra)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~WiderUrlCatcher() override
    {
        for (const char *scheme : kExtra)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

private:
    static constexpr const char *kExtra[] = {"javascript", "data"};
};

class WebLinksTest : public SuiteTest
{
protected:
    // Opens the named window if it is not on screen, and returns it.
    QWidget *bringUp(const QString &name)
    {
        if (name == kMdi)
            return main.get();
        if (!window(name) || !window(name)->isVisible()) {
            if (name == kInput)
                main->launch(kestrava::ProgramId::NumerologyPro);
            else if (name == kNavigator)
                openNavigator("MARY", "ANN", "SMITH");
        }
        return window(name);
    }
    QMenuBar *menuBarOf(const QString &name) const
    {
        return name == kMdi ? main->menuBar() : window(name)->menuBar();
    }
    // An item of the bar's menus by name (Online Help belongs to the main
    // window, whichever menus show it).
    static QAction *menuItem(const QMenuBar *bar, const QString &name)
    {
        for (const QMenu *menu : bar->findChildren<QMenu *>()) {
            for (QAction *item : menu->actions()) {
                if (item->objectName() == name)
                    return item;
            }
        }
        return nullptr;
    }
    // A link label of the window itself (the main window's own, not its children's).
    LinkLabel *linkLabel(const QString &windowName, const QString &name) const
    {
        if (windowName != kMdi)
            return control<LinkLabel>(windowName, name);
        for (LinkLabel *label : main->findChildren<LinkLabel *>(name)) {
            if (!main->documentArea()->isAncestorOf(label))
                return label;
        }
        return nullptr;
    }

    WiderUrlCatcher catcher;
};

// A point on the first occurrence of a text in a reading window's view.
struct Spot
{
    QTextEdit *view = nullptr;
    QPoint point; // viewport coordinates of the text's middle
};

Spot spotText(ProgramWindow *window, const QString &text)
{
    Spot spot;
    if (!window)
        return spot;
    spot.view = window->findChild<QTextEdit *>(QStringLiteral("RTB"));
    const QTextCursor found = spot.view->document()->find(text);
    if (found.isNull()) {
        spot.view = nullptr;
        return spot;
    }
    QTextCursor middle(spot.view->document());
    middle.setPosition(found.selectionStart() + int(text.size()) / 2);
    spot.view->setTextCursor(middle);
    spot.view->ensureCursorVisible();
    spot.point = spot.view->cursorRect(middle).center();
    return spot;
}

void pressAndRelease(const Spot &spot, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(spot.view->viewport(), button, Qt::NoModifier, spot.point);
    QTest::mouseRelease(spot.view->viewport(), button, Qt::NoModifier, spot.point);
}

void moveOver(QWidget *widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST_F(WebLinksTest, MenusAndLinkLabelsOpenTheirSitePages)
{
    struct Row
    {
        const QString &window;
        const char *control; // a menu item, or a link label clicked with the mouse
        const char *page;
    };
    const Row rows[] = {
        {kMdi, "mnuOnlineHelp", "help-web-page"},
        {kMdi, "mnuVisitUs", "home-page"},
        {kMdi, "mnuCheckUpdate", "download-web-page"},
        {kMdi, "lblOrvanelBanner", "home-page"},
        {kMdi, "Picture6", "home-page"},
        {kMdi, "Label7", "fully-branded"},
        {kInput, "mnuOnlineHelp", "help-web-page"},
        {kInput, "mnuVisitUs", "home-page"},
        {kInput, "mnuCheckUpdate", "download-web-page"},
        {kInput, "Label61", "home-page"},
        {kInput, "lblFullBrand", "fully-branded"},
        {kInput, "lblCobrand", "co-brand"},
        {kNavigator, "mnuOnlineHelp", "help-web-page"},
        {kNavigator, "mnuVisitUs", "home-page"},
        {kNavigator, "mnuCheckUpdate", "download-web-page"},
        {kNavigator, "Label8", "home-page"},
        {kNavigator, "lblFullBrand", "fully-branded"},
        {kNavigator, "lblCobrand", "co-brand"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.window.toStdString() + " " + row.control);
        ASSERT_NE(bringUp(row.window), nullptr);
        catcher.opened.clear();
        const QString name = QString::fromLatin1(row.control);
        if (name.startsWith(QLatin1String("mnu"))) {
            QAction *item = menuItem(menuBarOf(row.window), name);
            ASSERT_NE(item, nullptr);
            item->trigger();
        } else {
            LinkLabel *label = linkLabel(row.window, name);
            ASSERT_NE(label, nullptr);
            QTest::mouseClick(label, Qt::LeftButton);
        }
        EXPECT_EQ(catcher.opened, QStringList{pageAddress(row.page)});
    }
}

TEST_F(WebLinksTest, LinkLabelsIgnoreOtherButtonsAndReleasesOutside)
{
    LinkLabel *label = linkLabel(kMdi, QStringLiteral("Label7"));
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(label->width() + 5, 2));
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(WebLinksTest, LinkLabelsAreTabStopsThatEnterPresses)
{
    ASSERT_NE(bringUp(kInput), nullptr);
    ProgramWindow *input = window(kInput);
    QStringList stops;
    QWidget *start = control<QPushButton>(kInput, "cmdOpen");
    for (QWidget *w = start->nextInFocusChain(); w != start && input->isAncestorOf(w); w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(input))
            stops << w->objectName();
    }
    EXPECT_TRUE(stops.contains("Label61")) << stops.join(' ').toStdString();
    EXPECT_TRUE(stops.contains("lblFullBrand"));
    EXPECT_FALSE(stops.contains("lblCobrand")); // lies covered under lblFullBrand

    for (const auto &[name, page] : {std::pair{"Label61", "home-page"}, std::pair{"lblFullBrand", "fully-branded"}}) {
        catcher.opened.clear();
        LinkLabel *label = linkLabel(kInput, name);
        label->setFocus();
        QTest::keyClick(label, Qt::Key_Return);
        EXPECT_EQ(catcher.opened, QStringList{pageAddress(page)}) << name;
    }
}

TEST_F(WebLinksTest, EveryWindowCarriesTheCommonMenusInOrder)
{
    const QStringList help = {"&Online Help", "&Visit Us Online", "-", "Check for Software &Update", "-",
                              "&About Software"};
    QStringList inputHelp = help;
    inputHelp[3] = "&Check for Software Update";
    struct Row
    {
        const QString &window;
        QStringList file;
        QStringList help;
    };
    const Row rows[] = {
        {kMdi, {"E&xit"}, help},
        {kInput, {"&Next", "E&xit"}, inputHelp},
        {kNavigator, {"&Back", "E&xit"}, help},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.window.toStdString());
        ASSERT_NE(bringUp(row.window), nullptr);
        QMenuBar *bar = menuBarOf(row.window);
        auto *file = bar->findChild<QMenu *>(QStringLiteral("mnuFile"));
        auto *helpMenu = bar->findChild<QMenu *>(QStringLiteral("mnuHelp"));
        ASSERT_NE(file, nullptr);
        ASSERT_NE(helpMenu, nullptr);
        ASSERT_GE(bar->actions().size(), 2);
        // File first, Help last; a window's own menus (Clients) stand between.
        EXPECT_EQ(bar->actions().front(), file->menuAction());
        EXPECT_EQ(bar->actions().back(), helpMenu->menuAction());
        EXPECT_EQ(file->title(), "&File");
        EXPECT_EQ(helpMenu->title(), "&Help");
        EXPECT_EQ(itemTexts(file), row.file);
        EXPECT_EQ(itemTexts(helpMenu), row.help);
    }
}

TEST_F(WebLinksTest, AboutBoxIsCentredLinksToTheSiteAndClosesWithOk)
{
    bringUp(kNavigator);
    auto *item = window(kNavigator)->menuBar()->findChild<QAction *>(QStringLiteral("mnuAbout"));
    ASSERT_NE(item, nullptr);
    item->trigger();

    AboutBox *box = AboutBox::current();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->objectName(), "frmAbout");
    EXPECT_EQ(box->windowTitle(), "Kestrava v1.25");
    EXPECT_EQ(box->findChild<QLabel *>("Label2")->text(), "Kestrava v1.25");
    EXPECT_EQ(box->findChild<QLabel *>("Label1")->text(),
              "Kestrava consists of Numerology Reading, Ruzazeder Uvuvevizoz, Vorizov Avazodizaz, Virer Ovuvudavov, "
              "Vavov Uvarevuvir and Dudov Aduradudav. Numbers relate to a pattern of energies and vibrations. The "
              "bad, good and the information about previous birth and the effects of previous in present birth and "
              "every trait of a human being can be highlighted. This software aims to help you understand more "
              "about the vibrations of numbers and their effects on your life.");
    EXPECT_TRUE(box->findChild<QLabel *>("Label3")->text().startsWith("Home Business Opportunity."));
    EXPECT_EQ(box->findChild<QLabel *>("lblCoBrand")->text(), "Click here for more details.");

    // Within a couple of pixels: the window frame is only known once shown.
    const QPointF screenCentre = QRectF(box->screen()->availableGeometry()).center();
    const QPointF boxCentre = QRectF(box->frameGeometry()).center();
    EXPECT_LE(std::abs(boxCentre.x() - screenCentre.x()), 2.0);
    EXPECT_LE(std::abs(boxCentre.y() - screenCentre.y()), 2.0);

    // A second request brings the open box forward instead of opening another.
    item->trigger();
    EXPECT_EQ(AboutBox::current(), box);
    EXPECT_EQ(main->findChildren<AboutBox *>().size(), 1);

    const std::pair<const char *, const char *> links[] = {{"lblCoBrand", "fully-branded"},
                                                           {"lblHomePage", "home-page"}};
    for (const auto &[name, page] : links) {
        SCOPED_TRACE(name);
        catcher.opened.clear();
        auto *label = box->findChild<LinkLabel *>(name);
        ASSERT_NE(label, nullptr);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(catcher.opened, QStringList{pageAddress(page)});
    }

    QTest::mouseClick(box->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(AboutBox::current(), nullptr);
}

TEST_F(WebLinksTest, AboutBoxIsModalOnTheMainAndInputWindows)
{
    for (const QString &name : {kMdi, kInput}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_NE(bringUp(name), nullptr);
        auto *item = menuBarOf(name)->findChild<QAction *>(QStringLiteral("mnuAbout"));
        ASSERT_NE(item, nullptr);

        // Runs inside the box's own event loop only if trigger() waits for the box.
        bool seenWhileOpen = false;
        bool modal = false;
        QTimer::singleShot(0, main.get(), [&] {
            seenWhileOpen = true;
            if (AboutBox *box = AboutBox::current()) {
                modal = box->isModal() && box->isVisible();
                box->findChild<QPushButton *>("cmdOK")->click();
            }
        });
        item->trigger();
        EXPECT_TRUE(seenWhileOpen);
        EXPECT_TRUE(modal);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(AboutBox::current(), nullptr);
    }
}

TEST_F(WebLinksTest, ReadingViewOpensAPressedWebAddressOnce)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdLifePath");
    ProgramWindow *display = window(kDisplay);
    ASSERT_NE(display, nullptr);

    const Spot credit = spotText(display, "https://www.kestrava.example");
    ASSERT_NE(credit.view, nullptr);
    QWidget *viewport = credit.view->viewport();
    ASSERT_TRUE(viewport->rect().contains(credit.point));

    moveOver(viewport, credit.point);
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    pressAndRelease(credit, Qt::RightButton);
    EXPECT_TRUE(catcher.opened.isEmpty());

    pressAndRelease(credit);
    EXPECT_EQ(catcher.opened, QStringList{"https://www.kestrava.example"});

    // Text away from the address is not a link.
    catcher.opened.clear();
    const Spot plain = spotText(display, "Your LifePath Number is");
    moveOver(viewport, plain.point);
    EXPECT_EQ(viewport->cursor().shape(), Qt::IBeamCursor);
    pressAndRelease(plain);
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(WebLinksTest, ReadingViewHandsOnlyWebAndMailAddressesToTheSystem)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdLifePath");
    ProgramWindow *display = window(kDisplay);
    ASSERT_NE(display, nullptr);
    auto *view = display->findChild<QTextEdit *>("RTB");
    view->append("Unsafe: file:///etc/passwd javascript:alert(1) ftp://example.com/x");
    view->append("Visit www.example.org. Or write to mailto:reader@example.org");
    view->append(R"html(<p><a href="file:///etc/passwd">local file</a> <a href="javascript:alert(1)">run script</a>)html"
                 R"html( <a href="ftp://example.com/x">old archive</a></p>)html");

    struct Row
    {
        const char *text;
        const char *link; // the link under the pressed point, "" for none
        QStringList opened;
    };
    const Row rows[] = {
        {"file:///etc/passwd", "", {}},
        {"javascript:alert(1)", "", {}},
        {"ftp://example.com/x", "", {}},
        // Links that came with the text are still checked before they leave.
        {"local file", "file:///etc/passwd", {}},
        {"run script", "javascript:alert(1)", {}},
        {"old archive", "ftp://example.com/x", {}},
        {"www.example.org", "www.example.org", {"https://www.example.org"}},
        {"mailto:reader@example.org", "mailto:reader@example.org", {"mailto:reader@example.org"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        catcher.opened.clear();
        const Spot spot = spotText(display, QString::fromLatin1(row.text));
        ASSERT_NE(spot.view, nullptr);
        EXPECT_EQ(spot.view->anchorAt(spot.point), row.link);
        pressAndRelease(spot);
        EXPECT_EQ(catcher.opened, row.opened);
    }
}

TEST_F(WebLinksTest, BothReadingViewsHaveWorkingLinksAndInformOnlyLabels)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdLifePath");
    click(kNavigator, "cmdComprehensiveReading");
    ASSERT_NE(window(kDisplay), nullptr);
    ASSERT_NE(window(kDocument), nullptr);

    for (const QString &name : {kDocument, kDisplay, kDocument}) {
        SCOPED_TRACE(name.toStdString());
        catcher.opened.clear();
        const Spot credit = spotText(window(name), "https://www.kestrava.example");
        ASSERT_NE(credit.view, nullptr);
        pressAndRelease(credit);
        EXPECT_EQ(catcher.opened, QStringList{"https://www.kestrava.example"});

        catcher.opened.clear();
        auto *forum = control<LinkLabel>(name, "Label61");
        ASSERT_NE(forum, nullptr);
        QTest::mouseClick(forum, Qt::LeftButton);
        EXPECT_TRUE(catcher.opened.isEmpty());
    }
}

TEST(OpenReadingLink, OpensOnlyWebAndMailAddresses)
{
    struct Row
    {
        const char *link;
        bool opens;
        const char *opened;
    };
    const Row rows[] = {
        {"https://www.example.org/page?x=1", true, "https://www.example.org/page?x=1"},
        {"http://example.com", true, "http://example.com"},
        {"HTTPS://www.example.org", true, "https://www.example.org"},
        {"  https://www.example.org  ", true, "https://www.example.org"},
        {"mailto:reader@example.org", true, "mailto:reader@example.org"},
        {"www.example.org", true, "https://www.example.org"},
        {"WWW.example.org/a", true, "https://www.example.org/a"},
        {"file:///etc/passwd", false, nullptr},
        {"javascript:alert(1)", false, nullptr},
        {"data:text/html,<b>x</b>", false, nullptr},
        {"ftp://example.com/x", false, nullptr},
        {"relative/page.html", false, nullptr},
        {"https://", false, nullptr},
        {"", false, nullptr},
    };
    WiderUrlCatcher catcher;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.link);
        catcher.opened.clear();
        EXPECT_EQ(kestrava::openReadingLink(QString::fromLatin1(row.link)), row.opens);
        EXPECT_EQ(catcher.opened, row.opens ? QStringList{QString::fromLatin1(row.opened)} : QStringList{});
    }
}
