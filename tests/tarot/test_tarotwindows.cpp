#include "common/charactershift.h"
#include "common/numerology.h"
#include "common/shiftedlines.h"
#include "support/modalscript.h"
#include "support/suitefixture.h"
#include "tarot/deck.h"
#include "tarot/ui/cardpicture.h"
#include "tarot/ui/tarotresult.h"
#include "tarot/ui/tarotsave.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>

namespace {

const QString kInput = QStringLiteral("frmTarotNumerologyMain");
const QString kResult = QStringLiteral("frmTarotNumerologyResult");
const QString kDocument = QStringLiteral("frmTarotNumerologySave");

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

    // The card names of the spread grid, top left first (each picture's tooltip).
    QStringList gridCards() const
    {
        QStringList names;
        for (int i = 0; i < 9; ++i) {
            auto *picture = control<QLabel>(kResult, QStringLiteral("picNumerologyGrid_%1").arg(i));
            EXPECT_FALSE(picture->pixmap().isNull()) << i;
            names << picture->toolTip();
        }
        return names;
    }
    QString printed()
    {
        QProcess convert;
        convert.start(QStringLiteral("pdftotext"), {test.dir.filePath(QStringLiteral("printed.pdf")), "-"});
        EXPECT_TRUE(convert.waitForFinished(20000));
        return QString::fromUtf8(convert.readAllStandardOutput());
    }
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
    EXPECT_EQ(text("lblResult_6"), "0");
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

TEST_F(TarotTest, ADestinyWithoutLettersShowsZeroAndNoCardsOnThePageAndInTheDocument)
{
    const QString noCards = "The name holds no letters to read, so no cards belong to it.";
    // Letters outside A to Z count for nothing, whatever the script.
    for (const char *name : {"123", "   ", "Иван Петров", "Ελένη Παππά", "محمد علي", "王伟"}) {
        SCOPED_TRACE(name);
        proceedWith(QString::fromUtf8(name));
        ASSERT_NE(result(), nullptr);
        EXPECT_EQ(text("lblResult_6"), "0");
        for (int i = 7; i <= 11; ++i)
            EXPECT_EQ(control<QLabel>(kResult, QStringLiteral("lblResult_%1").arg(i))->text(), "") << i;
        // No number to read; what the name holds that counts nothing is named.
        EXPECT_EQ(control<QPlainTextEdit>(kResult, "txtDestinyDesc")->toPlainText(),
                  kestrava::unvaluedLettersSentence(kestrava::unvaluedLetters(QString::fromUtf8(name))));
        EXPECT_EQ(control<QPlainTextEdit>(kResult, "txtDestinyPlanetDesc")->toPlainText(), "");
        EXPECT_TRUE(control<QLabel>(kResult, "imgDestinyCards")->pixmap().isNull());
        EXPECT_EQ(text("lblDestinyCardName"), "");
        EXPECT_EQ(text("lblDestinyCardDesc"), noCards);
        EXPECT_EQ(text("lblDestinyKeywords"), "");
        // The life path page (1 January 1970 gives 1) is filled as ever.
        EXPECT_EQ(text("lblLifePathCardName"), "The Magician - Major Arcana");

        // Nothing to browse: Next stays silent, Back is at the first record.
        test.messages.shown.clear();
        click(kResult, "cmdDestinyNext");
        click(kResult, "cmdDestinyBack");
        EXPECT_EQ(test.messages.texts(), QStringList{"You Have Reached The First Record"});
        EXPECT_EQ(text("lblDestinyCardDesc"), noCards);

        click(kResult, "cmdSave");
        auto *document = qobject_cast<TarotSave *>(window(kDocument));
        ASSERT_NE(document, nullptr);
        const QString doc = document->view()->toPlainText();
        const qsizetype destiny = doc.indexOf("Tarot & Destiny Number\n");
        const qsizetype spread = doc.indexOf("Numerology Spread\n");
        ASSERT_TRUE(destiny > 0 && spread > destiny);
        const QString section = doc.mid(destiny, spread - destiny);
        EXPECT_TRUE(section.contains("Destiny Number: 0\n")) << section.toStdString();
        EXPECT_TRUE(section.contains("Associated Planet: \n")) << section.toStdString();
        EXPECT_TRUE(section.contains("Cards Use: \n" + noCards + "\n")) << section.toStdString();
        EXPECT_FALSE(section.contains("Card Name: "));
        document->close();
        click(kResult, "cmdBack");
    }

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

    // File: Back, a separator, Exit.
    auto *file = window(kResult)->findChild<QMenu *>("mnuFile");
    ASSERT_NE(file, nullptr);
    const QList<QAction *> items = file->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), "mnuBack");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->objectName(), "mnuExit");

    // Every card of the deck has its picture, drawn crisp at twice the size too.
    for (int c = 0; c < tarot::kDeckSize; ++c) {
        const QPixmap picture = tarot::cardPicture(tarot::deckCard(c)->picture, {68, 120}, 2.0);
        EXPECT_EQ(picture.size(), QSize(136, 240)) << tarot::deckCard(c)->name.toStdString();
    }

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

TEST_F(TarotTest, EveryReadingDealsANewSpreadIntoTheGridAndItsText)
{
    proceedWith("Mary Ann");
    const QStringList first = gridCards();
    EXPECT_EQ(QSet<QString>(first.begin(), first.end()).size(), 9);
    const QString reading = control<QTextEdit>(kResult, "RTB")->toPlainText();
    // The block of each position names the card of that grid picture.
    qsizetype from = 0;
    for (int p = 1; p <= 9; ++p) {
        const QString block = QStringLiteral("Position %1: \n").arg(p);
        from = reading.indexOf(block, from);
        ASSERT_GE(from, 0) << p;
        EXPECT_TRUE(reading.mid(from).section(u'\n', 3, 3) == first[p - 1]) << reading.mid(from, 200).toStdString();
    }
    EXPECT_TRUE(reading.startsWith("https://www.kestrava.example/forum the most popular online discussion forum."));
    EXPECT_TRUE(reading.endsWith(". The best online discussion forum for every esoteric."));

    // Back and the same inputs again: the same numbers, another deal.
    const QString number = text("lblResult_6");
    click(kResult, "cmdBack");
    click(kInput, "cmdProceed");
    EXPECT_EQ(text("lblResult_6"), number);
    EXPECT_NE(gridCards(), first);
}

TEST_F(TarotTest, TheDocumentSavesATnmFileThatOpensAgain)
{
    main->launch(kestrava::ProgramId::Tarot);
    control<QLineEdit>(kInput, "txtName")->setText("John Smith");
    control<QComboBox>(kInput, "cboDate")->setCurrentText("7");
    control<QComboBox>(kInput, "cboMonth")->setCurrentText("March");
    control<QComboBox>(kInput, "cboYear")->setCurrentText("1980");
    click(kInput, "cmdProceed");
    const QStringList spread = gridCards();

    click(kResult, "cmdSave");
    auto *document = qobject_cast<TarotSave *>(window(kDocument));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->windowTitle(), "Orvanel Virer Ovuvudavov");
    EXPECT_FALSE(result()->isEnabled()); // nothing on the result window answers while it is open
    const QString doc = document->view()->toPlainText();
    EXPECT_TRUE(doc.startsWith("Name: John Smith\n\nDate of Birth: 7 March 1980\n\nTarot & Life Path Number\n"));
    EXPECT_TRUE(doc.contains("Life Path Number: " + text("lblResult_0") + "\n"));
    EXPECT_TRUE(doc.contains("Destiny Number: 8\n"));
    // The spread section lists the grid's cards in the grid's order.
    qsizetype from = doc.indexOf("Numerology Spread\n");
    ASSERT_GT(from, 0);
    for (const QString &card : spread) {
        from = doc.indexOf("Card Name: \n" + card + "\n", from);
        EXPECT_GT(from, 0) << card.toStdString();
    }
    EXPECT_FALSE(doc.contains("Thank You for using"));

    // Save: the dialog's request, then the four shifted lines.
    test.files.paths.push_back(test.dir.filePath("john.tnm"));
    click(kDocument, "cmdSave");
    ASSERT_FALSE(test.files.requests.isEmpty());
    EXPECT_EQ(test.files.requests.last().title, "Pellacor");
    EXPECT_EQ(test.files.requests.last().filter, "Pellacor (*.tnm)");
    EXPECT_EQ(test.files.requests.last().defaultSuffix, "tnm");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    QFile file(test.dir.filePath("john.tnm"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 4);
    EXPECT_EQ(kestrava::decodeShiftedLines(bytes, 4), (QStringList{"John Smith", "7", "March", "1980"}));

    // A save that cannot be written says so.
    test.files.paths.push_back(test.dir.filePath("missing/folder/john.tnm"));
    click(kDocument, "cmdSave");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.startsWith("The reading could not be saved to"));

    // Closing the document gives the result window back.
    document->close();
    ASSERT_NE(result(), nullptr);
    EXPECT_TRUE(result()->isEnabled());
    EXPECT_TRUE(result()->isVisible());

    // Open restores the inputs, and a new spread is dealt.
    click(kResult, "cmdBack");
    control<QLineEdit>(kInput, "txtName")->setText("Someone Else");
    control<QComboBox>(kInput, "cboMonth")->setCurrentText("May");
    test.files.paths.push_back(file.fileName());
    click(kInput, "cmdOpen");
    EXPECT_EQ(control<QLineEdit>(kInput, "txtName")->text(), "John Smith");
    EXPECT_EQ(control<QComboBox>(kInput, "cboDate")->currentText(), "7");
    EXPECT_EQ(control<QComboBox>(kInput, "cboMonth")->currentText(), "March");
    EXPECT_EQ(control<QComboBox>(kInput, "cboYear")->currentText(), "1980");
    ASSERT_NE(result(), nullptr);
    EXPECT_NE(gridCards(), spread);
}

TEST_F(TarotTest, PrintingTwicePrintsTheSameReport)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    proceedWith("Emma Hall");
    const QString lastCardName = gridCards().last();
    click(kResult, "cmdSave");
    ASSERT_NE(window(kDocument), nullptr);
    click(kDocument, "cmdPrint");
    const QString first = printed();
    click(kDocument, "cmdPrint");
    const QString second = printed();
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_EQ(first, second);
    const QString credit = "Report Generated By https://www.kestrava.example";
    // (pdftotext leaves out the empty lines.)
    EXPECT_TRUE(first.trimmed().startsWith(credit + "\nName: Emma Hall")) << first.left(200).toStdString();
    // The second credit line closes the report, after the last position's card.
    EXPECT_GT(first.lastIndexOf(credit), first.lastIndexOf("Card Name: \n" + lastCardName + "\n"));
    EXPECT_EQ(first.count(credit), 2);
    EXPECT_TRUE(first.contains("Destiny Number: 11"));

    // Export as PDF writes the same report.
    test.files.paths.push_back(test.dir.filePath("emma.pdf"));
    click(kDocument, "cmdExportPdf");
    QProcess exported;
    exported.start(QStringLiteral("pdftotext"), {test.dir.filePath("emma.pdf"), "-"});
    ASSERT_TRUE(exported.waitForFinished(20000));
    EXPECT_EQ(QString::fromUtf8(exported.readAllStandardOutput()), first);

    // Without a printer the document says so.
    struct NoPrinter final : platform::Printer
    {
        void print(const QTextDocument &, platform::PrintDone done) override
        {
            done(kestrava::Failure{QStringLiteral("No printer is set up.")});
        }
        void printPdf(platform::PdfForPaper, platform::PrintDone done) override
        {
            done(kestrava::Failure{QStringLiteral("No printer is set up.")});
        }
    };
    test.printer = std::make_unique<NoPrinter>();
    main.reset();
    main = std::make_unique<MainWindow>(test.services());
    installPrograms(*main);
    main->show();
    proceedWith("Emma Hall");
    click(kResult, "cmdSave");
    click(kDocument, "cmdPrint");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text, "The reading could not be printed.\nNo printer is set up.");
}

TEST_F(TarotTest, TheLauncherClosesTheDocumentWithTheResult)
{
    proceedWith("Emma Hall");
    click(kResult, "cmdSave");
    ASSERT_NE(window(kDocument), nullptr);
    main->launch(kestrava::ProgramId::NumerologyPro);
    EXPECT_EQ(window(kDocument), nullptr);
    EXPECT_EQ(window(kResult), nullptr);
}

TEST(TarotPictures, EachMajorCardCarriesTheNumeralOfItsPlaceInTheDeck)
{
    const char *numerals[] = {"0",  "I",   "II",   "III", "IV", "V",  "VI",  "VII",  "VIII", "IX",  "X",
                              "XI", "XII", "XIII", "XIV", "XV", "XVI", "XVII", "XVIII", "XIX", "XX", "XXI"};
    // The first text of a card is its numeral, the last its title.
    const QRegularExpression texts(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (int c = 0; c < 22; ++c) {
        const tarot::DeckCard *card = tarot::deckCard(c);
        ASSERT_NE(card, nullptr);
        SCOPED_TRACE(card->name.toStdString());
        QFile file(":/images/tarot/" + QString(card->picture).replace(u' ', u'-') + ".svg");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList found;
        for (const QRegularExpressionMatch &m : texts.globalMatch(QString::fromUtf8(file.readAll())))
            found << m.captured(1);
        ASSERT_EQ(found.size(), 2);
        EXPECT_EQ(found[0], numerals[c]);
        EXPECT_EQ(found[1], card->name);
    }
}

// The real save dialog: the name the user types and the file it becomes.
class TarotSaveDialogTest : public TarotTest
{
protected:
    void SetUp() override
    {
        test.realDialogs = true;
        TarotTest::SetUp();
    }
    // Saves from the document window, playing the given steps in the dialogs.
    void save(std::initializer_list<ModalScript::Step> steps, QStringList *boxes = nullptr)
    {
        ModalScript user(steps);
        click(kDocument, "cmdSave");
        EXPECT_TRUE(user.done());
        if (boxes)
            *boxes = user.boxTexts();
    }
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(TarotSaveDialogTest, ASavedReadingEndsInTnmWhateverDotsItsNameHas)
{
    proceedWith("John Smith");
    click(kResult, "cmdSave");
    ASSERT_NE(window(kDocument), nullptr);
    const QStringList reading{"John Smith", "1", "January", "1970"};

    struct Row
    {
        const char *typed;
        const char *saved;
    };
    const Row rows[] = {{"john.smith", "john.smith.tnm"},
                        {"Smith 15.03.1980", "Smith 15.03.1980.tnm"},
                        {"john.TNM", "john.TNM.tnm"},
                        {"john.tnm", "john.tnm"},
                        {"john", "john.tnm"}};
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.typed);
        const QString folder = test.dir.filePath(QStringLiteral("names%1").arg(n++));
        QDir().mkpath(folder);
        save({ModalScript::typeName(folder, row.typed)});
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{row.saved});
        EXPECT_EQ(kestrava::decodeShiftedLines(contents(folder + '/' + row.saved), 4), reading);
    }

    // The question before replacing names the file that is written: a file
    // called just "john" is no reason to ask, "john.tnm" is.
    const QString folder = test.dir.filePath("replace");
    QDir().mkpath(folder);
    const QString bare = folder + "/john";
    const QString saved = folder + "/john.tnm";
    {
        QFile file(bare);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a reading");
    }
    QStringList boxes;
    save({ModalScript::typeName(folder, "john")}, &boxes);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(contents(bare), "not a reading");
    EXPECT_EQ(kestrava::decodeShiftedLines(contents(saved), 4), reading);

    {
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older reading");
    }
    // No: back in the dialog, which the user then cancels.
    save({ModalScript::typeName(folder, "john"), ModalScript::answer(QMessageBox::No), ModalScript::cancel()}, &boxes);
    EXPECT_EQ(boxes, QStringList{"john.tnm already exists.\nDo you want to replace it?"});
    EXPECT_EQ(contents(saved), "older reading");
    // Yes: replaced.
    save({ModalScript::typeName(folder, "john"), ModalScript::answer(QMessageBox::Yes)}, &boxes);
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(kestrava::decodeShiftedLines(contents(saved), 4), reading);

    // The Open dialog lists and opens a name with dots.
    window(kDocument)->close();
    click(kResult, "cmdBack");
    control<QLineEdit>(kInput, "txtName")->setText("Someone Else");
    ModalScript user({ModalScript::typeName(test.dir.filePath("names0"), "john.smith.tnm")});
    click(kInput, "cmdOpen");
    EXPECT_TRUE(user.done());
    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(control<QLineEdit>(kInput, "txtName")->text(), "John Smith");
}
