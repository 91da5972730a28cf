#include "common/charactershift.h"
#include "support/suitefixture.h"
#include "tantric/tantricnumbers.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>

namespace {

const QString kInput = QStringLiteral("frmTantricNumerologyMain");
const QString kResult = QStringLiteral("frmTranticNumerologyDisplay");

} // namespace

class TantricTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        SuiteTest::SetUp();
        main->launch(kestrava::ProgramId::Tantric);
    }
    void readingFor(const QString &name, const QString &day, const QString &month, const QString &year)
    {
        control<QLineEdit>(kInput, "txtName")->setText(name);
        control<QComboBox>(kInput, "cboDate")->setCurrentText(day);
        control<QComboBox>(kInput, "cboMonth")->setCurrentText(month);
        control<QComboBox>(kInput, "cboYear")->setCurrentText(year);
        click(kInput, "cmdNext");
    }
    QLabel *label(int i) const { return control<QLabel>(kResult, QStringLiteral("lblLabel_%1").arg(i)); }
    QPlainTextEdit *text(int i) const { return control<QPlainTextEdit>(kResult, QStringLiteral("txtResult_%1").arg(i)); }
    QString chart() const { return control<QTextEdit>(kResult, "RTB")->toPlainText(); }
};

TEST_F(TantricTest, AReadingFillsTheSummaryAndTheChart)
{
    EXPECT_EQ(window(kInput)->windowTitle(), "Orvanel Vorizov Avazodizaz");
    EXPECT_EQ(control<QComboBox>(kInput, "cboDate")->currentText(), "1");
    EXPECT_EQ(control<QComboBox>(kInput, "cboMonth")->currentText(), "January");
    EXPECT_EQ(control<QComboBox>(kInput, "cboYear")->currentText(), "1900");
    click(kInput, "cmdNext");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Your Name"});
    EXPECT_EQ(window(kResult), nullptr);

    readingFor("  Asha Rao ", "15", "August", "1975");
    ASSERT_NE(window(kResult), nullptr);
    EXPECT_FALSE(window(kInput)->isVisible());
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(control<QLabel>(kResult, "lblCaption")->text(), "Orvanel Vorizov Avazodizaz Chart for Asha Rao");
    EXPECT_EQ(label(1)->text(), "6");
    EXPECT_EQ(label(3)->text(), "8");
    EXPECT_EQ(label(5)->text(), "3");
    EXPECT_EQ(label(7)->text(), "4");
    EXPECT_EQ(label(9)->text(), "9");
    EXPECT_EQ(text(0)->toPlainText(), tantric::tantricText(tantric::Table::Path, 9));
    EXPECT_EQ(text(2)->toPlainText(), tantric::tantricText(tantric::Table::Gift, 3));
    EXPECT_TRUE(text(2)->isVisible());
    EXPECT_TRUE(control<QWidget>(kResult, "Frame1")->isVisible());

    click(kResult, "cmdComprehensive");
    EXPECT_TRUE(control<QWidget>(kResult, "Frame2")->isVisible());
    EXPECT_TRUE(chart().startsWith("Orvanel Vorizov Avazodizaz Chart for Asha Rao\n\nPath: 9\n"));
    EXPECT_TRUE(chart().endsWith(tantric::tantricText(tantric::Table::Karma, 8)));
    click(kResult, "cmdBackToBack");
    EXPECT_TRUE(control<QWidget>(kResult, "Frame1")->isVisible());

    // Exit closes the result; the input stays hidden and the welcome panel returns.
    click(kResult, "cmdExit");
    EXPECT_EQ(window(kResult), nullptr);
    EXPECT_FALSE(window(kInput)->isVisible());
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(TantricTest, GiftZeroHidesTheGiftAndANewReadingBringsItBack)
{
    readingFor("Ravi", "1", "January", "2000");
    EXPECT_FALSE(label(4)->isVisible());
    EXPECT_FALSE(label(5)->isVisible());
    EXPECT_FALSE(text(2)->isVisible());
    EXPECT_TRUE(label(2)->isVisible());
    // No Gift heading, but its two empty lines between Knowledge and Karma.
    EXPECT_FALSE(chart().contains("Gift:"));
    const QString knowledge = tantric::tantricText(tantric::Table::Knowledge, 2);
    EXPECT_TRUE(chart().contains(knowledge + "\n\n\n\nKarma: 1\n")) << chart().toStdString();

    // Back keeps the inputs; a new name and year give the gift back.
    click(kResult, "cmdBack");
    EXPECT_TRUE(window(kInput)->isVisible());
    EXPECT_EQ(window(kResult), nullptr);
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(control<QLineEdit>(kInput, "txtName")->text(), "Ravi");
    readingFor("Mira", "1", "January", "1975");
    EXPECT_EQ(control<QLabel>(kResult, "lblCaption")->text(), "Orvanel Vorizov Avazodizaz Chart for Mira");
    EXPECT_TRUE(label(4)->isVisible());
    EXPECT_EQ(label(5)->text(), "3");
    EXPECT_TRUE(text(2)->isVisible());
    EXPECT_TRUE(chart().contains("Gift: 3\n"));
}

TEST_F(TantricTest, OpenTakesTheDateOfASavedReading)
{
    QFile file(test.dir.filePath("asha.num"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const char *line : {"ASHA", "", "RAO", "August", "15", "1975"})
        file.write(kestrava::shiftEncode(QString::fromLatin1(line)) + "\r\n");
    file.close();
    test.files.paths.push_back(file.fileName());
    click(kInput, "cmdOpen");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Your Name"});
    EXPECT_EQ(control<QComboBox>(kInput, "cboMonth")->currentText(), "August");
    control<QLineEdit>(kInput, "txtName")->setText("Asha");
    test.files.paths.push_back(file.fileName());
    click(kInput, "cmdOpen");
    ASSERT_NE(window(kResult), nullptr);
    EXPECT_EQ(label(9)->text(), "9");
}
