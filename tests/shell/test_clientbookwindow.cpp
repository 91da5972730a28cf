#include "clients/clientcsv.h"
#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "shell/clientbookwindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTreeWidget>

class ClientBookWindowTest : public ClientBookSuiteTest
{
protected:
    ClientBookWindow *open()
    {
        main->openClientBook();
        return main->clientBookWindow();
    }
    QTableView *list() const { return control<QTableView>("frmClientBook", "lstClients"); }
    QLineEdit *search() const { return control<QLineEdit>("frmClientBook", "txtSearch"); }
    // The names the list shows, top to bottom.
    QStringList shown() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names << list()->model()->index(row, 0).data().toString();
        return names;
    }
};

TEST_F(ClientBookWindowTest, OpensFromTheClientsMenuAndFromAnInputWindow)
{
    auto *item = main->findChild<QAction *>("mnuClientBook");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
    // Between File and Help, before Window.
    QStringList titles;
    for (QAction *menu : main->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Clients", "&Window", "&Help"}));
    QTest::keySequence(main.get(), QKeySequence(Qt::CTRL | Qt::Key_K));
    ASSERT_NE(main->clientBookWindow(), nullptr);
    EXPECT_TRUE(main->clientBookWindow()->isVisible());
    EXPECT_FALSE(welcome()->isVisible());
    main->clientBookWindow()->close();
    QApplication::processEvents();

    main->launch(kestrava::ProgramId::Runes);
    window("frmRunesNumerologyMain")->findChild<QAction *>("mnuClientBook")->trigger();
    EXPECT_NE(main->clientBookWindow(), nullptr);
    // The book stays open when a program opens from it.
    main->launch(kestrava::ProgramId::Tarot);
    EXPECT_NE(main->clientBookWindow(), nullptr);
}

TEST_F(ClientBookWindowTest, SearchNarrowsTheListAsTheUserTypes)
{
    addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    addClient("JOHN", "", "SMITHERS", QDate(1961, 1, 1));
    addClient("LYNN", "", "WYNN", QDate(1990, 3, 4));
    addClient("José", "", "Álvarez", QDate(1985, 5, 17));
    open();
    EXPECT_EQ(shown(), QStringList({"Álvarez, José", "SMITH, MARY ANN", "SMITHERS, JOHN", "WYNN, LYNN"}));
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblCount")->text(), "4 clients");

    search()->setFocus();
    QTest::keyClicks(search(), "smi");
    EXPECT_EQ(shown(), QStringList({"SMITH, MARY ANN", "SMITHERS, JOHN"}));
    QTest::keyClicks(search(), "thers");
    EXPECT_EQ(shown(), QStringList({"SMITHERS, JOHN"}));
    // Accents and case do not count; the date finds too.
    search()->clear();
    QTest::keyClicks(search(), "alvarez");
    EXPECT_EQ(shown(), QStringList({"Álvarez, José"}));
    search()->clear();
    QTest::keyClicks(search(), "6.8.1979");
    EXPECT_EQ(shown(), QStringList({"SMITH, MARY ANN"}));
    // The first match is chosen and its details show.
    EXPECT_TRUE(control<QLabel>("frmClientBook", "lblDetails")->text().contains("MARY ANN SMITH"));
    search()->clear();
    QTest::keyClicks(search(), "nobody");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblCount")->text(), "No client found.");
    EXPECT_FALSE(control<QPushButton>("frmClientBook", "cmdReadWith_1")->isEnabled());
}

TEST_F(ClientBookWindowTest, ReadWithOpensTheProgramRunsItAndTheHistoryShowsIt)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    ClientBookWindow *bookWindow = open();
    bookWindow->select(mary.id);
    click("frmClientBook", QString("cmdReadWith_%1").arg(int(kestrava::ProgramId::Tantric)));
    ASSERT_NE(window("frmTranticNumerologyDisplay"), nullptr);
    EXPECT_EQ(control<QLineEdit>("frmTantricNumerologyMain", "txtName")->text(), "MARY ANN SMITH");
    click("frmClientBook", QString("cmdReadWith_%1").arg(int(kestrava::ProgramId::NumerologyPro)));
    ASSERT_NE(window("frmNumerologyProResult"), nullptr);

    const QList<clients::ReadingEntry> history = book().history(mary.id);
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history[0].program, kestrava::ProgramId::Tantric);
    EXPECT_EQ(history[1].inputs,
              R"({"day":"6","first":"MARY","last":"SMITH","middle":"ANN","month":"August","year":"1979"})");
    // The window shows them at once, newest first.
    auto *rows = control<QTreeWidget>("frmClientBook", "lstHistory");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(1), kestrava::programName(kestrava::ProgramId::NumerologyPro));
    EXPECT_EQ(rows->topLevelItem(1)->text(2), "MARY ANN SMITH, 6 August 1979");
}

TEST_F(ClientBookWindowTest, TheHistoryNamesAReportAsSuch)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    const QDateTime at(QDate(2026, 1, 5), QTime(11, 0), Qt::UTC);
    // Astrology is the program numbered 0: a report must not show as it.
    ASSERT_TRUE(book().addReading({0, mary.id, kestrava::ProgramId::Astrology, at, R"({"month":"August"})"}));
    ASSERT_TRUE(book().addReading(clients::ReadingEntry::report(
        mary.id, at.addSecs(60), R"({"first":"MARY","middle":"ANN","last":"SMITH","year":"1979"})")));
    open()->select(mary.id);
    auto *rows = control<QTreeWidget>("frmClientBook", "lstHistory");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(1), "Report");
    EXPECT_EQ(rows->topLevelItem(0)->text(2), "MARY ANN SMITH, 1979");
    EXPECT_EQ(rows->topLevelItem(1)->text(1), kestrava::programName(kestrava::ProgramId::Astrology));
}

TEST_F(ClientBookWindowTest, DeleteAsksAndUndoBringsTheClientBackWithTheirHistory)
{
    addClient("LYNN", "", "WYNN", QDate(1990, 3, 4));
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    book().addReading({0, mary.id, kestrava::ProgramId::Runes, QDateTime(QDate(2026, 2, 1), QTime(9, 0), Qt::UTC),
                       R"({"name":"MARY ANN SMITH"})"});
    ClientBookWindow *bookWindow = open();
    bookWindow->select(mary.id);

    // No: nothing happens.
    click("frmClientBook", "cmdDelete");
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].question);
    EXPECT_EQ(test.messages.shown[0].text,
              "Delete MARY ANN SMITH, born 6 August 1979, and their reading history from the client book?");
    EXPECT_EQ(book().count(), 2);

    // Yes, with the Delete key in the list.
    test.messages.answers = {true};
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(book().count(), 1);
    EXPECT_EQ(shown(), QStringList({"WYNN, LYNN"}));
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblStatus")->text(), "Deleted MARY ANN SMITH.");
    auto *undo = control<QPushButton>("frmClientBook", "cmdUndo");
    ASSERT_TRUE(undo->isVisible());

    undo->click();
    EXPECT_EQ(book().count(), 2);
    ASSERT_TRUE(bookWindow->selected().has_value());
    EXPECT_EQ(bookWindow->selected()->id, mary.id);
    EXPECT_EQ(book().history(mary.id).size(), 1);
    EXPECT_EQ(control<QTreeWidget>("frmClientBook", "lstHistory")->topLevelItemCount(), 1);
    EXPECT_FALSE(undo->isVisible());
}

TEST_F(ClientBookWindowTest, AddAndEditThroughTheClientDialog)
{
    ClientBookWindow *bookWindow = open();
    {
        ModalScript adding{[](QWidget *dialog) {
            // A name is needed: OK says so and the dialog stays.
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtFirstName"), Qt::Key_Return);
            QTest::keyClicks(dialog->findChild<QLineEdit *>("txtFirstName"), "lynn");
            QTest::keyClicks(dialog->findChild<QLineEdit *>("txtLastName"), "wynn");
            dialog->findChild<QComboBox *>("cboYear")->setCurrentText("1990");
            dialog->findChild<QPlainTextEdit *>("txtNotes")->setPlainText("Prefers mornings.");
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtLastName"), Qt::Key_Return);
        }};
        click("frmClientBook", "cmdAdd");
        EXPECT_TRUE(adding.done());
    }
    EXPECT_EQ(test.messages.texts(), QStringList{"Please enter a first or a last name."});
    ASSERT_EQ(book().count(), 1);
    const clients::Client lynn = book().all()[0];
    EXPECT_EQ(lynn.person.firstName, "LYNN");
    EXPECT_EQ(lynn.person.birthDate, QDate(1990, 8, 6));
    EXPECT_EQ(lynn.notes, "Prefers mornings.");
    EXPECT_EQ(control<QPlainTextEdit>("frmClientBook", "txtNotes")->toPlainText(), "Prefers mornings.");

    // Enter in the list edits the client under the selection.
    ModalScript editing{[](QWidget *dialog) {
        auto *middle = dialog->findChild<QLineEdit *>("txtMiddleName");
        QTest::keyClicks(middle, "ann");
        static_cast<QDialog *>(dialog)->accept();
    }};
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_TRUE(editing.done());
    EXPECT_EQ(book().client(lynn.id)->person.middleName, "ANN");
    EXPECT_EQ(shown(), QStringList({"WYNN, LYNN ANN"}));
    Q_UNUSED(bookWindow);
}

TEST_F(ClientBookWindowTest, ImportReportsEachOutcomeAndExportWritesCsv)
{
    addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    const QString csv = test.dir.filePath("people.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first,last,born\nMARY,SMITH,1979-08-06\nLYNN,WYNN,1990-03-04\n,,1990-03-04\nJOHN,DOE,1961-02-30\n");
    file.close();
    // Mary has a middle name in the book: the CSV's MARY SMITH is someone else.
    ClientBookWindow *bookWindow = open();
    bookWindow->importPaths({csv});
    ASSERT_EQ(test.messages.shown.size(), 1);
    const QString report = test.messages.shown[0].text;
    EXPECT_TRUE(report.startsWith("Added: 2\nAlready in the book: 0\nRefused: 2\n")) << report.toStdString();
    EXPECT_TRUE(report.contains("people.csv, row 3: ")) << report.toStdString();
    EXPECT_TRUE(report.contains("people.csv, row 4: ")) << report.toStdString();
    EXPECT_EQ(shown().size(), 3);

    bookWindow->importPaths({csv});
    EXPECT_TRUE(test.messages.shown[1].text.startsWith("Added: 0\nAlready in the book: 2\n"));

    const QString out = test.dir.filePath("book.csv");
    test.files.paths.push_back(out);
    window("frmClientBook")->findChild<QAction *>("mnuExport")->trigger();
    EXPECT_EQ(test.files.requests.back().filter, "CSV files (*.csv)");
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray data = written.readAll();
    EXPECT_TRUE(data.contains(clients::kExportHeader));
    EXPECT_TRUE(data.contains("LYNN,,WYNN,1990-03-04"));
    EXPECT_EQ(data.count("\r\n"), 4);
}

TEST_F(ClientBookWindowTest, ImportTakesEveryProgramsSavedReadings)
{
    const QString folder = test.dir.filePath("readings");
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    ASSERT_TRUE(write(folder + "/mary.num",
                      numpro::encodeNumFile({"MARY", "ANN", "SMITH", "August", "6", "1979"})));
    ASSERT_TRUE(write(folder + "/lynn.tnm", kestrava::encodeShiftedLines({"LYNN WYNN", "4", "March", "1990"})));
    ASSERT_TRUE(write(folder + "/notes.txt", "no reading"));
    ClientBookWindow *bookWindow = open();
    bookWindow->importPaths({folder, folder + "/notes.txt"});
    ASSERT_EQ(test.messages.shown.size(), 1);
    const QString report = test.messages.shown[0].text;
    EXPECT_TRUE(report.startsWith("Added: 2\nAlready in the book: 0\nRefused: 1\n")) << report.toStdString();
    EXPECT_TRUE(report.contains("it is not a .num, .tnm or .csv file")) << report.toStdString();
    EXPECT_EQ(shown(), QStringList({"SMITH, MARY ANN", "WYNN, LYNN"}));
}

TEST_F(ClientBookWindowTest, ABookItCannotChangeIsShownReadOnly)
{
    // A book written by a later Kestrava.
    {
        clients::ClientBook later(bookPath);
        clients::Client c;
        c.person = {"MARY", {}, "SMITH", QDate(1979, 8, 6), {}};
        ASSERT_TRUE(later.add(c, QDateTime::currentDateTimeUtc()).ok());
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "later");
        db.setDatabaseName(bookPath);
        ASSERT_TRUE(db.open());
        db.exec(QString("PRAGMA user_version = %1").arg(clients::kSchemaVersion + 1));
        db.close();
    }
    QSqlDatabase::removeDatabase("later");

    open();
    auto *problem = control<QLabel>("frmClientBook", "lblProblem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().endsWith("The book is open for reading only.")) << problem->text().toStdString();
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(shown(), QStringList({"SMITH, MARY"}));
    for (const char *button : {"cmdAdd", "cmdEdit", "cmdDelete"})
        EXPECT_FALSE(control<QPushButton>("frmClientBook", button)->isEnabled()) << button;
    EXPECT_FALSE(window("frmClientBook")->findChild<QAction *>("mnuImportFiles")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("frmClientBook", "cmdReadWith_4")->isEnabled());
}
