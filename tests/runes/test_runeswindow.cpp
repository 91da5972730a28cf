#include "runes/runes.h"
#include "support/suitefixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>

namespace {

const QString kWindow = QStringLiteral("frmRunesNumerologyMain");

} // namespace

class RunesTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        SuiteTest::SetUp();
        main->launch(kestrava::ProgramId::Runes);
    }
    QString label(int i) const { return control<QLabel>(kWindow, QStringLiteral("lblLabel_%1").arg(i))->text(); }
    void readingFor(const QString &name)
    {
        control<QLineEdit>(kWindow, "txtName")->setText(name);
        click(kWindow, "cmdNumerologyRunes");
    }
    bool resultInFront() const
    {
        return control<QStackedWidget>(kWindow, {})->currentWidget()->objectName() == "Frame2";
    }
    QImage picture() const { return control<QLabel>(kWindow, "picRunesImage")->pixmap().toImage(); }
};

TEST_F(RunesTest, ANameShowsItsNumberAndRuneOnTwoTabs)
{
    EXPECT_EQ(window(kWindow)->windowTitle(), "Orvanel Dudov Aduradudav");
    EXPECT_FALSE(welcome()->isVisible());
    click(kWindow, "cmdNumerologyRunes");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please enter name"});
    EXPECT_FALSE(resultInFront());

    readingFor("Sarah Jones");
    ASSERT_TRUE(resultInFront());
    auto *tabs = control<QTabBar>(kWindow, "TS");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(control<QWidget>(kWindow, "picNumerology")->isVisible());
    EXPECT_EQ(label(1), "11");
    EXPECT_EQ(label(2), runes::significanceText());
    EXPECT_EQ(control<QPlainTextEdit>(kWindow, "txtNumerologyInterpretation")->toPlainText(),
              QString(runes::runeRow(11)->numberText).replace("\r\n", "\n"));
    EXPECT_EQ(label(4), "Fehu");
    EXPECT_EQ(label(5), "Joy, Pleasure, Hope, Fellowship");
    const QImage fehu = picture();
    EXPECT_EQ(fehu.size(), QSize(113, 151) * window(kWindow)->devicePixelRatioF());
    tabs->setCurrentIndex(1);
    EXPECT_TRUE(control<QWidget>(kWindow, "picRunes")->isVisible());

    // Back, a new name: both tabs hold the new reading, the first tab in front.
    click(kWindow, "cmdBack_0");
    EXPECT_FALSE(resultInFront());
    EXPECT_TRUE(control<QLineEdit>(kWindow, "txtName")->text().isEmpty());
    readingFor("Peter");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(label(1), "1");
    EXPECT_EQ(label(4), "Algiz");
    EXPECT_NE(picture(), fehu);

    // 22 has no rune: empty fields and the Fehu stone.  (Sixty-two Z and a C
    // total 499, whose digits add up to 22.)
    click(kWindow, "cmdBack_1");
    readingFor(QString(62, u'Z') + u'C');
    EXPECT_EQ(label(1), "22");
    EXPECT_TRUE(label(4).isEmpty());
    EXPECT_TRUE(label(5).isEmpty());
    EXPECT_TRUE(label(6).isEmpty());
    EXPECT_EQ(picture(), fehu);

    window(kWindow)->close();
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(RunesTest, ANameWithoutLettersDoesNotRepeatTheLastReading)
{
    EXPECT_EQ(label(1), "22");
    EXPECT_EQ(label(4), "Runes Name");
    EXPECT_EQ(label(5), "Runes Keywords");
    readingFor("Mary");
    EXPECT_EQ(label(4), "Wunjo");
    click(kWindow, "cmdBack_1");
    readingFor("1234 !");
    EXPECT_TRUE(resultInFront());
    EXPECT_EQ(label(1), "0");
    EXPECT_TRUE(label(4).isEmpty());
    EXPECT_TRUE(control<QPlainTextEdit>(kWindow, "txtNumerologyInterpretation")->toPlainText().contains("no letters"));
    EXPECT_TRUE(picture().isNull());
}
