#include "numpro/readings/texttable.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/compatibilityfile.h"
#include "numpro/ui/compatibilitywindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"
#include "support/suitefixture.h"
#include "widgets/clientlink.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kNavigator = u"frmNumerologyProResult"_s;
const QString kDisplay = u"frmNumerologyProDisp"_s;
const QString kDocument = u"frmNumerologyProsave"_s;
const QString kCompatibility = u"frmCompatibility"_s;

QString viewText(ProgramWindow *window)
{
    return window->findChild<QTextEdit *>(u"RTB"_s)->toPlainText();
}

QStringList entries(QComboBox *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

} // namespace

TEST_F(SuiteTest, MarriageDateGroupReadsTheMarriageVibration)
{
    openNavigator("MARY", "ANN", "SMITH");
    auto *group = control<QGroupBox>(kNavigator, u"fraMarriageDate"_s);
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isVisible());
    EXPECT_FALSE(group->isChecked());
    auto *button = control<QPushButton>(kNavigator, u"cmdMarriageVibrationNumber"_s);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Marriage Vibration Number");
    EXPECT_FALSE(button->isEnabled());

    auto *month = control<QComboBox>(kNavigator, u"cboMarriageMonth"_s);
    auto *day = control<QComboBox>(kNavigator, u"cboMarriageDate"_s);
    auto *year = control<QComboBox>(kNavigator, u"cboMarriageYear"_s);
    // Today on the test clock, years 1900 to 2100.
    EXPECT_EQ(month->currentText(), "December");
    EXPECT_EQ(day->currentText(), "10");
    EXPECT_EQ(year->currentText(), "2026");
    EXPECT_EQ(year->count(), 201);
    EXPECT_EQ(year->itemText(0), "1900");
    EXPECT_EQ(year->itemText(200), "2100");
    // The day list offers the days the month has; a day it lacks becomes its last.
    day->setCurrentIndex(30);
    year->setCurrentIndex(year->findText("2000"));
    month->setCurrentIndex(1);
    EXPECT_EQ(day->count(), 29);
    EXPECT_EQ(day->currentText(), "29");
    month->setCurrentIndex(0);
    EXPECT_EQ(entries(day).size(), 31);
    EXPECT_EQ(day->currentText(), "29");

    group->setChecked(true);
    day->setCurrentIndex(day->findText("8"));
    click(kNavigator, u"cmdMarriageVibrationNumber"_s);
    const QString text = viewText(window(kDisplay));
    const numpro::ReadingTexts &texts = numpro::readingTexts(u"marriageVibration");
    EXPECT_TRUE(text.startsWith(u"Your Marriage Vibration Number is: 11"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(texts.table.text(11)));
    EXPECT_EQ(window(kDisplay)->windowTitle(), "Marriage Vibration Number");
    EXPECT_EQ(control<QLabel>(kNavigator, u"lblMarriageVibrationNumber"_s)->text(), "11");
}

TEST_F(SuiteTest, ComprehensiveReadingHoldsTheMarriageVibrationOnlyWithAMarriageDate)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdComprehensiveReading"_s);
    EXPECT_FALSE(viewText(window(kDocument)).contains("Marriage Vibration"));
    click(kDocument, u"cmdBack"_s);

    control<QGroupBox>(kNavigator, u"fraMarriageDate"_s)->setChecked(true); // today: 3 + 1 + 1
    click(kNavigator, u"cmdComprehensiveReading"_s);
    const QString text = viewText(window(kDocument));
    const qsizetype lifePath = text.indexOf("Your LifePath Number is: 22");
    const qsizetype marriage = text.indexOf("Your Marriage Vibration Number is: 5");
    const qsizetype destiny = text.indexOf("Your Destiny Number is: 11");
    EXPECT_GT(lifePath, 0);
    EXPECT_GT(marriage, lifePath);
    EXPECT_GT(destiny, marriage);
    EXPECT_EQ(text.count("Marriage Vibration Number is"), 1);
}

TEST_F(SuiteTest, CompatibilityWindowComparesSwapsSavesAndOpensAgain)
{
    openNavigator("MARY", "ANN", "SMITH");
    control<QGroupBox>(kNavigator, u"fraMarriageDate"_s)->setChecked(true);
    click(kNavigator, u"cmdCompatibility"_s);
    auto *window = qobject_cast<CompatibilityWindow *>(this->window(kCompatibility));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The first person is the navigator's, the marriage date comes along.
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtFirstName_0"_s)->text(), "MARY");
    EXPECT_EQ(control<QComboBox>(kCompatibility, u"cboYear_0"_s)->currentText(), "1979");
    EXPECT_TRUE(control<QGroupBox>(kCompatibility, u"fraMarriageDate"_s)->isChecked());

    // Without a second person the window asks for one, as the input window would.
    click(kCompatibility, u"cmdCompare"_s);
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_FALSE(window->shown().has_value());
    test.messages.shown.clear();

    QTest::keyClicks(control<QLineEdit>(kCompatibility, u"txtFirstName_1"_s), "john");
    QTest::keyClicks(control<QLineEdit>(kCompatibility, u"txtLastName_1"_s), "doe");
    for (const auto &[name, value] : {std::pair{"cboMonth_1", "November"}, {"cboDate_1", "29"}, {"cboYear_1", "1999"}}) {
        auto *list = control<QComboBox>(kCompatibility, QString::fromLatin1(name));
        list->setCurrentIndex(list->findText(QString::fromLatin1(value)));
    }
    click(kCompatibility, u"cmdCompare"_s);
    EXPECT_TRUE(test.messages.shown.isEmpty());
    auto *table = control<QTableWidget>(kCompatibility, u"tblNumbers"_s);
    const auto cell = [table](int row, int column) { return table->item(row, column)->text(); };
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "MARY ANN SMITH");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "JOHN DOE");
    const QStringList mary = {"22", "11", "11", "9", "6", "6"};
    const QStringList john = {"5", "8", "8", "9", "29", "4"};
    const QStringList ratings = {"challenging", "harmonious", "harmonious", "", "", ""};
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(cell(row, 0), mary[row]);
        EXPECT_EQ(cell(row, 1), john[row]);
        EXPECT_EQ(cell(row, 2), ratings[row]);
    }
    const QString document = viewText(window);
    EXPECT_TRUE(document.startsWith("The Compatibility of MARY ANN SMITH and JOHN DOE"));
    EXPECT_TRUE(document.contains(numpro::pairParagraph(22, 5)));
    EXPECT_TRUE(document.contains("Your Marriage Vibration Number is: 5"));
    EXPECT_TRUE(document.contains("Married on December 10, 2026")); // today

    // Swapped: the columns change places, nothing else does.
    click(kCompatibility, u"cmdSwap"_s);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "JOHN DOE");
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(cell(row, 0), john[row]);
        EXPECT_EQ(cell(row, 1), mary[row]);
        EXPECT_EQ(cell(row, 2), ratings[row]);
    }
    const QString swapped = viewText(window);
    EXPECT_TRUE(swapped.startsWith("The Compatibility of JOHN DOE and MARY ANN SMITH"));
    EXPECT_TRUE(swapped.contains("LifePath Numbers: 5 and 22, challenging"));
    EXPECT_TRUE(swapped.contains("Destiny Numbers: 8 and 11, harmonious"));
    // Apart from the lines that name people or numbers in order, the same text.
    const auto unordered = [](const QString &text) {
        static const QRegularExpression ordered(u"^(The Compatibility of |.*, born |.*: \\d+ and (\\d+|none))"_s);
        QStringList kept;
        for (const QString &line : text.split(u'\n')) {
            if (!ordered.match(line).hasMatch())
                kept << line;
        }
        return kept;
    };
    EXPECT_EQ(unordered(swapped), unordered(document));
    EXPECT_GT(unordered(document).join(u'\n').size(), 3000);

    // Saved as a knc file, then opened from the suite's file handling.
    const QString saved = test.dir.filePath(u"couple.knc"_s);
    test.files.paths.push_back(saved);
    click(kCompatibility, u"cmdSave"_s);
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_EQ(test.files.requests.last().defaultSuffix, "knc");
    // Offered under both names, as the columns now have them; the saved
    // reading has no date, the document the day it is made.
    EXPECT_EQ(test.files.requests.last().suggestedName, "John Doe and Mary Ann Smith.knc");
    click(kCompatibility, u"cmdExportPdf"_s);
    EXPECT_EQ(test.files.requests.last().suggestedName, "John Doe and Mary Ann Smith – 2026-12-10.pdf");
    const numpro::CompatibilitySubjects subjects = window->subjects();
    EXPECT_EQ(subjects.first.firstName, "JOHN");
    EXPECT_EQ(subjects.marriageDate, QDate(2026, 12, 10));

    main->openFile(saved);
    EXPECT_EQ(this->window(kNavigator), nullptr); // the launcher started afresh
    auto *reopened = qobject_cast<CompatibilityWindow *>(this->window(kCompatibility));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->isVisible());
    EXPECT_EQ(reopened->subjects(), subjects);
    EXPECT_EQ(viewText(reopened), swapped);
    EXPECT_TRUE(test.messages.shown.isEmpty());

    // A damaged file says why and leaves the window as it was.
    QFile damaged(test.dir.filePath(u"damaged.knc"_s));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"kestrava\": \"compatibility\", \"version\": 1, \"people\": [");
    damaged.close();
    test.files.paths.push_back(damaged.fileName());
    click(kCompatibility, u"cmdOpen"_s);
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.contains("damaged.knc cannot be opened as a compatibility reading"));
    EXPECT_EQ(reopened->subjects(), subjects);

    // A wedding still to come reads as one, in the window and on paper.
    auto *marriageYear = control<QComboBox>(kCompatibility, u"cboMarriageYear"_s);
    marriageYear->setCurrentIndex(marriageYear->findText("2027"));
    click(kCompatibility, u"cmdCompare"_s);
    EXPECT_TRUE(viewText(reopened).contains("Marrying on December 10, 2027"));
    EXPECT_FALSE(viewText(reopened).contains("Married on"));

    // The document prints and exports as the other documents do.
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pdf = test.dir.filePath(u"couple.pdf"_s);
    test.files.paths.push_back(pdf);
    click(kCompatibility, u"cmdExportPdf"_s);
    QProcess convert;
    convert.start(pdftotext, {pdf, u"-"_s});
    convert.waitForFinished(20000);
    const QString pdfText = QString::fromUtf8(convert.readAllStandardOutput());
    EXPECT_TRUE(pdfText.contains("The Compatibility of JOHN DOE"));
    EXPECT_TRUE(pdfText.contains("Marrying on December 10, 2027"));
}

TEST_F(SuiteTest, DamagedCompatibilityFileOpenedFromOutsideSaysWhy)
{
    QFile foreign(test.dir.filePath(u"old.knc"_s));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(numpro::encodeCompatibilityFile({{u"A"_s, {}, u"B"_s, u"May"_s, u"1"_s, u"1980"_s},
                                                   {u"C"_s, {}, u"D"_s, u"June"_s, u"2"_s, u"1981"_s},
                                                   {}})
                      .replace("\"version\": 1", "\"version\": 7"));
    foreign.close();
    main->openFile(foreign.fileName());
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.contains("newer Kestrava")) << test.messages.shown[0].text.toStdString();
    EXPECT_EQ(window(kCompatibility), nullptr);
    EXPECT_NE(window(u"frmNumerologyProMain"_s), nullptr);
}

namespace {

// The readings' inputs as each client's history has them, newest last.
QList<QJsonObject> historyInputs(clients::ClientBook &book, qint64 clientId)
{
    QList<QJsonObject> entries;
    for (const clients::ReadingEntry &entry : book.history(clientId))
        entries.append(QJsonDocument::fromJson(entry.inputs.toUtf8()).object());
    return entries;
}

QJsonObject personJson(const char *first, const char *middle, const char *last, const char *month, const char *day,
                       const char *year)
{
    return {{u"first"_s, first}, {u"middle"_s, middle}, {u"last"_s, last},
            {u"month"_s, month}, {u"day"_s, day},       {u"year"_s, year}};
}

QJsonObject compatibilityEntry(QJsonObject client, const QJsonObject &partner, const QString &married = {})
{
    client.insert(u"reading"_s, u"compatibility"_s);
    client.insert(u"partner"_s, partner);
    if (!married.isEmpty())
        client.insert(u"married"_s, married);
    return client;
}

} // namespace

class CompatibilityClientsTest : public ClientBookSuiteTest
{
protected:
    // Runs the picker as the user would: type, Enter.
    void pick(const char *search, const QString &button)
    {
        ModalScript script{[search](QWidget *dialog) {
            auto *field = dialog->findChild<QLineEdit *>(u"txtClientSearch"_s);
            ASSERT_NE(field, nullptr);
            QTest::keyClicks(field, QString::fromLatin1(search));
            QTest::keyClick(field, Qt::Key_Return);
        }};
        click(kCompatibility, button);
        EXPECT_TRUE(script.done());
    }
};

TEST_F(CompatibilityClientsTest, AClientChosenForTheSecondPersonReadsAsTypedCapitalsAndJoinsBothHistories)
{
    // The book keeps the names as written: John's in small letters.
    const clients::Client mary = addClient(u"MARY"_s, u"ANN"_s, u"SMITH"_s, QDate(1979, 8, 6));
    const clients::Client john = addClient(u"John"_s, {}, u"Doe"_s, QDate(1980, 3, 15));
    const clients::Client elder = addClient(u"Edith"_s, {}, u"Elder"_s, QDate(1899, 12, 31));
    // Mary is read from the client book; her navigator opens the window.
    main->readFor(kestrava::ProgramId::NumerologyPro, mary.person, mary.id);
    ASSERT_EQ(book().history(mary.id).size(), 1);
    click(kNavigator, u"cmdCompatibility"_s);
    auto *window = qobject_cast<CompatibilityWindow *>(this->window(kCompatibility));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtFirstName_0"_s)->text(), "MARY");
    EXPECT_EQ(window->clientOf(0), mary.id);

    auto *choose = window->findChild<QAction *>(u"mnuChooseClient_1"_s);
    ASSERT_NE(choose, nullptr);
    EXPECT_EQ(choose->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
    pick("doe", u"cmdChooseClient_1"_s);
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtFirstName_1"_s)->text(), "JOHN");
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtMiddleName_1"_s)->text(), "");
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtLastName_1"_s)->text(), "DOE");
    EXPECT_EQ(control<QComboBox>(kCompatibility, u"cboMonth_1"_s)->currentText(), "March");
    EXPECT_EQ(control<QComboBox>(kCompatibility, u"cboDate_1"_s)->currentText(), "15");
    EXPECT_EQ(control<QComboBox>(kCompatibility, u"cboYear_1"_s)->currentText(), "1980");
    EXPECT_EQ(window->clientOf(1), john.id);

    click(kCompatibility, u"cmdCompare"_s);
    EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join(u'|').toStdString();
    // The numbers of the typed capitals, which the names as the book writes
    // them would not give (lower-case letters count nothing).
    const QDate today = test.clock.now().date();
    const numpro::ReadingInputs maryTyped{u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s, today};
    const numpro::ReadingInputs johnTyped{u"JOHN"_s, {}, u"DOE"_s, u"March"_s, u"15"_s, u"1980"_s, today};
    const numpro::ReadingInputs johnAsWritten{u"John"_s, {}, u"Doe"_s, u"March"_s, u"15"_s, u"1980"_s, today};
    const numpro::Compatibility expected = numpro::computeCompatibility(maryTyped, johnTyped);
    ASSERT_NE(numpro::compatibilityNumbers(johnAsWritten), expected.secondNumbers);
    ASSERT_TRUE(window->shown().has_value());
    EXPECT_EQ(window->shown()->firstNumbers, expected.firstNumbers);
    EXPECT_EQ(window->shown()->secondNumbers, expected.secondNumbers);
    EXPECT_EQ(window->shown()->pairs, expected.pairs);
    auto *table = control<QTableWidget>(kCompatibility, u"tblNumbers"_s);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "JOHN DOE");
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const QJsonValue number = expected.secondNumbers.value(numpro::kCompatibilityNumberKeys[std::size_t(row)]);
        EXPECT_EQ(table->item(row, 1)->text(), QString::number(number.toInt()));
    }

    // Each client got the reading, with the other as the partner.
    const QJsonObject maryJson = personJson("MARY", "ANN", "SMITH", "August", "6", "1979");
    const QJsonObject johnJson = personJson("JOHN", "", "DOE", "March", "15", "1980");
    QList<QJsonObject> maryHistory = historyInputs(book(), mary.id);
    ASSERT_EQ(maryHistory.size(), 2);
    EXPECT_EQ(maryHistory[1], compatibilityEntry(maryJson, johnJson));
    EXPECT_EQ(historyInputs(book(), john.id), QList<QJsonObject>{compatibilityEntry(johnJson, maryJson)});
    EXPECT_EQ(book().history(john.id)[0].program, kestrava::ProgramId::NumerologyPro);
    EXPECT_EQ(book().history(john.id)[0].at, test.clock.now().toUTC());

    // The same pair again, the other way round or saved, is no new reading;
    // a marriage date makes one.
    click(kCompatibility, u"cmdCompare"_s);
    click(kCompatibility, u"cmdSwap"_s);
    EXPECT_EQ(window->clientOf(0), john.id);
    test.files.paths.push_back(test.dir.filePath(u"couple.knc"_s));
    click(kCompatibility, u"cmdSave"_s);
    EXPECT_EQ(book().history(mary.id).size(), 2);
    EXPECT_EQ(book().history(john.id).size(), 1);
    control<QGroupBox>(kCompatibility, u"fraMarriageDate"_s)->setChecked(true);
    test.files.paths.push_back(test.dir.filePath(u"married.knc"_s));
    click(kCompatibility, u"cmdSave"_s);
    EXPECT_EQ(historyInputs(book(), mary.id).last(), compatibilityEntry(maryJson, johnJson, u"2026-12-10"_s));
    EXPECT_EQ(historyInputs(book(), john.id).last(), compatibilityEntry(johnJson, maryJson, u"2026-12-10"_s));

    // Typed over, John (the first person since the swap) is no longer the client.
    QTest::keyClicks(control<QLineEdit>(kCompatibility, u"txtMiddleName_0"_s), "e");
    click(kCompatibility, u"cmdCompare"_s);
    EXPECT_EQ(window->clientOf(0), 0);
    EXPECT_EQ(book().history(john.id).size(), 2);
    EXPECT_EQ(historyInputs(book(), mary.id).last(),
              compatibilityEntry(maryJson, personJson("JOHN", "E", "DOE", "March", "15", "1980"), u"2026-12-10"_s));

    // A birth date the lists cannot show is said, and the fields stay.
    test.messages.shown.clear();
    pick("elder", u"cmdChooseClient_1"_s);
    ASSERT_EQ(test.messages.texts(), QStringList{ClientLink::dateNotListed(elder.person.birthDate)});
    EXPECT_EQ(control<QLineEdit>(kCompatibility, u"txtFirstName_1"_s)->text(), "MARY");
    EXPECT_EQ(window->clientOf(1), mary.id);
}
