#include "common/charactershift.h"
#include "support/suitefixture.h"
#include "tarot/ui/tarotresult.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {

const QString kInput = QStringLiteral("frmTarotNumerologyMain");
const QString kResult = QStringLiteral("frmTarotNumerologyResult");

} // namespace

class TarotTest : public SuiteTest
{
protected:
    // Launches the program, types the name and proceeds (the date stays 1 January 1970).
    void proceedWith(const QString &name)
    {
        if (!window(kInput))
            main->launch(kestrava::ProgramId::Tarot);
        control<QLineEdit>(kInput, "txtName")->setText(name);
        click(kInput, "cmdProceed");
    }
    QString text(const char *name) const { return control<QLabel>(kResult, name)->text(); }
    TarotResult *result() const { return qobject_cast<TarotResult *>(window(kResult)); }
};

TEST_F(TarotTest, InputWindowDefaultsAndTheEmptyName)
{
    main->launch(kestrava::ProgramId::Tarot);
    ProgramWindow *input = window(kInput);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->windowTitle(), "Orvanel Virer Ovuvudavov");
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(control<QComboBox>(kInput, "cboDate")->currentText(), "1");
    EXPECT_EQ(control<QComboBox>(kInput, "cboMonth")->currentText(), "January");
    EXPECT_EQ(control<QComboBox>(kInput, "cboYear")->currentText(), "1970");
    EXPECT_FALSE(control<QRadioButton>(kInput, "optSex_0")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(kInput, "optSex_1")->isChecked());

    // Both forum invitations open the home page.
    UrlCatcher catcher;
    for (const char *label : {"Label14", "Label3"})
        QTest::mouseClick(control<QLabel>(kInput, label), Qt::LeftButton);
    const QString home = QStringLiteral("https://www.kestrava.example/kestrava/ssd.php?page=home-page");
    EXPECT_EQ(catcher.opened, (QStringList{home, home}));

    click(kInput, "cmdProceed");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text, "Please Enter Your Name");
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
    EXPECT_EQ(window(kResult), nullptr);

    // Blanks pass the check and give destiny 0.
    proceedWith("   ");
    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(text("lblResult_6"), "No");
}

TEST_F(TarotTest, TheCardBrowserWalksANumbersCards)
{
    proceedWith("John Smith"); // life path 1, destiny 8
    ASSERT_NE(result(), nullptr);
    EXPECT_FALSE(window(kInput)->isVisible());
    EXPECT_EQ(text("lblResult_0"), "1");
    EXPECT_EQ(text("lblResult_1"), "Sun");
    EXPECT_EQ(text("lblResult_6"), "8");
    EXPECT_EQ(text("lblDestinyCardName"), "Strength - Major Arcana");
    EXPECT_TRUE(control<QPlainTextEdit>(kResult, "txtLifePathDesc")->toPlainText().startsWith(
        "Your main purpose should be attaining independency."));

    const char *walk[] = {"The Sun - Major Arcana", "Wheel of Fortune - Major Arcana", "The Aces - Minor Arcana"};
    for (const char *name : walk) {
        click(kResult, "cmdLifePathNext");
        EXPECT_EQ(text("lblLifePathCardName"), name);
    }
    EXPECT_TRUE(test.messages.shown.isEmpty());
    click(kResult, "cmdLifePathNext");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text, "You Have Reached The Last Record");
    EXPECT_EQ(text("lblLifePathCardName"), "The Aces - Minor Arcana");
    click(kResult, "cmdLifePathBack");
    EXPECT_EQ(text("lblLifePathCardName"), "Wheel of Fortune - Major Arcana");
    EXPECT_EQ(text("lblLifePathKeywords"), "Vision, Luck, Change, Karma, Destiny, Opportunity, Choices.");
    // The other page keeps its own number's card.
    EXPECT_EQ(text("lblDestinyCardName"), "Strength - Major Arcana");

    // A fresh reading starts both pages at their first card again.
    click(kResult, "cmdBack");
    EXPECT_EQ(window(kResult), nullptr);
    ASSERT_TRUE(window(kInput)->isVisible());
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(control<QLineEdit>(kInput, "txtName")->text(), "John Smith");
    test.messages.shown.clear();
    click(kInput, "cmdProceed");
    EXPECT_EQ(text("lblLifePathCardName"), "The Magician - Major Arcana");
    click(kResult, "cmdLifePathBack");
    click(kResult, "cmdDestinyBack");
    EXPECT_EQ(test.messages.texts(),
              (QStringList{"You Have Reached The First Record", "You Have Reached The First Record"}));
}

TEST_F(TarotTest, ADestinyWithoutLettersKeepsTheFirstCaptionsAndTwoKeepsItsBlank)
{
    proceedWith("123");
    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(text("lblResult_6"), "No");
    EXPECT_EQ(text("lblResult_7"), "Planet");
    EXPECT_EQ(text("lblResult_8"), "Life Path Number");
    EXPECT_EQ(text("lblDestinyCardName"), "Label1");
    EXPECT_EQ(text("lblDestinyCardDesc"), "Card Desc");
    EXPECT_EQ(text("lblDestinyKeywords"), "Card Keywords");
    EXPECT_FALSE(control<QLabel>(kResult, "imgDestinyCards")->pixmap().isNull());

    click(kResult, "cmdBack");
    proceedWith("B"); // destiny 2
    EXPECT_EQ(text("lblResult_9"), "2nd, 11th, 20th, 29th ");
    click(kResult, "cmdDestinyNext");
    click(kResult, "cmdDestinyNext");
    EXPECT_EQ(text("lblDestinyCardName"), "The Knights - Minor Arcana");
    // The life path page (1 January 1970 gives 1) shows its own number's days.
    EXPECT_EQ(text("lblResult_3"), "1st, 10th, 19th, 28th");
}

TEST_F(TarotTest, ResultPagesTabsAndTheSpreadGrid)
{
    proceedWith("Mary Ann");
    auto *tabs = control<QTabBar>(kResult, "TS");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Tarot && Life Path Number");
    EXPECT_TRUE(control<QWidget>(kResult, "picLifePath")->isVisible());
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(control<QWidget>(kResult, "picNumerologySpread")->isVisible());
    const char *numbers[] = {"3", "6", "9", "2", "5", "8", "1", "4", "7"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(control<QLabel>(kResult, QStringLiteral("lblNo_%1").arg(i))->text(), numbers[i]);
        EXPECT_EQ(control<QLabel>(kResult, QStringLiteral("lblCardPosition_%1").arg(i))->text(), QString::number(i + 1));
    }
    EXPECT_NE(control<QTextEdit>(kResult, "RTB"), nullptr);

    // Closing the result window with its close box brings the welcome panel back.
    window(kResult)->close();
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(TarotTest, OpeningASavedReading)
{
    auto write = [&](const QString &name, const QStringList &lines) {
        QFile file(test.dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        for (const QString &line : lines)
            file.write(kestrava::shiftEncode(line) + "\r\n");
        return file.fileName();
    };
    main->launch(kestrava::ProgramId::Tarot);

    test.files.paths.push_back(write("reading.TNM", {"John Smith", "15", "March", "1980"}));
    click(kInput, "cmdOpen");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Check The File."});
    EXPECT_EQ(test.files.requests.last().filter, "Pellacor (*.tnm)");

    test.messages.shown.clear();
    test.files.paths.push_back(write("other.tnm", {"just", "some", "other", "text"}));
    click(kInput, "cmdOpen");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.endsWith("is not a saved Virer Ovuvudavov reading."));
    EXPECT_EQ(window(kResult), nullptr);

    test.messages.shown.clear();
    test.files.paths.push_back(write("john.tnm", {"John Smith", "15", "March", "1980"}));
    click(kInput, "cmdOpen");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(text("lblResult_0"), "9"); // 15 March 1980
    EXPECT_EQ(text("lblResult_6"), "8");
}
