#include "support/clientbookfixture.h"
#include "daily/dailynumber.h"
#include "numpro/ui/numproprogram.h"
#include "support/modalscript.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QStackedWidget>

#include <functional>

namespace {

using kestrava::ProgramId;

const kestrava::Person kMary{QStringLiteral("MARY"), QStringLiteral("ANN"), QStringLiteral("SMITH"),
                             QDate(1979, 8, 6), {}};

// Each program: its input window, the fields a person fills (name field ->
// expected text; the date lists show 6 August 1979, but daily's lists keep
// the user's own date), and the window and control that show the reading
// once it ran.
struct ProgramRow
{
    ProgramId program;
    const char *input;
    std::vector<std::pair<const char *, const char *>> fields;
    const char *resultWindow;
    const char *resultControl; // a control that shows only with the reading
};

const std::vector<ProgramRow> &programRows()
{
    static const std::vector<ProgramRow> rows = {
        {ProgramId::NumerologyPro, "frmNumerologyProMain",
         {{"txtFirstName", "MARY"}, {"txtMiddleName", "ANN"}, {"txtLastName", "SMITH"}},
         "frmNumerologyProResult", nullptr},
        {ProgramId::Tarot, "frmTarotNumerologyMain", {{"txtName", "MARY ANN SMITH"}}, "frmTarotNumerologyResult",
         nullptr},
        {ProgramId::Daily, "frmDailyNumerologyMain", {}, "frmDailyNumerologyMain", "fraRune"},
        {ProgramId::Astrology, "frmAstrologyNumerologyMain", {{"txtName", "MARY ANN SMITH"}},
         "frmAstrologyNumerologyMain", "Frame2"},
        {ProgramId::Runes, "frmRunesNumerologyMain", {{"txtName", "MARY ANN SMITH"}}, "frmRunesNumerologyMain",
         "Frame2"},
        {ProgramId::Tantric, "frmTantricNumerologyMain", {{"txtName", "MARY ANN SMITH"}},
         "frmTranticNumerologyDisplay", nullptr},
    };
    return rows;
}

} // namespace

class ReadForTest : public ClientBookSuiteTest
{
protected:
    void expectFilled(const ProgramRow &row)
    {
        if (row.program == ProgramId::Daily) {
            expectDailyReadsForMary();
            return;
        }
        for (const auto &[field, text] : row.fields) {
            auto *edit = control<QLineEdit>(row.input, field);
            ASSERT_NE(edit, nullptr) << field;
            EXPECT_EQ(edit->text(), QString::fromUtf8(text)) << field;
        }
        EXPECT_EQ(control<QComboBox>(row.input, "cboMonth")->currentText(), "August");
        EXPECT_EQ(control<QComboBox>(row.input, "cboDate")->currentText(), "6");
        if (row.program != ProgramId::Daily && row.program != ProgramId::Runes) {
            EXPECT_EQ(control<QComboBox>(row.input, "cboYear")->currentText(), "1979");
        }
    }
    // The daily window shows Mary's reading under her name; its lists are
    // the user's own settings (never set here: the first start's date).
    void expectDailyReadsForMary()
    {
        const QString daily = QStringLiteral("frmDailyNumerologyMain");
        auto *reading = control<QGroupBox>(daily, "fraRune");
        ASSERT_NE(reading, nullptr);
        EXPECT_EQ(control<QStackedWidget>(daily, {})->currentWidget(), reading);
        EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading for MARY ANN SMITH");
        EXPECT_EQ(control<QLabel>(daily, "lblNumeroNumberTwo")->text(),
                  QString::number(daily::dailyNumber(u"6", u"August", test.clock.now().date())));
        EXPECT_EQ(control<QComboBox>(daily, "cboMonth")->currentText(), "January");
        EXPECT_EQ(control<QComboBox>(daily, "cboDate")->currentText(), "1");
    }
    void expectReadingShows(const ProgramRow &row)
    {
        ProgramWindow *result = window(row.resultWindow);
        ASSERT_NE(result, nullptr);
        EXPECT_TRUE(result->isVisible());
        if (row.resultControl) {
            auto *shown = result->findChild<QWidget *>(row.resultControl);
            ASSERT_NE(shown, nullptr);
            EXPECT_TRUE(shown->isVisible());
        }
    }
};

TEST_F(ReadForTest, FillsTheInputWindowAndShowsTheReadingInEveryProgram)
{
    for (const ProgramRow &row : programRows()) {
        SCOPED_TRACE(row.input);
        // Another program is open: reading for someone opens this one as the launcher would.
        main->launch(row.program == ProgramId::Tarot ? ProgramId::Runes : ProgramId::Tarot);
        main->readFor(row.program, kMary);
        if (row.program != ProgramId::Runes)
            expectFilled(row);
        else
            EXPECT_EQ(control<QLineEdit>(row.input, "txtName")->text(), "MARY ANN SMITH");
        expectReadingShows(row);
        EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join('|').toStdString();
    }
    // The Variduzeda Vad readings read the person, not the window's defaults.
    main->readFor(ProgramId::NumerologyPro, kMary);
    const auto *numPro = main->findChild<NumProProgram *>("numPro");
    EXPECT_EQ(numPro->subject(), (numpro::ReadingSubject{"MARY", "ANN", "SMITH", "August", "6", "1979"}));
}

TEST_F(ReadForTest, TheChecksAndMessagesAreTheButtonsOwn)
{
    // No names: each window says what its own button says, and shows no reading.
    const kestrava::Person nameless{{}, {}, {}, QDate(1979, 8, 6), {}};
    main->readFor(ProgramId::NumerologyPro, nameless);
    main->readFor(ProgramId::Tarot, nameless);
    main->readFor(ProgramId::Tantric, nameless);
    EXPECT_EQ(test.messages.texts(),
              QStringList({"Please Enter Your First Name", "Please Enter Your Name", "Please Enter Your Name"}));
    EXPECT_EQ(window("frmTranticNumerologyDisplay"), nullptr);

    // A date the lists cannot show is refused rather than read with another year.
    test.messages.shown.clear();
    main->readFor(ProgramId::Astrology, {QStringLiteral("ADA"), {}, QStringLiteral("KING"), QDate(1815, 12, 10), {}});
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.contains("10 December 1815"));
    EXPECT_FALSE(window("frmAstrologyNumerologyMain")->findChild<QWidget *>("Frame2")->isVisible());
    EXPECT_EQ(control<QLineEdit>("frmAstrologyNumerologyMain", "txtName")->text(), "");

}

TEST_F(ReadForTest, ChooseClientFillsEveryInputWindow)
{
    addClient("LYNN", "", "WYNN", QDate(1990, 3, 4));
    addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    addClient("JOHN", "", "SMITHERS", QDate(1961, 1, 1));
    for (const ProgramRow &row : programRows()) {
        SCOPED_TRACE(row.input);
        main->launch(row.program);
        if (row.program == ProgramId::Daily)
            control<QStackedWidget>(row.input, {})->setCurrentIndex(1);
        ProgramWindow *input = window(row.input);
        ASSERT_NE(input, nullptr);
        auto *choose = input->findChild<QAction *>("mnuChooseClient");
        ASSERT_NE(choose, nullptr);
        EXPECT_EQ(choose->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
        // Typing narrows the list as the user types; Enter picks the first.
        ModalScript script{[](QWidget *dialog) {
            auto *search = dialog->findChild<QLineEdit *>("txtClientSearch");
            ASSERT_NE(search, nullptr);
            QTest::keyClicks(search, "smith mary");
            QTest::keyClick(search, Qt::Key_Return);
        }};
        choose->trigger();
        EXPECT_TRUE(script.done());
        if (row.program != ProgramId::Runes)
            expectFilled(row);
        else
            EXPECT_EQ(control<QLineEdit>(row.input, "txtName")->text(), "MARY ANN SMITH");
    }
    EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join('|').toStdString();
}

TEST_F(ReadForTest, AReadingAfterChooseClientGoesIntoTheHistoryUnlessTheFieldsChanged)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    main->launch(ProgramId::Tarot);
    const QString input = "frmTarotNumerologyMain";
    auto pickMary = [&] {
        ModalScript script{[](QWidget *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>("txtClientSearch"), "mary");
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtClientSearch"), Qt::Key_Return);
        }};
        window(input)->findChild<QAction *>("mnuChooseClient")->trigger();
        EXPECT_TRUE(script.done());
    };
    pickMary();
    click(input, "cmdProceed");
    QList<clients::ReadingEntry> history = book().history(mary.id);
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history[0].program, ProgramId::Tarot);
    EXPECT_EQ(history[0].at, test.clock.now().toUTC());
    EXPECT_EQ(history[0].inputs,
              R"({"day":"6","month":"August","name":"MARY ANN SMITH","year":"1979"})");

    // Someone else typed over the client's name: not the client's reading.
    window("frmTarotNumerologyResult")->findChild<QPushButton *>("cmdBack")->click();
    pickMary();
    control<QLineEdit>(input, "txtName")->setText("MARY SMITH");
    click(input, "cmdProceed");
    EXPECT_EQ(book().history(mary.id).size(), 1);
}

TEST_F(ReadForTest, AddToClientBookChecksTheFieldsAndKnowsWhoIsThere)
{
    main->launch(ProgramId::NumerologyPro);
    const QString input = "frmNumerologyProMain";
    QAction *add = window(input)->findChild<QAction *>("mnuAddToClientBook");
    ASSERT_NE(add, nullptr);
    add->trigger();
    EXPECT_EQ(test.messages.texts(), QStringList{"Please Enter Your First Name"});
    EXPECT_EQ(book().count(), 0);

    enterNames("MARY", "ANN", "SMITH");
    add->trigger();
    add->trigger();
    ASSERT_EQ(book().count(), 1);
    EXPECT_EQ(book().all()[0].person, kMary);
    ASSERT_EQ(test.messages.shown.size(), 3);
    EXPECT_EQ(test.messages.shown[1].text, "MARY ANN SMITH, born 6 August 1979, was added to the client book.");
    EXPECT_EQ(test.messages.shown[2].text, "MARY ANN SMITH, born 6 August 1979, is already in the client book.");

    // The one-name windows split the name as the import does.
    main->launch(ProgramId::Tantric);
    control<QLineEdit>("frmTantricNumerologyMain", "txtName")->setText("LYNN WYNN");
    window("frmTantricNumerologyMain")->findChild<QAction *>("mnuAddToClientBook")->trigger();
    ASSERT_TRUE(book().samePerson({"LYNN", {}, "WYNN", QDate(1900, 1, 1), {}}).has_value());
    // A window holding no whole person offers no adding.
    main->launch(ProgramId::Runes);
    EXPECT_EQ(window("frmRunesNumerologyMain")->findChild<QAction *>("mnuAddToClientBook"), nullptr);
}

// The daily window's birth date is the user's reminder: a client's reading,
// through whichever door, shows under the client's name and leaves the
// user's date, the settings page and the settings file as they were, also
// when the user then shows the reading with the button.
TEST_F(ReadForTest, ADailyReadingForAClientLeavesTheUsersOwnSettingsAsTheyWere)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    const QString daily = "frmDailyNumerologyMain";
    const QDate today = test.clock.now().date();
    const QString own = QString::number(daily::dailyNumber(u"21", u"March", today));
    const QString marys = QString::number(daily::dailyNumber(u"6", u"August", today));
    ASSERT_NE(own, marys);
    const QString settingsPath = QSettings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                                           QCoreApplication::applicationName())
                                     .fileName();
    auto settingsFile = [&] {
        QFile file(settingsPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    auto pick = [&](const char *name, const QString &value) {
        auto *list = control<QComboBox>(daily, name);
        list->setCurrentIndex(list->findText(value));
    };
    auto text = [&](const char *label) { return control<QLabel>(daily, label)->text(); };

    const struct
    {
        const char *how;
        bool closed;     // the window closed before the reading
        int page;        // the page in front of the window brought back, or -1: left where Show put it
        bool chooseClient; // Clients > Choose Client..., else the client book's Read with
    } doors[] = {
        {"Read with, the window waiting", false, -1, false},
        {"Read with, the window closed", true, -1, false},
        {"Choose Client on the reading page", false, 0, true},
        {"Choose Client on the settings page", false, 1, true},
    };
    int readings = 0;
    for (const auto &door : doors) {
        SCOPED_TRACE(door.how);
        // The user's own: 21 March 1980, reminded at 7:30, applied.
        main->launch(ProgramId::Daily);
        control<QStackedWidget>(daily, {})->setCurrentIndex(1);
        pick("cboDate", "21");
        pick("cboMonth", "March");
        pick("cboYear", "1980");
        pick("cboMinute", "30");
        click(daily, "cmdCalculateMoonPhase");
        if (door.closed) {
            // Another program from the launcher closes the daily window.
            main->launch(ProgramId::Tarot);
            ASSERT_EQ(window(daily), nullptr);
        } else if (door.page >= 0) {
            window(daily)->showNormal();
            control<QStackedWidget>(daily, {})->setCurrentIndex(door.page);
        }
        const QByteArray before = settingsFile();
        ASSERT_TRUE(before.contains("BirthDateDailyNumerology=21")) << before.toStdString();

        if (door.chooseClient) {
            ModalScript script{[](QWidget *dialog) {
                QTest::keyClicks(dialog->findChild<QLineEdit *>("txtClientSearch"), "mary");
                QTest::keyClick(dialog->findChild<QLineEdit *>("txtClientSearch"), Qt::Key_Return);
            }};
            window(daily)->findChild<QAction *>("mnuChooseClient")->trigger();
            EXPECT_TRUE(script.done());
        } else {
            main->readFor(ProgramId::Daily, mary.person, mary.id);
        }

        ASSERT_NE(window(daily), nullptr);
        EXPECT_TRUE(window(daily)->isVisible());
        EXPECT_FALSE(window(daily)->isMinimized());
        auto *reading = control<QGroupBox>(daily, "fraRune");
        EXPECT_EQ(control<QStackedWidget>(daily, {})->currentWidget(), reading);
        EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading for MARY ANN SMITH");
        EXPECT_EQ(text("lblNumeroNumberTwo"), marys);
        EXPECT_EQ(text("lblNumber"), daily::dailyWord(marys.toInt()));
        EXPECT_TRUE(control<QPushButton>(daily, "cmdOwnReading")->isVisible());
        // The settings page is the user's own.
        EXPECT_EQ(control<QComboBox>(daily, "cboDate")->currentText(), "21");
        EXPECT_EQ(control<QComboBox>(daily, "cboMonth")->currentText(), "March");
        EXPECT_EQ(control<QComboBox>(daily, "cboYear")->currentText(), "1980");
        EXPECT_EQ(text("lblNumeroNumberOne"), own);
        EXPECT_EQ(settingsFile(), before);
        EXPECT_EQ(book().history(mary.id).size(), ++readings);

        // Back to the settings and Show: the user's own date, stored as it was.
        click(daily, "cmdSettings");
        EXPECT_EQ(reading->title(), "Vavov Uvarevuvir Reading");
        EXPECT_EQ(text("lblNumeroNumberTwo"), own);
        click(daily, "cmdCalculateMoonPhase");
        EXPECT_EQ(settingsFile(), before);
        EXPECT_EQ(platform::readSetting("BirthDateDailyNumerology"), "21");
        EXPECT_EQ(platform::readSetting("BirthMonthDailyNumerology"), "March");
        EXPECT_EQ(text("lblNumeroNumberTwo"), own);
        // The user's reading is not Mary's.
        EXPECT_EQ(book().history(mary.id).size(), readings);
        EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join('|').toStdString();
        main->launch(ProgramId::Tarot);
    }
    ASSERT_EQ(book().history(mary.id).size(), 4);
    EXPECT_EQ(book().history(mary.id)[0].inputs, R"({"day":"6","month":"August","today":"2026-12-10"})");
}
