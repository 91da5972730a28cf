#include "support/modalscript.h"
#include "support/suitefixture.h"

#include "common/charactershift.h"
#include "numpro/files/numfile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTextEdit>
#include <unistd.h>

namespace {

const QString kInput = QStringLiteral("frmNumerologyProMain");
const QString kNavigator = QStringLiteral("frmNumerologyProResult");
const QString kDisplay = QStringLiteral("frmNumerologyProDisp");
const QString kDocument = QStringLiteral("frmNumerologyProsave");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Makes a file or folder unwritable even for root (immutable attribute), or
// by permissions for an ordinary user.  False when neither can be done here.
bool makeUnwritable(const QString &path)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return QProcess::execute("chattr", {"+i", path}) == 0;
}

void makeWritable(const QString &path)
{
    if (::geteuid() == 0)
        QProcess::execute("chattr", {"-i", path});
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

class SavedReadingTest : public SuiteTest
{
protected:
    QString path(const QString &name) const { return test.dir.filePath(name); }

    // Types the subject, runs Life Path and saves from the display window.
    void saveFromDisplay(const QString &first, const QString &middle, const QString &last, const QString &file)
    {
        openNavigator(first, middle, last);
        click(kNavigator, "cmdLifePath");
        test.files.paths.push_back(file);
        click(kDisplay, "cmdSave");
    }
    // Opens a file from a freshly launched input window.
    void openFromInput(const QString &file)
    {
        main->launch(kestrava::ProgramId::NumerologyPro);
        test.files.paths.push_back(file);
        click(kInput, "cmdOpen");
    }
    QString field(const char *name) const { return control<QLineEdit>(kInput, name)->text(); }
    QString list(const char *name) const { return control<QComboBox>(kInput, name)->currentText(); }
};

TEST_F(SavedReadingTest, SavedSubjectOpensAgainWithTheSameReadings)
{
    const QString file = path("mary.num");
    saveFromDisplay(" MARY ", "", "SMITH", file);

    ASSERT_EQ(test.files.requests.size(), 1);
    EXPECT_EQ(test.files.requests[0].title, "Save Your Variduzeda Vad Result ....");
    EXPECT_EQ(test.files.requests[0].filter, "Rich Text Format (*.num)");
    EXPECT_EQ(test.files.requests[0].defaultSuffix, "num");
    EXPECT_TRUE(test.messages.shown.isEmpty());

    const QList<QByteArray> lines = readAll(file).split('\n');
    ASSERT_EQ(lines.size(), 7); // six lines, each ending in CR LF
    EXPECT_EQ(lines[1], "\r");
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    EXPECT_EQ(numpro::readNumFile(file),
              (numpro::ReadingSubject{"MARY", "", "SMITH", "August", "6", "1979"}));

    openFromInput(file);
    EXPECT_EQ(test.files.requests.last().title, "Select the source file");
    EXPECT_EQ(test.files.requests.last().filter, "Tovrani (*.num)");
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_TRUE(window(kNavigator)->isVisible());
    EXPECT_EQ(field("txtFirstName"), "MARY");
    EXPECT_EQ(field("txtMiddleName"), "");
    EXPECT_EQ(field("txtLastName"), "SMITH");
    click(kNavigator, "cmdLifePath");
    EXPECT_TRUE(window(kDisplay)->findChild<QTextEdit *>("RTB")->toPlainText().startsWith(
        "Your LifePath Number is: 22"));
}

TEST_F(SavedReadingTest, SaveAndExportOfferTheSubjectsNameAsAPersonWritesIt)
{
    saveFromDisplay("MARY", "ANN", "SMITH", path("saved.num"));
    click(kDisplay, "cmdExportPdf"); // cancelled
    ASSERT_EQ(test.files.requests.size(), 2);
    // The saved reading is the person: no date.  The document is dated.
    EXPECT_EQ(test.files.requests[0].suggestedName, "Mary Ann Smith.num");
    EXPECT_EQ(test.files.requests[1].suggestedName, "Mary Ann Smith – 2026-12-10.pdf");
}

TEST_F(SavedReadingTest, CharactersTheFileCannotKeepAreReportedBeforeSaving)
{
    // é survives the shift; ü and anything outside the code page do not.
    saveFromDisplay(QString::fromUtf8("JOS\xc3\x89"), "", "SMITH", path("jose.num"));
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_EQ(numpro::readNumFile(path("jose.num")).firstName, QString::fromUtf8("JOS\xc3\x89"));

    // Each character is named with what saving does to it.
    main->launch(kestrava::ProgramId::NumerologyPro);
    test.messages.answers = {false};
    saveFromDisplay(QString::fromUtf8("M\xc3\xbcLLER"), "", QString::fromUtf8("\xc5\x81UKASZ"), path("no.num"));
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].question);
    const QString question = test.messages.shown[0].text;
    EXPECT_TRUE(question.contains(QString::fromUtf8("\xc3\xbc will be left out"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QString::fromUtf8("\xc5\x81 will be written as \"?\""))) << question.toStdString();
    EXPECT_FALSE(QFile::exists(path("no.num")));

    test.messages.answers = {true};
    test.files.paths.push_back(path("yes.num"));
    click(kDisplay, "cmdSave");
    EXPECT_EQ(numpro::readNumFile(path("yes.num")).firstName, "MLLER");
    EXPECT_EQ(numpro::readNumFile(path("yes.num")).lastName, "?UKASZ");
}

TEST_F(SavedReadingTest, OpenRefusesOtherEndingsAndIsSilentOnCancel)
{
    writeFile(path("reading.NUM"), numpro::encodeNumFile({"MARY", "", "SMITH", "August", "6", "1979"}));
    openFromInput(path("reading.NUM"));
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text, "Please Check The File.");
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
    EXPECT_EQ(window(kNavigator), nullptr);

    test.messages.shown.clear();
    click(kInput, "cmdOpen"); // no path prepared: the user cancels
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_TRUE(window(kInput)->isVisible());
}

TEST_F(SavedReadingTest, FilesWithADateFillWhatTheyCanAndNextDecides)
{
    struct Row
    {
        const char *name;
        QStringList lines;
        const char *message; // empty: the navigator opens; "-": refused as no saved reading
        const char *month;
    };
    const Row rows[] = {
        {"three lines hold no date and are no saved reading", {"MARY", "ANN", "SMITH"}, "-", "August"},
        {"a missing last name is reported", {"MARY", "", "", "May", "1", "1990"}, "Please Enter Your Last Name",
         "May"},
        {"a missing first name is reported", {"", "", "SMITH", "May", "1", "1990"}, "Please Enter Your First Name",
         "May"},
        {"an empty file is no saved reading", {}, "-", "August"},
        {"a month that is no month is no saved reading", {"MARY", "", "SMITH", "Smarch", "12", "1990"}, "-",
         "August"},
        {"a full file selects its date", {"MARY", "", "SMITH", "March", "15", "1976"}, "", "March"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes;
        for (const QString &line : row.lines)
            bytes += kestrava::shiftEncode(line) + "\r\n";
        const QString file = path("short.num");
        ASSERT_TRUE(writeFile(file, bytes));
        test.messages.shown.clear();
        openFromInput(file);
        if (QString(row.message).isEmpty()) {
            EXPECT_TRUE(test.messages.shown.isEmpty());
            ASSERT_NE(window(kNavigator), nullptr);
        } else {
            ASSERT_EQ(test.messages.shown.size(), 1);
            EXPECT_EQ(test.messages.shown[0].text, QString(row.message) == "-"
                                                       ? file + " is not a saved Variduzeda Vad reading."
                                                       : QString(row.message));
            EXPECT_EQ(window(kNavigator), nullptr);
        }
        EXPECT_EQ(list("cboMonth"), row.month);
    }
}

TEST_F(SavedReadingTest, AByteBelowTheShiftIsDroppedOnOpening)
{
    QByteArray first = kestrava::shiftEncode(u"MARY");
    first.insert(2, '\x05');
    first += "\r\n";
    const QByteArray rest = numpro::encodeNumFile({"", "", "SMITH", "August", "6", "1979"}).mid(2);
    ASSERT_TRUE(writeFile(path("odd.num"), first + rest));
    openFromInput(path("odd.num"));
    EXPECT_EQ(field("txtFirstName"), "MARY");
    EXPECT_EQ(field("txtLastName"), "SMITH");
}

TEST_F(SavedReadingTest, AFailedSaveSaysSoAndKeepsTheOldFile)
{
    const QString existing = path("kept.num");
    const QByteArray old = numpro::encodeNumFile({"OLD", "", "FILE", "May", "1", "1950"});
    ASSERT_TRUE(writeFile(existing, old));
    QDir(test.dir.path()).mkdir("locked");
    const QString lockedDir = path("locked");
    if (!makeUnwritable(existing) || !makeUnwritable(lockedDir))
        GTEST_SKIP() << "this file system cannot make a file unwritable";

    saveFromDisplay("MARY", "", "SMITH", existing);
    test.files.paths.push_back(lockedDir + "/new.num");
    click(kDisplay, "cmdSave");
    makeWritable(existing);
    makeWritable(lockedDir);

    ASSERT_EQ(test.messages.shown.size(), 2);
    const QString targets[] = {existing, lockedDir + "/new.num"};
    for (int i = 0; i < 2; ++i) {
        const auto &shown = test.messages.shown[i];
        EXPECT_EQ(shown.icon, platform::Icon::Error);
        // One sentence naming the file, then the system's reason.
        EXPECT_TRUE(shown.text.startsWith("The reading could not be saved to " + targets[i] + ".\n"))
            << shown.text.toStdString();
        EXPECT_EQ(shown.text.count("could not be saved"), 1);
        EXPECT_GT(shown.text.section('\n', 1).size(), 3);
    }
    EXPECT_EQ(readAll(existing), old);
    EXPECT_FALSE(QFile::exists(lockedDir + "/new.num"));
}

TEST_F(SavedReadingTest, SavingFromTheDocumentReopensAsTheNavigator)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdComprehensiveReading");
    test.files.paths.push_back(path("doc.num"));
    click(kDocument, "cmdSave");
    EXPECT_EQ(numpro::readNumFile(path("doc.num")),
              (numpro::ReadingSubject{"MARY", "ANN", "SMITH", "August", "6", "1979"}));

    openFromInput(path("doc.num"));
    ASSERT_NE(window(kNavigator), nullptr);
    EXPECT_TRUE(window(kNavigator)->isVisible());
    ASSERT_NE(window(kDocument), nullptr);
    EXPECT_FALSE(window(kDocument)->isVisible());
}

TEST_F(SavedReadingTest, PrintingPutsTheWholeReadingOnPaper)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdLifePath");
    click(kNavigator, "cmdComprehensiveReading");
    click(kDocument, "cmdPrint");
    EXPECT_TRUE(test.messages.shown.isEmpty());

    QProcess convert;
    convert.start(pdftotext, {path("printed.pdf"), "-"});
    ASSERT_TRUE(convert.waitForFinished(20000));
    const QString text = QString::fromUtf8(convert.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Name: MARY ANN SMITH")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("Your LifePath Number is: 22"));
    EXPECT_TRUE(text.contains("Your Maturity Number is: 6"));
}

TEST_F(SavedReadingTest, ExportAsPdfWritesThePrintedLayoutAndNeverDamagesAnOldFile)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    auto textOf = [&](const QString &pdf) {
        QProcess convert;
        convert.start(pdftotext, {pdf, "-"});
        convert.waitForFinished(20000);
        return QString::fromUtf8(convert.readAllStandardOutput());
    };
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, "cmdLifePath");
    test.files.paths.push_back(path("life path.pdf"));
    click(kDisplay, "cmdExportPdf");
    EXPECT_TRUE(test.messages.shown.isEmpty());
    EXPECT_EQ(test.files.requests.last().filter, "PDF document (*.pdf)");
    EXPECT_EQ(test.files.requests.last().defaultSuffix, "pdf");
    EXPECT_TRUE(textOf(path("life path.pdf")).contains("Your LifePath Number is: 22"));
    // Nothing is left beside it.
    EXPECT_EQ(QDir(test.dir.path()).entryList({"*.pdf*"}, QDir::Files | QDir::Hidden), QStringList{"life path.pdf"});

    click(kNavigator, "cmdComprehensiveReading");
    test.files.paths.push_back(path("life path.pdf")); // replaces the first export
    click(kDocument, "cmdExportPdf");
    const QString document = textOf(path("life path.pdf"));
    EXPECT_TRUE(document.contains("Name: MARY ANN SMITH"));
    EXPECT_TRUE(document.contains("Your Maturity Number is: 6"));

    // A folder that cannot be written says so and keeps the old file.
    QDir(test.dir.path()).mkdir("locked");
    ASSERT_TRUE(writeFile(path("locked/old.pdf"), "old"));
    test.files.paths.push_back(path("missing/reading.pdf"));
    click(kDocument, "cmdExportPdf");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.startsWith("The reading could not be exported to"));
    if (!makeUnwritable(path("locked")))
        GTEST_SKIP() << "no way to make a folder unwritable here";
    test.files.paths.push_back(path("locked/old.pdf"));
    click(kDocument, "cmdExportPdf");
    makeWritable(path("locked"));
    ASSERT_EQ(test.messages.shown.size(), 2);
    EXPECT_TRUE(test.messages.shown[1].text.contains("locked/old.pdf")) << test.messages.shown[1].text.toStdString();
    QFile old(path("locked/old.pdf"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

// The real save dialog: the name the user types and the file it becomes.
class NumSaveDialogTest : public SavedReadingTest
{
protected:
    void SetUp() override
    {
        test.realDialogs = true;
        SavedReadingTest::SetUp();
    }
};

TEST_F(NumSaveDialogTest, ASavedReadingEndsInNumWhateverDotsItsNameHas)
{
    openNavigator("MARY", "", "SMITH");
    click(kNavigator, "cmdLifePath");
    struct Row
    {
        const char *typed;
        const char *saved;
    };
    const Row rows[] = {{"mary.smith", "mary.smith.num"},
                        {"Smith 06.08.1979", "Smith 06.08.1979.num"},
                        {"mary.NUM", "mary.NUM.num"},
                        {"mary.num", "mary.num"},
                        {"mary", "mary.num"}};
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.typed);
        const QString folder = path(QStringLiteral("names%1").arg(n++));
        QDir().mkpath(folder);
        ModalScript user({ModalScript::typeName(folder, row.typed)});
        click(kDisplay, "cmdSave");
        EXPECT_TRUE(user.done());
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{row.saved});
        EXPECT_EQ(numpro::readNumFile(folder + '/' + row.saved),
                  (numpro::ReadingSubject{"MARY", "", "SMITH", "August", "6", "1979"}));
    }
}

TEST_F(NumSaveDialogTest, TheDialogStartsWithTheSubjectsNameThatEnterSaves)
{
    openNavigator("MARY", "", "SMITH");
    click(kNavigator, "cmdLifePath");
    const QString folder = path(QStringLiteral("suggested"));
    QDir().mkpath(folder);
    QString offered;
    ModalScript user({[&](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        ASSERT_NE(files, nullptr);
        // Where the user's documents are, as before there was a name to offer.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        EXPECT_EQ(files->directory().absolutePath(),
                  QDir(QDir(documents).exists() ? documents : QDir::homePath()).absolutePath());
        files->setDirectory(folder);
        auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        offered = field->text();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
    }});
    click(kDisplay, "cmdSave");
    EXPECT_TRUE(user.done());
    EXPECT_EQ(offered, "Mary Smith.num");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Mary Smith.num"});
}
