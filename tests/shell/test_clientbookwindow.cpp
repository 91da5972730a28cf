#include "clients/clientcsv.h"
#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "clientbook/clientbookwindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
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
        return clientBookWindow();
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
    ASSERT_NE(clientBookWindow(), nullptr);
    EXPECT_TRUE(clientBookWindow()->isVisible());
    EXPECT_FALSE(welcome()->isVisible());
    clientBookWindow()->close();
    QApplication::processEvents();

    main->launch(kestrava::ProgramId::Runes);
    window("frmRunesNumerologyMain")->findChild<QAction *>("mnuClientBook")->trigger();
    EXPECT_NE(clientBookWindow(), nullptr);
    // The book stays open when a program opens from it.
    main->launch(kestrava::ProgramId::Tarot);
    EXPECT_NE(clientBookWindow(), nullptr);
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

TEST_F(ClientBookWindowTest, AReadingSavedOrExportedForAClientRecordsItsFilesInTheHistory)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    open()->select(mary.id);
    click("frmClientBook", QString("cmdReadWith_%1").arg(int(kestrava::ProgramId::NumerologyPro)));
    click("frmNumerologyProResult", "cmdLifePath");
    test.files.paths = {test.dir.filePath("mary.num"), test.dir.filePath("mary.pdf")};
    click("frmNumerologyProDisp", "cmdSave");
    click("frmNumerologyProDisp", "cmdExportPdf");
    EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join("\n").toStdString();
    const QList<clients::ReadingEntry> history = book().history(mary.id);
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(history[0].inputs.toUtf8()).object().value("file").toArray(),
              QJsonArray({QFileInfo(test.dir.filePath("mary.num")).absoluteFilePath(),
                          QFileInfo(test.dir.filePath("mary.pdf")).absoluteFilePath()}));
    auto *rows = control<QTreeWidget>("frmClientBook", "lstHistory");
    ASSERT_EQ(rows->topLevelItemCount(), 1);
    EXPECT_EQ(rows->topLevelItem(0)->text(2), "MARY ANN SMITH, 6 August 1979; saved to mary.num, mary.pdf");
    search()->setFocus();
    QTest::keyClicks(search(), "mary.pdf");
    EXPECT_EQ(shown(), QStringList({"SMITH, MARY ANN"}));
}

TEST_F(ClientBookWindowTest, TheHistoryNamesAReportAsSuch)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    const QDateTime at(QDate(2026, 1, 5), QTime(11, 0), Qt::UTC);
    // Astrology is the program numbered 0: a report must not show as it.
    ASSERT_TRUE(book().addReading({0, mary.id, kestrava::ProgramId::Astrology, at, R"({"month":"August"})"}));
    ASSERT_TRUE(book().addReading(clients::ReadingEntry::report(
        mary.id, at.addSecs(60),
        R"({"first":"MARY","middle":"ANN","last":"SMITH","born":"1979-08-06","date":"2026-01-05",)"
        R"("sections":["numerology","timeline","forecast"],"forecastFrom":2026,"forecastTo":2028,)"
        R"("file":"/home/ann/mary-smith.pdf"})")));
    addClient("LYNN", "", "WYNN", QDate(1990, 3, 4));
    open()->select(mary.id);
    auto *rows = control<QTreeWidget>("frmClientBook", "lstHistory");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(1), "Report");
    // In words: no key names, the file by its name.
    EXPECT_EQ(rows->topLevelItem(0)->text(2), "numerology, timeline, forecast 2026\u20132028; saved to mary-smith.pdf");
    EXPECT_EQ(rows->topLevelItem(0)->toolTip(2),
              "Report: numerology, timeline, forecast 2026\u20132028; saved to mary-smith.pdf");
    EXPECT_EQ(rows->topLevelItem(1)->text(1), kestrava::programName(kestrava::ProgramId::Astrology));
    EXPECT_EQ(rows->topLevelItem(1)->text(2), "August");

    // The search field finds clients by their history too.
    for (const char *typed : {"report", "2028", "mary-smith.pdf", "ruzazeder"}) {
        SCOPED_TRACE(typed);
        search()->clear();
        QTest::keyClicks(search(), typed);
        EXPECT_EQ(shown(), QStringList({"SMITH, MARY ANN"}));
    }
    search()->clear();
    QTest::keyClicks(search(), "wynn report");
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(ClientBookWindowTest, AChangeByAnotherProgramShowsWithoutTheUserDoingAnything)
{
    addClient("ANN", "", "ADAMS", QDate(1970, 1, 1));
    const clients::Client lynn = addClient("LYNN", "", "WYNN", QDate(1990, 3, 4));
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    ClientBookWindow *bookWindow = open();
    bookWindow->select(mary.id);
    // Deleted and brought back here: the status line says she is back.
    test.messages.answers = {true};
    click("frmClientBook", "cmdDelete");
    click("frmClientBook", "cmdUndo");
    auto *status = control<QLabel>("frmClientBook", "lblStatus");
    EXPECT_EQ(status->text(), "MARY ANN SMITH is back in the client book.");

    // Another program removes a client, then the one chosen here.
    const auto removeElsewhere = [this](qint64 id) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KESTRAVA_CLIENTS", bookPath);
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.start(KESTRAVA_CLI, {"clients", "remove", QString::number(id)});
        return cli.waitForFinished(30000) && cli.exitCode() == 0;
    };
    // Runs the event loop until the list shows these names; no longer than
    // a few of the window's checks.
    const auto untilShown = [this](const QStringList &names) {
        QDeadlineTimer deadline(3 * ClientBookWindow::kCheckIntervalMs);
        while (shown() != names && !deadline.hasExpired())
            QTest::qWait(20);
        return shown() == names;
    };
    ASSERT_TRUE(removeElsewhere(lynn.id));
    ASSERT_TRUE(untilShown({"ADAMS, ANN", "SMITH, MARY ANN"})) << shown().join(" / ").toStdString();
    ASSERT_TRUE(bookWindow->selected().has_value()) << "the selection stays on Mary";
    EXPECT_EQ(bookWindow->selected()->id, mary.id);
    EXPECT_EQ(status->text(), "MARY ANN SMITH is back in the client book.");

    ASSERT_TRUE(removeElsewhere(mary.id));
    ASSERT_TRUE(untilShown({"ADAMS, ANN"})) << shown().join(" / ").toStdString();
    EXPECT_FALSE(bookWindow->selected().has_value());
    EXPECT_EQ(status->text(), "MARY ANN SMITH is no longer in the client book.");
    EXPECT_FALSE(control<QPushButton>("frmClientBook", "cmdEdit")->isEnabled());
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblCount")->text(), "1 client");
    EXPECT_TRUE(control<QLabel>("frmClientBook", "lblDetails")->text().contains("No client chosen"));
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
            // No date is chosen for a new client: nobody is born on the day
            // the lists would happen to show.
            for (const char *name : {"cboMonth", "cboDate", "cboYear"}) {
                SCOPED_TRACE(name);
                EXPECT_EQ(dialog->findChild<QComboBox *>(name)->currentIndex(), -1);
                EXPECT_TRUE(dialog->findChild<QComboBox *>(name)->currentText().isEmpty());
            }
            EXPECT_EQ(dialog->findChild<QComboBox *>("cboMonth")->placeholderText(), "Month");
            // A name is needed: OK says so and the dialog stays.
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtFirstName"), Qt::Key_Return);
            QTest::keyClicks(dialog->findChild<QLineEdit *>("txtFirstName"), "lynn");
            QTest::keyClicks(dialog->findChild<QLineEdit *>("txtLastName"), "wynn");
            // So is a whole date: a year alone is refused, and the list
            // still to choose takes the focus.
            dialog->findChild<QComboBox *>("cboYear")->setCurrentText("1990");
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtLastName"), Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->focusWidget(), dialog->findChild<QComboBox *>("cboMonth"));
            dialog->findChild<QComboBox *>("cboMonth")->setCurrentText("August");
            dialog->findChild<QComboBox *>("cboDate")->setCurrentText("6");
            dialog->findChild<QPlainTextEdit *>("txtNotes")->setPlainText("Prefers mornings.");
            QTest::keyClick(dialog->findChild<QLineEdit *>("txtLastName"), Qt::Key_Return);
        }};
        click("frmClientBook", "cmdAdd");
        EXPECT_TRUE(adding.done());
    }
    EXPECT_EQ(test.messages.texts(), QStringList({"Please enter a first or a last name.",
                                                  "Please choose the birth date: the month, the day and the year."}));
    ASSERT_EQ(book().count(), 1);
    const clients::Client lynn = book().all()[0];
    EXPECT_EQ(lynn.person.firstName, "LYNN");
    EXPECT_EQ(lynn.person.birthDate, QDate(1990, 8, 6));
    EXPECT_EQ(lynn.notes, "Prefers mornings.");
    EXPECT_EQ(control<QPlainTextEdit>("frmClientBook", "txtNotes")->toPlainText(), "Prefers mornings.");

    // Enter in the list edits the client under the selection, whose date
    // the lists show.
    ModalScript editing{[](QWidget *dialog) {
        EXPECT_EQ(dialog->findChild<QComboBox *>("cboMonth")->currentText(), "August");
        EXPECT_EQ(dialog->findChild<QComboBox *>("cboDate")->currentText(), "6");
        EXPECT_EQ(dialog->findChild<QComboBox *>("cboYear")->currentText(), "1990");
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

TEST_F(ClientBookWindowTest, EditRefusesToMakeAClientACopyOfAnotherAndKeepsWhatWasTyped)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    const clients::Client marie = addClient("MARIE", "", "SMITH", QDate(1979, 8, 6));
    // Born before the dialog's year list begins, as an imported family tree may hold.
    const clients::Client ada = addClient("ADA", "", "KING", QDate(1750, 12, 10));
    ClientBookWindow *bookWindow = open();
    bookWindow->select(marie.id);
    {
        ModalScript editing{[&](QWidget *dialog) {
            auto *first = dialog->findChild<QLineEdit *>("txtFirstName");
            auto *middle = dialog->findChild<QLineEdit *>("txtMiddleName");
            first->setText("Mary");
            middle->setText("Ann");
            dialog->findChild<QLineEdit *>("txtPhone")->setText("555 0100");
            static_cast<QDialog *>(dialog)->accept();
            // Refused, naming the other client; the dialog keeps the input.
            ASSERT_EQ(test.messages.shown.size(), 1);
            EXPECT_EQ(test.messages.shown[0].text.toStdString(),
                      "MARY ANN SMITH, born 6 August 1979, is already in the client book as another client. Change "
                      "the names or the birth date, or use Client > Merge... to make the two one client.");
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(first->text(), "Mary");
            EXPECT_EQ(middle->text(), "Ann");
            // Another middle name makes someone else, and OK takes it.
            middle->setText("Jo");
            static_cast<QDialog *>(dialog)->accept();
            EXPECT_FALSE(dialog->isVisible());
        }};
        click("frmClientBook", "cmdEdit");
        EXPECT_TRUE(editing.done());
    }
    EXPECT_EQ(book().client(mary.id), mary);
    EXPECT_EQ(book().client(marie.id)->person.middleName, "Jo");
    EXPECT_EQ(book().client(marie.id)->phone, "555 0100");
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblStatus")->text(), "Changed Mary Jo SMITH.");

    // A date the year list does not hold shows as it is and stays as it was.
    bookWindow->select(ada.id);
    {
        ModalScript editing{[](QWidget *dialog) {
            EXPECT_EQ(dialog->findChild<QComboBox *>("cboYear")->currentText(), "1750");
            EXPECT_EQ(dialog->findChild<QComboBox *>("cboMonth")->currentText(), "December");
            dialog->findChild<QLineEdit *>("txtEmail")->setText("ada@example.org");
            static_cast<QDialog *>(dialog)->accept();
        }};
        click("frmClientBook", "cmdEdit");
        EXPECT_TRUE(editing.done());
    }
    EXPECT_EQ(book().client(ada.id)->person.birthDate, QDate(1750, 12, 10));
    EXPECT_EQ(book().client(ada.id)->email, "ada@example.org");
}

TEST_F(ClientBookWindowTest, PossibleDuplicatesListsPairsAndMergeKeepsBothHistories)
{
    const QDateTime at(QDate(2026, 2, 1), QTime(9, 0), Qt::UTC);
    const clients::Client mary = addClient("MARY", "", "SMITH", QDate(1979, 8, 6));
    const clients::Client marie = addClient("Marie", "", "Smíth", QDate(1979, 8, 6));
    const clients::Client john = addClient("JOHN", "", "DOE", QDate(1980, 3, 15));
    clients::Client withPhone = *book().client(mary.id);
    withPhone.phone = "555 0100";
    ASSERT_TRUE(book().edit(withPhone, at));
    ASSERT_TRUE(book().addReading({0, mary.id, kestrava::ProgramId::Runes, at, "{}"}));
    ASSERT_TRUE(book().addReading({0, marie.id, kestrava::ProgramId::Tarot, at.addSecs(60), "{}"}));
    ASSERT_TRUE(book().addReading({0, john.id, kestrava::ProgramId::Daily, at.addSecs(120), "{}"}));
    ClientBookWindow *bookWindow = open();
    auto *menuItem = window("frmClientBook")->findChild<QAction *>("mnuDuplicates");
    ASSERT_NE(menuItem, nullptr);
    {
        ModalScript merging{
            [](QWidget *dialog) {
                auto *pairs = dialog->findChild<QTreeWidget *>("lstDuplicates");
                ASSERT_EQ(pairs->topLevelItemCount(), 1);
                EXPECT_EQ(pairs->topLevelItem(0)->text(0), "SMITH, MARY");
                EXPECT_EQ(pairs->topLevelItem(0)->text(1), "Smíth, Marie");
                EXPECT_EQ(pairs->topLevelItem(0)->text(2), "6 August 1979");
                dialog->findChild<QPushButton *>("cmdMerge")->click();
            },
            [](QWidget *dialog) {
                // Said before it is done; Swap keeps the other one.
                auto *outcome = dialog->findChild<QLabel *>("lblOutcome");
                EXPECT_TRUE(outcome->text().contains("Marie Smíth is removed from the client book"))
                    << outcome->text().toStdString();
                dialog->findChild<QPushButton *>("cmdSwap")->click();
                EXPECT_TRUE(outcome->text().contains("MARY SMITH is removed from the client book"))
                    << outcome->text().toStdString();
                EXPECT_TRUE(dialog->findChild<QLabel *>("lblKeep")->text().contains("Marie Smíth"));
                dialog->findChild<QPushButton *>("cmdMerge")->click();
            },
            [](QWidget *dialog) {
                // Back in the list, which has no pair left.
                EXPECT_EQ(dialog->findChild<QTreeWidget *>("lstDuplicates")->topLevelItemCount(), 0);
                EXPECT_EQ(dialog->findChild<QLabel *>("lblDuplicatesCount")->text(),
                          "No two clients share a birth date and a last name.");
                EXPECT_FALSE(dialog->findChild<QPushButton *>("cmdMerge")->isEnabled());
                static_cast<QDialog *>(dialog)->reject();
            },
        };
        click("frmClientBook", "cmdDuplicates");
        EXPECT_TRUE(merging.done());
    }
    EXPECT_EQ(book().count(), 2);
    EXPECT_FALSE(book().client(mary.id));
    const clients::Client kept = *book().client(marie.id);
    EXPECT_EQ(kept.person.firstName, "Marie");
    EXPECT_EQ(kept.phone, "555 0100") << "an empty field is filled from the other";
    EXPECT_EQ(book().history(marie.id).size(), 2);
    ASSERT_TRUE(bookWindow->selected());
    EXPECT_EQ(bookWindow->selected()->id, marie.id);
    EXPECT_EQ(control<QTreeWidget>("frmClientBook", "lstHistory")->topLevelItemCount(), 2);
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblStatus")->text(), "Merged MARY SMITH into Marie Smíth.");

    // Merge... on the selected client asks whom to merge them into; the
    // dialog's choice not to fill leaves the kept client's fields alone.
    bookWindow->select(john.id);
    {
        ModalScript merging{
            [](QWidget *picker) {
                EXPECT_EQ(picker->windowTitle(), "Merge JOHN DOE Into");
                QTest::keyClicks(picker->findChild<QLineEdit *>("txtClientSearch"), "marie");
                QTest::keyClick(picker->findChild<QLineEdit *>("txtClientSearch"), Qt::Key_Return);
            },
            [](QWidget *dialog) {
                EXPECT_TRUE(dialog->findChild<QLabel *>("lblKeep")->text().contains("Marie Smíth"));
                dialog->findChild<QCheckBox *>("chkFill")->setChecked(false);
                dialog->findChild<QPushButton *>("cmdMerge")->click();
            },
        };
        window("frmClientBook")->findChild<QAction *>("mnuMerge")->trigger();
        EXPECT_TRUE(merging.done());
    }
    EXPECT_EQ(book().count(), 1);
    EXPECT_EQ(book().history(marie.id).size(), 3);
    EXPECT_EQ(*book().client(marie.id), [&] {
        clients::Client same = kept;
        same.changed = book().client(marie.id)->changed;
        return same;
    }());
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
    // A field holding a formula character (here "-") is quoted, so that no
    // spreadsheet reads a piece of it as a formula.
    EXPECT_TRUE(data.contains("LYNN,,WYNN,\"1990-03-04\"")) << data.toStdString();
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

TEST_F(ClientBookWindowTest, AnotherProgramsDatabaseIsRefusedAndLeftAsItIs)
{
    // Another program's database that happens to carry a version a book
    // could have.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(bookPath);
        ASSERT_TRUE(db.open());
        db.exec("CREATE TABLE clients (id INTEGER PRIMARY KEY, name TEXT)");
        db.exec("INSERT INTO clients VALUES (1, 'someone')");
        db.exec("PRAGMA user_version = 3");
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    auto hash = [this] {
        QFile file(bookPath);
        return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                              : QByteArray();
    };
    const QByteArray before = hash();

    open();
    auto *problem = control<QLabel>("frmClientBook", "lblProblem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_EQ(problem->text(), QString("The client book %1 is no client book: it is an SQLite database of another "
                                       "program. Kestrava leaves it as it is.")
                                   .arg(QDir::toNativeSeparators(bookPath)));
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(shown().isEmpty());
    for (const char *button : {"cmdAdd", "cmdEdit", "cmdDelete"})
        EXPECT_FALSE(control<QPushButton>("frmClientBook", button)->isEnabled()) << button;
    EXPECT_FALSE(window("frmClientBook")->findChild<QAction *>("mnuImportFiles")->isEnabled());
    EXPECT_EQ(hash(), before);
    EXPECT_FALSE(QFileInfo::exists(bookPath + "-wal"));
}

TEST_F(ClientBookWindowTest, ADamagedSearchIndexShowsABannerExportSavesEveryoneAndRebuildMendsIt)
{
    constexpr int kClients = 300;
    {
        clients::ClientBook book(bookPath);
        QList<clients::ImportCandidate> people;
        for (int i = 0; i < kClients; ++i) {
            clients::Client c;
            c.person = {QString("ANNA%1").arg(i), {}, QString("SMITH%1").arg(i), QDate(1980, 1, 1).addDays(i), {}};
            people.append({c, "made"});
        }
        ASSERT_TRUE(book.addMany(people, QDateTime::currentDateTimeUtc()).ok());
    }
    // A page of the search index overwritten, as a failing disk would.
    int page = 0, pageSize = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "damage");
        db.setDatabaseName(bookPath);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("SELECT rootpage FROM sqlite_master WHERE name = 'client_search'") && query.next());
        page = query.value(0).toInt();
        ASSERT_TRUE(query.exec("PRAGMA page_size") && query.next());
        pageSize = query.value(0).toInt();
        db.close();
    }
    QSqlDatabase::removeDatabase("damage");
    {
        QFile file(bookPath);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(qint64(page - 1) * pageSize));
        ASSERT_EQ(file.write(QByteArray(pageSize, '\xa5')), pageSize);
    }

    ClientBookWindow *bookWindow = open();
    auto *banner = window("frmClientBook")->findChild<QWidget *>("fraDamage");
    ASSERT_NE(banner, nullptr);
    shown(); // the rows the list shows are read from the damaged index
    // The banner comes once the window has read the index, at the latest
    // after its first paint.
    const QDeadlineTimer deadline(5000);
    while (!banner->isVisible() && !deadline.hasExpired())
        QTest::qWait(20);
    ASSERT_TRUE(banner->isVisible());
    auto *rebuild = control<QPushButton>("frmClientBook", "cmdRebuildIndex");
    EXPECT_TRUE(rebuild->isEnabled());
    EXPECT_TRUE(window("frmClientBook")->findChild<QAction *>("mnuRebuildIndex")->isEnabled());

    const QString out = test.dir.filePath("saved.csv");
    test.files.paths.push_back(out);
    window("frmClientBook")->findChild<QAction *>("mnuExport")->trigger();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("\r\n"), kClients + 1);

    rebuild->click();
    EXPECT_FALSE(banner->isVisible());
    EXPECT_EQ(shown().size(), kClients);
    EXPECT_FALSE(shown().contains(QString()));
    EXPECT_EQ(control<QLabel>("frmClientBook", "lblStatus")->text(),
              QString("The search index was rebuilt from %1 clients.").arg(kClients));
    search()->setText("smith299");
    EXPECT_EQ(shown(), QStringList({"SMITH299, ANNA299"}));
    Q_UNUSED(bookWindow);
}
