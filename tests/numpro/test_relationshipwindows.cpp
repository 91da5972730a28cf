#include "numpro/readings/texttable.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/compatibilityfile.h"
#include "numpro/ui/compatibilitywindow.h"
#include "support/suitefixture.h"

#include <QFile>
#include <QGroupBox>
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
    EXPECT_TRUE(QString::fromUtf8(convert.readAllStandardOutput()).contains("The Compatibility of JOHN DOE"));
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
