#include "shell/artwork.h"
#include "shell/suitestyle.h"
#include "support/suitefixture.h"

#include "widgets/linklabel.h"

#include <QDialog>
#include <QDir>
#include <QStandardPaths>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {

const QString kInput = QStringLiteral("frmNumerologyProMain");

LinkLabel *caption(MainWindow &main, int index)
{
    return main.findChild<LinkLabel *>(QStringLiteral("lblCaption_%1").arg(index));
}

void moveMouseOver(QWidget *widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST_F(SuiteTest, MainWindowShowsTheLaunchButtonsAndWelcomePanel)
{
    EXPECT_EQ(main->windowTitle(), "Kestrava v1.25");
    const char *captions[] = {"Ruzazeder Uvuvevizoz", "Variduzeda Vad", "Virer Ovuvudavov",
                              "Vavov Uvarevuvir", "Dudov Aduradudav", "Vorizov Avazodizaz"};
    for (int i = 0; i < 6; ++i) {
        auto *button = main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_%1").arg(i));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), captions[i]);
        EXPECT_TRUE(button->isEnabled()) << i;
    }
    // Top row: Variduzeda Vad, Astrology, Tarot; bottom row: Tantric, Daily, Runes.
    auto x = [&](int i) {
        auto *b = main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_%1").arg(i));
        return b->mapTo(main.get(), QPoint(0, 0));
    };
    EXPECT_LT(x(1).x(), x(0).x());
    EXPECT_LT(x(0).x(), x(2).x());
    EXPECT_LT(x(5).x(), x(3).x());
    EXPECT_LT(x(3).x(), x(4).x());
    EXPECT_EQ(x(1).y(), x(0).y());
    EXPECT_LT(x(1).y(), x(5).y());

    EXPECT_EQ(caption(*main, 0)->text(), "Welcome to Kestrava");
    EXPECT_EQ(caption(*main, 2)->text(), "Kestrava includes the following programs");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(caption(*main, i + 3)->text(), captions[i]);
    // Program labels from top to bottom: Variduzeda Vad, Astrology, Tarot, Tantric, Daily, Runes.
    const int order[] = {0, 1, 2, 4, 3, 5, 8, 6, 7};
    for (int i = 1; i < 9; ++i)
        EXPECT_LT(caption(*main, order[i - 1])->y(), caption(*main, order[i])->y()) << order[i];
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(SuiteTest, LaunchOpensTheInputWindowAndHidesTheWelcomePanel)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    ProgramWindow *input = window(kInput);
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(input->y(), 0);
    EXPECT_FALSE(welcome()->isVisible());
    ProgramWindow *document = window(QStringLiteral("frmNumerologyProsave"));
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->isVisible());

    click(kInput, QStringLiteral("cmdExit"));
    EXPECT_EQ(window(kInput), nullptr);
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(SuiteTest, RelaunchingOpensTheProgramFresh)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    enterNames("MARY", "ANN", "SMITH");
    selectDate("March", "15", "1976");
    main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_1"))->click();

    EXPECT_EQ(openCount(kInput), 1);
    EXPECT_EQ(control<QLineEdit>(kInput, "txtFirstName")->text(), "");
    EXPECT_EQ(control<QLineEdit>(kInput, "txtLastName")->text(), "");
    EXPECT_EQ(control<QComboBox>(kInput, "cboMonth")->currentText(), "August");
    EXPECT_EQ(control<QComboBox>(kInput, "cboDate")->currentText(), "6");
    EXPECT_EQ(control<QComboBox>(kInput, "cboYear")->currentText(), "1979");
}

TEST_F(SuiteTest, LaunchClosesEveryOpenReadingWindow)
{
    openNavigator("MARY", "ANN", "SMITH");
    click("frmNumerologyProResult", "cmdLifePath");
    click("frmNumerologyProResult", "cmdComprehensiveReading");
    ASSERT_TRUE(window("frmNumerologyProsave")->isVisible());

    caption(*main, 4)->clicked();

    EXPECT_EQ(window("frmNumerologyProResult"), nullptr);
    EXPECT_EQ(window("frmNumerologyProDisp"), nullptr);
    EXPECT_EQ(openCount("frmNumerologyProsave"), 1);
    EXPECT_FALSE(window("frmNumerologyProsave")->isVisible());
    EXPECT_EQ(openCount(kInput), 1);
    EXPECT_TRUE(window(kInput)->isVisible());
}

TEST_F(SuiteTest, HeadingLabelsOnlyCloseOpenPrograms)
{
    for (int heading = 0; heading < 3; ++heading) {
        caption(*main, heading)->clicked();
        EXPECT_TRUE(main->documentArea()->subWindowList().isEmpty());
        EXPECT_TRUE(welcome()->isVisible());
    }
    main->launch(kestrava::ProgramId::NumerologyPro);
    caption(*main, 0)->clicked();
    EXPECT_EQ(window(kInput), nullptr);
    EXPECT_EQ(window("frmNumerologyProsave"), nullptr);
}

TEST_F(SuiteTest, HoveringAProgramLabelUnderlinesItUntilTheMouseReachesThePanel)
{
    moveMouseOver(caption(*main, 4), QPoint(2, 2));
    EXPECT_TRUE(caption(*main, 4)->font().underline());
    moveMouseOver(caption(*main, 0), QPoint(2, 2));
    EXPECT_FALSE(caption(*main, 0)->font().underline());

    moveMouseOver(welcome(), QPoint(1, 1));
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(caption(*main, i)->font().underline()) << i;
}

// The suite with the real modal boxes and dialogs.
class RealDialogsTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        test.realDialogs = true;
        SuiteTest::SetUp();
    }
};

TEST_F(RealDialogsTest, AProgramWindowClosedWhileItsBoxIsOpenClosesTheBoxFirst)
{
    // A box of the input window is open (a message box from Next, the file
    // dialog from Open) when the launcher runs, or when the window itself is
    // closed.  The box closes, the call returns safely, and the window goes.
    struct Row
    {
        const char *button;
        bool relaunch;
    };
    for (const Row row : {Row{"cmdNext", true}, Row{"cmdOpen", true}, Row{"cmdNext", false}}) {
        SCOPED_TRACE(std::string(row.button) + (row.relaunch ? " relaunch" : " close"));
        main->launch(kestrava::ProgramId::NumerologyPro);
        const QPointer<ProgramWindow> old = window(kInput);
        bool boxWasOpen = false;
        QTimer::singleShot(0, main.get(), [&] {
            boxWasOpen = QApplication::activeModalWidget() != nullptr;
            if (row.relaunch)
                main->findChild<QPushButton *>(QStringLiteral("cmdSelectOption_1"))->click();
            else
                old->close();
        });
        // A box left open would hang the test: close it and fail instead.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the box stayed open";
                box->close();
            }
        });
        watchdog.start(5000);
        click(kInput, row.button);
        EXPECT_TRUE(boxWasOpen);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(old.isNull());
        if (row.relaunch) {
            EXPECT_EQ(openCount(kInput), 1);
            EXPECT_TRUE(window(kInput)->isVisible());
            EXPECT_FALSE(welcome()->isVisible());
        } else {
            EXPECT_EQ(window(kInput), nullptr);
            EXPECT_TRUE(welcome()->isVisible());
        }
    }
}

TEST_F(SuiteTest, TheClosingSequenceClosesAModalProgramWindow)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    // A separate, modal program window, as the tarot reading document is.
    auto *modal = new QDialog(main.get());
    modal->setObjectName(QStringLiteral("frmTarotNumerologySave"));
    main->addProgramWindow(modal);
    bool stillClosing = false;
    QTimer::singleShot(0, main.get(), [&] {
        EXPECT_TRUE(modal->isVisible());
        EXPECT_FALSE(welcome()->isVisible());
        caption(*main, 0)->clicked(); // the closing sequence alone
        stillClosing = main->isClosingPrograms();
    });
    EXPECT_EQ(modal->exec(), QDialog::Rejected);
    EXPECT_FALSE(modal->isVisible());
    EXPECT_FALSE(stillClosing);
    EXPECT_FALSE(main->isClosingPrograms());
    EXPECT_EQ(window(kInput), nullptr);
    EXPECT_TRUE(welcome()->isVisible());
}

// The client book window and the report are handed to the main window by the
// composition root; a main window without them offers neither.
TEST(MainWindowAlone, OffersNoClientBookOrReportUntilTheyAreHandedIn)
{
    TestServices test;
    MainWindow main(test.services());
    auto *book = main.findChild<QAction *>(QStringLiteral("mnuClientBook"));
    ASSERT_NE(book, nullptr);
    EXPECT_FALSE(book->isEnabled());
    EXPECT_EQ(main.findChild<QAction *>(QStringLiteral("mnuNewReport")), nullptr);
    main.openClientBook();
    EXPECT_TRUE(main.documentArea()->subWindowList().isEmpty());
}

// Pictures are drawn once and read back from the user's cache afterwards.
TEST(Artwork, APictureReadFromTheCacheIsTheOneDrawn)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                           + QStringLiteral("/kestrava/artwork");
    QDir(folder).removeRecursively();
    const QImage drawn = kestrava::bannerPicture(321, 40).toImage();
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(QDir(folder).entryList({"banner-321x40-*.argb"}, QDir::Files).size(), 1);
    const QImage read = kestrava::bannerPicture(321, 40).toImage();
    EXPECT_EQ(read.convertToFormat(drawn.format()), drawn);
    // A damaged file is drawn again, not shown.
    const QString file = folder + u'/' + QDir(folder).entryList({"banner-321x40-*.argb"}, QDir::Files).value(0);
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a picture");
    damaged.close();
    EXPECT_EQ(kestrava::bannerPicture(321, 40).toImage().convertToFormat(drawn.format()), drawn);
}

TEST(SuiteStyle, TheMenuBarOverflowArrowIsTheStylesOwnWhenDrawn)
{
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        auto *style = new SuiteStyle;
        const QIcon deferred = style->standardIcon(which);
        const QIcon own = style->baseStyle()->standardIcon(which);
        ASSERT_FALSE(own.isNull());
        EXPECT_FALSE(deferred.isNull());
        EXPECT_EQ(deferred.availableSizes(), own.availableSizes());
        EXPECT_EQ(deferred.pixmap(16).toImage(), own.pixmap(16).toImage());
        EXPECT_EQ(deferred.pixmap(QSize(16, 16), 2.0).toImage(), own.pixmap(QSize(16, 16), 2.0).toImage());

        // An icon asked for after its style is gone draws nothing rather than crash.
        const QIcon orphan = style->standardIcon(which);
        delete style;
        EXPECT_TRUE(orphan.pixmap(16).isNull());
    }
}
