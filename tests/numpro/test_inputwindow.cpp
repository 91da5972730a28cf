#include "support/suitefixture.h"

#include <QClipboard>

namespace {

const QString kInput = QStringLiteral("frmNumerologyProMain");

// The next widget the Tab key reaches.
QWidget *nextTabStop(QWidget *from)
{
    for (QWidget *w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            return w;
    }
    return nullptr;
}

} // namespace

TEST_F(SuiteTest, InputWindowHasItsFieldsInTabOrderWithDefaults)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    ProgramWindow *input = window(kInput);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->windowTitle(), "Orvanel Variduzeda Vad Software");

    const char *order[] = {"txtFirstName", "txtMiddleName", "txtLastName", "cboMonth",
                           "cboDate",      "cboYear",       "cmdNext",     "cmdExit"};
    for (size_t i = 1; i < std::size(order); ++i) {
        QWidget *from = input->findChild<QWidget *>(order[i - 1]);
        ASSERT_NE(from, nullptr) << order[i - 1];
        EXPECT_EQ(nextTabStop(from)->objectName(), QString::fromLatin1(order[i])) << order[i - 1];
    }
    auto *month = control<QComboBox>(kInput, "cboMonth");
    auto *day = control<QComboBox>(kInput, "cboDate");
    auto *year = control<QComboBox>(kInput, "cboYear");
    EXPECT_FALSE(month->isEditable());
    EXPECT_EQ(month->count(), 12);
    EXPECT_EQ(day->count(), 31);
    EXPECT_EQ(year->count(), 151);
    EXPECT_EQ(year->itemText(0), "1900");
    EXPECT_EQ(year->itemText(150), "2050");
    EXPECT_EQ(month->currentIndex(), 7);
    EXPECT_EQ(day->currentIndex(), 5);
    EXPECT_EQ(year->currentIndex(), 79);
}

TEST_F(SuiteTest, NextValidatesInOrderAndFocusesTheMissingField)
{
    main->launch(kestrava::ProgramId::NumerologyPro);

    struct Row
    {
        const char *first;
        const char *last;
        const char *message;
        const char *focus;
    };
    const Row rows[] = {
        {"", "", "Please Enter Your First Name", "txtFirstName"},
        {"MARY", "", "Please Enter Your Last Name", "txtLastName"},
        {"", "SMITH", "Please Enter Your First Name", "txtFirstName"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.message);
        test.messages.shown.clear();
        enterNames(row.first, "", row.last);
        click(kInput, "cmdNext");
        ASSERT_EQ(test.messages.shown.size(), 1);
        EXPECT_EQ(test.messages.shown[0].text, row.message);
        EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Information);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(row.focus));
        EXPECT_TRUE(window(kInput)->isVisible());
        EXPECT_EQ(window("frmNumerologyProResult"), nullptr);
    }
}

TEST_F(SuiteTest, NextAcceptsABlankLastNameAndStoresTheTrimmedSubject)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    enterNames("  MARY ", "", " ");
    click(kInput, "cmdNext");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_FALSE(window(kInput)->isVisible());
    ASSERT_NE(window("frmNumerologyProResult"), nullptr);
    EXPECT_TRUE(window("frmNumerologyProResult")->isVisible());
    EXPECT_FALSE(welcome()->isVisible());
}

TEST_F(SuiteTest, TypedLettersBecomeCapitalsButPastedTextIsKept)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    auto *first = control<QLineEdit>(kInput, "txtFirstName");
    QTest::keyClicks(first, "mary-ann 2.");
    EXPECT_EQ(first->text(), "MARY-ANN 2.");

    auto *last = control<QLineEdit>(kInput, "txtLastName");
    QApplication::clipboard()->setText("smith");
    last->paste();
    EXPECT_EQ(last->text(), "smith");
}

TEST_F(SuiteTest, NameFieldsHaveNoLengthLimit)
{
    main->launch(kestrava::ProgramId::NumerologyPro);
    auto *first = control<QLineEdit>(kInput, "txtFirstName");
    QApplication::clipboard()->setText(QString(40000, u'I'));
    first->paste();
    EXPECT_EQ(first->text().size(), 40000);
}
