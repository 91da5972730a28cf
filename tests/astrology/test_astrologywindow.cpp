#include "common/charactershift.h"
#include "support/suitefixture.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>

namespace {

const QString kWindow = QStringLiteral("frmAstrologyNumerologyMain");

} // namespace

class AstrologyTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        SuiteTest::SetUp();
        main->launch(kestrava::ProgramId::Astrology);
    }
    QComboBox *list(const char *name) const { return control<QComboBox>(kWindow, name); }
    QString value(int i) const { return control<QLabel>(kWindow, QStringLiteral("lblResult_%1").arg(i))->text(); }
    bool resultInFront() const
    {
        return control<QStackedWidget>(kWindow, {})->currentWidget()->objectName() == "Frame2";
    }
    QString writeNum(const char *file, const QStringList &lines)
    {
        QFile out(test.dir.filePath(QString::fromLatin1(file)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        for (const QString &line : lines)
            out.write(kestrava::shiftEncode(line) + "\r\n");
        return out.fileName();
    }
};

TEST_F(AstrologyTest, FindShowsTheFadicReadingAndBackEmptiesTheInput)
{
    ASSERT_NE(window(kWindow), nullptr);
    EXPECT_EQ(window(kWindow)->windowTitle(), "Orvanel Ruzazeder Uvuvevizoz");
    EXPECT_FALSE(welcome()->isVisible());
    EXPECT_EQ(list("cboMonth")->currentText(), "January");
    EXPECT_EQ(list("cboDate")->currentText(), "1");
    EXPECT_EQ(list("cboYear")->currentText(), "1900");

    // Typed letters come out in capitals.
    auto *name = control<QLineEdit>(kWindow, "txtName");
    QTest::keyClicks(name, "ann-b 7");
    EXPECT_EQ(name->text(), "ANN-B 7");

    list("cboMonth")->setCurrentText("May");
    list("cboDate")->setCurrentText("15");
    list("cboYear")->setCurrentText("1986");
    click(kWindow, "cmdNext");
    ASSERT_TRUE(resultInFront());
    EXPECT_EQ(value(0), "35");
    EXPECT_EQ(value(1), "8");
    EXPECT_EQ(value(2), "Saturn");
    EXPECT_EQ(value(3), "Capricorn");
    EXPECT_TRUE(control<QPlainTextEdit>(kWindow, "txtResult_0")->toPlainText().startsWith("Saturn"));

    click(kWindow, "cmdBack");
    EXPECT_FALSE(resultInFront());
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(list("cboMonth")->currentText(), "January");
    EXPECT_EQ(list("cboDate")->currentText(), "1");
    EXPECT_EQ(list("cboYear")->currentText(), "1900");
    EXPECT_EQ(value(0), "35"); // kept until the next reading

    // Blanks are a name; an empty name is not, and the results stay.
    name->setText("   ");
    click(kWindow, "cmdNext");
    EXPECT_EQ(value(0), "12");
    click(kWindow, "cmdBack");
    click(kWindow, "cmdNext");
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Your Name"});
    EXPECT_FALSE(resultInFront());
    EXPECT_EQ(value(0), "12");

    // Closing the window brings the welcome panel back.
    window(kWindow)->close();
    EXPECT_TRUE(welcome()->isVisible());
}

TEST_F(AstrologyTest, OpenTakesTheDateFromASavedReading)
{
    const QString saved = writeNum("mary.num", {"MARY", "", "SMITH", "May", "15", "1986"});
    test.files.paths.push_back(saved);
    click(kWindow, "cmdOpen");
    // The lists are set before the name is found missing.
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Your Name"});
    EXPECT_EQ(list("cboMonth")->currentText(), "May");
    EXPECT_EQ(list("cboDate")->currentText(), "15");
    EXPECT_EQ(list("cboYear")->currentText(), "1986");
    EXPECT_FALSE(resultInFront());
    EXPECT_EQ(test.files.requests.last().filter, "Tovrani (*.num)");
    EXPECT_EQ(test.files.requests.last().title, "Select the source file");

    test.messages.shown.clear();
    control<QLineEdit>(kWindow, "txtName")->setText("MARY");
    test.files.paths.push_back(saved);
    click(kWindow, "cmdOpen");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_TRUE(resultInFront());
    EXPECT_EQ(value(0), "35");

    // A name not ending in "num", and a file that holds no date of the lists.
    click(kWindow, "cmdBack");
    control<QLineEdit>(kWindow, "txtName")->setText("MARY");
    test.files.paths.push_back(writeNum("mary.NUM", {"MARY", "", "SMITH", "May", "15", "1986"}));
    click(kWindow, "cmdOpen");
    test.files.paths.push_back(writeNum("notes.num", {"just", "some", "notes"}));
    click(kWindow, "cmdOpen");
    ASSERT_EQ(test.messages.shown.size(), 2);
    EXPECT_EQ(test.messages.shown[0].text, "Please Check The File.");
    EXPECT_TRUE(test.messages.shown[1].text.endsWith("notes.num is not a saved Variduzeda Vad reading."))
        << test.messages.shown[1].text.toStdString();
    EXPECT_FALSE(resultInFront());
}
