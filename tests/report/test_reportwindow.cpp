#include "clients/historytext.h"
#include "report/ui/reportsettingsdialog.h"
#include "report/ui/reportwindow.h"
#include "clientbook/clientbookwindow.h"
#include "support/clientbookfixture.h"
#include "support/modalscript.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QThreadPool>
#include <QStackedWidget>
#include <QTreeWidget>

#include <functional>

#include <sys/stat.h>

namespace {

using report::SectionKind;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The first page's size in points, as the PDF file gives it.
QSize pageSizeOf(const QByteArray &pdf)
{
    static const QRegularExpression box(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
    const QRegularExpressionMatch match = box.match(QString::fromLatin1(pdf));
    return QSize(qRound(match.captured(1).toDouble()), qRound(match.captured(2).toDouble()));
}

} // namespace

class ReportWindowTest : public ClientBookSuiteTest
{
protected:
    void SetUp() override
    {
        QSettings(report::suiteSettingsFile(), QSettings::IniFormat).remove(QStringLiteral("Report"));
        QDir(ReportSettingsDialog::logoFolder()).removeRecursively();
        ClientBookSuiteTest::SetUp();
    }

    ReportWindow *openReport()
    {
        QAction *item = main->findChild<QAction *>(QStringLiteral("mnuNewReport"));
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        return qobject_cast<ReportWindow *>(window(QStringLiteral("frmReport")));
    }
    template <typename T>
    T *in(ReportWindow *report, const QString &name)
    {
        T *found = report->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QCheckBox *sectionBox(ReportWindow *report, SectionKind kind)
    {
        return in<QCheckBox>(report, QStringLiteral("chkSection_") + report::sectionKey(kind));
    }
    void typePerson(ReportWindow *report, const char *first, const char *last, QDate born)
    {
        QTest::keyClicks(in<QLineEdit>(report, "txtFirstName"), first);
        QTest::keyClicks(in<QLineEdit>(report, "txtLastName"), last);
        ASSERT_TRUE(inputfields::selectDate({in<QComboBox>(report, "cboMonth"), in<QComboBox>(report, "cboDate"),
                                             in<QComboBox>(report, "cboYear")},
                                            born));
    }
    // Waits for the preview to follow the last change: the delay after it,
    // then the layout made off the window thread.
    void settle(ReportWindow *report)
    {
        ASSERT_TRUE(QTest::qWaitFor([report] { return report->isPreviewCurrent(); }, 10000));
    }
    // Every section that needs no second person: a report long enough that
    // its layout takes a while.
    void tickAllButCompatibility(ReportWindow *report)
    {
        for (const SectionKind kind : report::kSectionKinds) {
            if (kind != SectionKind::Compatibility)
                sectionBox(report, kind)->setChecked(true);
        }
    }
    QStringList contents(ReportWindow *report)
    {
        QStringList headings;
        if (report->layout()) {
            for (const report::ReportLayout::Entry &entry : report->layout()->contents())
                headings << entry.heading;
        }
        return headings;
    }
    QList<SectionKind> sections(ReportWindow *report)
    {
        QList<SectionKind> kinds;
        if (report->layout()) {
            for (const report::ReportSection &section : report->layout()->report().sections)
                kinds << section.kind;
        }
        return kinds;
    }
    bool refused(ReportWindow *report)
    {
        return in<QStackedWidget>(report, "stkPreview")->currentWidget() == in<QLabel>(report, "lblRefused");
    }
};

TEST_F(ReportWindowTest, ThePreviewFollowsTheNamesAndEverySectionTicked)
{
    // Ctrl+R in the main window: New Report.
    QTest::keySequence(main.get(), QKeySequence(Qt::CTRL | Qt::Key_R));
    auto *report = qobject_cast<ReportWindow *>(window("frmReport"));
    ASSERT_NE(report, nullptr);
    // No name yet: the preview gives way to the reason.
    settle(report);
    EXPECT_EQ(report->layout(), nullptr);
    EXPECT_TRUE(refused(report));
    EXPECT_FALSE(in<QLabel>(report, "lblRefused")->text().isEmpty());

    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    EXPECT_EQ(in<QLineEdit>(report, "txtFirstName")->text(), "MARY");
    // Typing does not lay the report out at every letter, but a moment after.
    EXPECT_TRUE(report->isRefreshPending());
    EXPECT_EQ(report->layout(), nullptr);
    settle(report);
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_FALSE(refused(report));
    EXPECT_EQ(report->layout()->report().clientName, "MARY SMITH");
    EXPECT_EQ(sections(report), QList<SectionKind>{SectionKind::Numerology});
    const int comprehensivePages = report->layout()->pageCount();
    EXPECT_EQ(in<QLabel>(report, "lblPageCount")->text(), report::pageFooter(1, comprehensivePages));
    QScrollBar *scroll = in<QScrollArea>(report, "scrPreview")->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    EXPECT_EQ(in<QLabel>(report, "lblPageCount")->text(), report::pageFooter(comprehensivePages, comprehensivePages));
    scroll->setValue(0);

    // Each section's box puts that section, under its heading, into the report.
    sectionBox(report, SectionKind::Numerology)->setChecked(false);
    for (const SectionKind kind : report::kSectionKinds) {
        if (kind == SectionKind::Compatibility)
            continue;
        SCOPED_TRACE(report::sectionKey(kind).toStdString());
        sectionBox(report, kind)->setChecked(true);
        settle(report);
        ASSERT_EQ(sections(report), QList<SectionKind>{kind});
        EXPECT_TRUE(contents(report).contains(report->layout()->report().sections[0].heading));
        sectionBox(report, kind)->setChecked(false);
    }

    // Options reach their sections: chosen readings make a shorter numerology
    // section, and a backwards forecast is refused.
    sectionBox(report, SectionKind::Numerology)->setChecked(true);
    in<QRadioButton>(report, "optChosenReadings")->setChecked(true);
    in<QListWidget>(report, "lstReadings")->item(0)->setCheckState(Qt::Checked);
    settle(report);
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_LT(report->layout()->pageCount(), comprehensivePages);
    sectionBox(report, SectionKind::Forecast)->setChecked(true);
    in<QSpinBox>(report, "spnForecastFrom")->setValue(2030);
    in<QSpinBox>(report, "spnForecastTo")->setValue(2027);
    settle(report);
    EXPECT_TRUE(refused(report));

    // Compatibility needs the second person.
    sectionBox(report, SectionKind::Forecast)->setChecked(false);
    sectionBox(report, SectionKind::Compatibility)->setChecked(true);
    settle(report);
    EXPECT_TRUE(refused(report));
    QTest::keyClicks(in<QLineEdit>(report, "txtPartnerFirstName"), "john");
    QTest::keyClicks(in<QLineEdit>(report, "txtPartnerLastName"), "doe");
    settle(report);
    EXPECT_EQ(sections(report), QList<SectionKind>({SectionKind::Numerology, SectionKind::Compatibility}));
}

TEST_F(ReportWindowTest, SettingsRoundTripThroughTheDialogWithTheLogoCopied)
{
    // The copy is made for the user alone even where new files are made
    // readable by everyone.
    struct Umask
    {
        mode_t before = umask(022);
        ~Umask() { umask(before); }
    } openUmask;
    const auto modeOf = [](const QString &path) {
        struct stat info{};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    };
    const QString logo = test.dir.filePath("logo-source.png");
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(logo, "PNG"));
    const QString notAPicture = test.dir.filePath("notes.png");
    QFile text(notAPicture);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all\n");
    text.close();

    report::Practitioner expected;
    expected.name = "Lynn Wynn";
    expected.contact = "12 Hill Road\nlynn@example.org";
    expected.reportTitle = "Your Numbers";
    expected.accent = {0x80, 0x20, 0x40};
    expected.paper = kestrava::Paper::Letter;
    expected.logoFile = QDir(ReportSettingsDialog::logoFolder()).filePath("logo.png");

    test.files.paths = {notAPicture, logo};
    {
        ModalScript script{[&](QWidget *dialog) {
            auto *settings = qobject_cast<ReportSettingsDialog *>(dialog);
            ASSERT_NE(settings, nullptr);
            // The defaults of a practitioner who never chose.
            EXPECT_EQ(settings->findChild<QLineEdit *>("txtReportTitle")->text(), "Numerology Report");
            settings->findChild<QLineEdit *>("txtPractitionerName")->setText(expected.name);
            settings->findChild<QPlainTextEdit *>("txtContact")->setPlainText(expected.contact);
            settings->findChild<QLineEdit *>("txtReportTitle")->setText(expected.reportTitle);
            settings->findChild<QPushButton *>("cmdChooseLogo")->click(); // refused
            settings->findChild<QPushButton *>("cmdChooseLogo")->click();
            settings->setAccent(expected.accent);
            settings->findChild<QComboBox *>("cboPaper")->setCurrentText("Letter");
            settings->accept();
        }};
        main->findChild<QAction *>("mnuReportSettings")->trigger();
        EXPECT_TRUE(script.done());
    }
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.contains("notes.png is not a picture the report can show"));
    EXPECT_EQ(ReportSettingsDialog::stored(), expected);
    EXPECT_EQ(readAll(expected.logoFile), readAll(logo));
    EXPECT_EQ(modeOf(expected.logoFile), 0600);
    EXPECT_EQ(modeOf(ReportSettingsDialog::logoFolder()), 0700);

    // The report window reads them, and its dialog opens on them; Cancel keeps them.
    ReportWindow *report = openReport();
    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    report->refreshNow();
    settle(report);
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_EQ(report->layout()->report().practitioner, expected);
    {
        ModalScript script{[&](QWidget *dialog) {
            EXPECT_EQ(dialog->findChild<QLineEdit *>("txtPractitionerName")->text(), expected.name);
            dialog->findChild<QLineEdit *>("txtPractitionerName")->setText("Someone Else");
            static_cast<QDialog *>(dialog)->reject();
        }};
        in<QPushButton>(report, "cmdSettings")->click();
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(ReportSettingsDialog::stored(), expected);

    // Removing the logo forgets it and its copy.
    {
        ModalScript script{[&](QWidget *dialog) {
            dialog->findChild<QPushButton *>("cmdRemoveLogo")->click();
            static_cast<QDialog *>(dialog)->accept();
        }};
        in<QPushButton>(report, "cmdSettings")->click();
        EXPECT_TRUE(script.done());
    }
    EXPECT_TRUE(ReportSettingsDialog::stored().logoFile.isEmpty());
    EXPECT_FALSE(QFile::exists(expected.logoFile));
    settle(report);
    EXPECT_TRUE(report->layout()->report().practitioner.logoFile.isEmpty());
}

TEST_F(ReportWindowTest, ExportSaveAndPrintWriteTheReportAndSayWhenTheyCannot)
{
    ReportWindow *report = openReport();
    settle(report);
    // Refused inputs are named instead of asking for a file.
    in<QPushButton>(report, "cmdExportPdf")->click();
    EXPECT_TRUE(test.files.requests.isEmpty());
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text, in<QLabel>(report, "lblRefused")->text());
    test.messages.shown.clear();

    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    sectionBox(report, SectionKind::Runes)->setChecked(true);
    const QString pdf = test.dir.filePath("mary.pdf");
    const QString html = test.dir.filePath("mary.html");
    test.files.paths = {pdf, html, test.dir.filePath("no-such-folder/mary.pdf")};
    in<QPushButton>(report, "cmdExportPdf")->click();
    in<QPushButton>(report, "cmdSaveWeb")->click();
    in<QPushButton>(report, "cmdExportPdf")->click();
    ASSERT_EQ(test.files.requests.size(), 3);
    EXPECT_EQ(test.files.requests[0].filter, "PDF files (*.pdf)");
    EXPECT_EQ(test.files.requests[1].filter, "Web pages (*.html)");
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(readAll(html).contains("MARY SMITH"));
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_TRUE(test.messages.shown[0].text.startsWith("The report could not be saved to "));

    // The printer's paper wins over the practitioner's (the locale's here).
    const QSize a4(595, 842), letter(612, 792);
    const bool onA4 = report->layout()->report().practitioner.paper == kestrava::Paper::A4;
    EXPECT_EQ(pageSizeOf(readAll(pdf)), onA4 ? a4 : letter);
    static_cast<PdfFilePrinter *>(test.printer.get())->paper = QPageSize(onA4 ? QPageSize::Letter : QPageSize::A4);
    in<QPushButton>(report, "cmdPrint")->click();
    EXPECT_EQ(pageSizeOf(readAll(test.dir.filePath("printed.pdf"))), onA4 ? letter : a4);
    EXPECT_EQ(test.messages.shown.size(), 1);
}

TEST_F(ReportWindowTest, AReportForAClientOfTheBookGoesIntoTheirHistoryUntilTheNameIsTypedOver)
{
    const clients::Client mary = addClient("MARY", "ANN", "SMITH", QDate(1979, 8, 6));
    main->openClientBook();
    clientBookWindow()->select(mary.id);
    auto *reportButton = clientBookWindow()->findChild<QPushButton *>("cmdReport");
    ASSERT_NE(reportButton, nullptr);
    reportButton->click();
    auto *report = qobject_cast<ReportWindow *>(window("frmReport"));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(in<QLineEdit>(report, "txtMiddleName")->text(), "ANN");
    settle(report);
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_EQ(report->layout()->report().clientName, "MARY ANN SMITH");

    test.files.paths = {test.dir.filePath("a.pdf"), test.dir.filePath("b.pdf")};
    in<QPushButton>(report, "cmdExportPdf")->click();
    in<QPushButton>(report, "cmdPrint")->click();
    const QList<clients::ReadingEntry> history = book().history(mary.id);
    ASSERT_EQ(history.size(), 2);
    EXPECT_TRUE(history[0].isReport());
    EXPECT_TRUE(history[1].isReport());
    // The exported one names its file; the printed one has none.
    QJsonObject exported = report::requestToJson(std::get<report::ReportRequest>(report->request()));
    EXPECT_EQ(QJsonDocument::fromJson(history[1].inputs.toUtf8()).object(), exported);
    exported.insert("file", QFileInfo(test.dir.filePath("a.pdf")).absoluteFilePath());
    EXPECT_EQ(QJsonDocument::fromJson(history[0].inputs.toUtf8()).object(), exported);
    EXPECT_TRUE(clients::entryDetails(history[0]).endsWith("; saved to a.pdf"))
        << clients::entryDetails(history[0]).toStdString();
    // The client book window shows them at once.
    EXPECT_EQ(clientBookWindow()->findChild<QTreeWidget *>("lstHistory")->topLevelItemCount(), 2);

    // Typed over, the person is no longer the client.
    QTest::keyClicks(in<QLineEdit>(report, "txtMiddleName"), "E");
    in<QPushButton>(report, "cmdExportPdf")->click();
    EXPECT_EQ(book().history(mary.id).size(), 2);
    EXPECT_TRUE(QFile::exists(test.dir.filePath("b.pdf")));
}

TEST_F(ReportWindowTest, TheSecondPersonOfTheCompatibilityComesFromTheBook)
{
    // As written in the book; the second person's fields take capitals.
    addClient("John", "", "Doe", QDate(1984, 2, 29));
    ReportWindow *report = openReport();
    ASSERT_NE(report, nullptr);
    typePerson(report, "MARY", "SMITH", QDate(1979, 8, 6));
    sectionBox(report, SectionKind::Compatibility)->click();
    ModalScript script{[](QWidget *dialog) {
        auto *search = dialog->findChild<QLineEdit *>("txtClientSearch");
        ASSERT_NE(search, nullptr);
        QTest::keyClicks(search, "doe");
        QTest::keyClick(search, Qt::Key_Return);
    }};
    in<QPushButton>(report, "cmdChoosePartner")->click();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(in<QLineEdit>(report, "txtPartnerFirstName")->text(), "JOHN");
    EXPECT_EQ(in<QLineEdit>(report, "txtPartnerLastName")->text(), "DOE");
    EXPECT_EQ(in<QComboBox>(report, "cboPartnerDate")->currentText(), "29");
    // The preview has them without the typing delay.
    EXPECT_FALSE(report->isRefreshPending());
    settle(report);
    EXPECT_TRUE(contents(report).contains("Compatibility with JOHN DOE"));
}

// Readable choices in failure messages.
void PrintTo(const ReportChoices &choices, std::ostream *os)
{
    QStringList sections;
    for (const SectionKind kind : choices.sections)
        sections << report::sectionKey(kind);
    *os << sections.join(u' ').toStdString() << (choices.comprehensive ? " comprehensive [" : " chosen [")
        << choices.readings.join(u' ').toStdString() << "] forecast " << choices.forecastFrom << " to "
        << choices.forecastTo << (choices.dealSpread ? " spread" : "") << (choices.married ? " married" : "");
}

namespace {

// The sections and options as the report window's controls show them.
QStringList shownChoices(ReportWindow *report)
{
    QStringList shown;
    for (const SectionKind kind : report::kSectionKinds) {
        if (report->findChild<QCheckBox *>(QStringLiteral("chkSection_") + report::sectionKey(kind))->isChecked())
            shown << report::sectionKey(kind);
    }
    shown << (report->findChild<QRadioButton *>("optComprehensive")->isChecked() ? "comprehensive" : "chosen");
    const QListWidget *readings = report->findChild<QListWidget *>("lstReadings");
    for (int row = 0; row < readings->count(); ++row) {
        if (readings->item(row)->checkState() == Qt::Checked)
            shown << readings->item(row)->data(Qt::UserRole).toString();
    }
    shown << QStringLiteral("%1 to %2")
                 .arg(report->findChild<QSpinBox *>("spnForecastFrom")->value())
                 .arg(report->findChild<QSpinBox *>("spnForecastTo")->value());
    if (report->findChild<QCheckBox *>("chkDealSpread")->isChecked())
        shown << "spread";
    if (report->findChild<QCheckBox *>("chkMarried")->isChecked())
        shown << "married";
    return shown;
}

} // namespace

TEST_F(ReportWindowTest, ANewReportStartsWithTheSectionsAndOptionsOfTheLastReportMade)
{
    // The practitioner's paper is kept with their settings, and a new
    // window's report is on it.
    {
        QSettings settings(report::suiteSettingsFile(), QSettings::IniFormat);
        report::Practitioner practitioner;
        practitioner.paper = kestrava::Paper::Letter;
        report::writePractitioner(settings, practitioner);
    }
    const QStringList defaults{"numerology", "comprehensive", "2026 to 2028"};
    const auto choose = [this](ReportWindow *report) {
        typePerson(report, "mary", "smith", QDate(1979, 8, 6));
        sectionBox(report, SectionKind::Forecast)->setChecked(true);
        sectionBox(report, SectionKind::Tarot)->setChecked(true);
        sectionBox(report, SectionKind::Compatibility)->setChecked(true);
        in<QRadioButton>(report, "optChosenReadings")->setChecked(true);
        in<QListWidget>(report, "lstReadings")->item(0)->setCheckState(Qt::Checked);
        in<QListWidget>(report, "lstReadings")->item(2)->setCheckState(Qt::Checked);
        in<QSpinBox>(report, "spnForecastFrom")->setValue(2027);
        in<QSpinBox>(report, "spnForecastTo")->setValue(2029);
        in<QCheckBox>(report, "chkDealSpread")->setChecked(true);
        in<QCheckBox>(report, "chkMarried")->setChecked(true);
        QTest::keyClicks(in<QLineEdit>(report, "txtPartnerFirstName"), "john");
        QTest::keyClicks(in<QLineEdit>(report, "txtPartnerLastName"), "doe");
        report->refreshNow();
        settle(report);
        ASSERT_NE(report->layout(), nullptr) << in<QLabel>(report, "lblRefused")->text().toStdString();
    };

    // Choices left without a report made, or with the file dialog cancelled,
    // are not kept.
    ReportWindow *report = openReport();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(shownChoices(report), defaults);
    choose(report);
    const QStringList chosen = shownChoices(report);
    EXPECT_NE(chosen, defaults);
    in<QPushButton>(report, "cmdExportPdf")->click();
    in<QPushButton>(report, "cmdSaveWeb")->click();
    report->close();
    ASSERT_EQ(test.files.requests.size(), 2);
    // The file is offered under the client's name and the report's date.
    EXPECT_EQ(test.files.requests[0].suggestedName, "Mary Smith – 2026-12-10.pdf");
    EXPECT_EQ(test.files.requests[1].suggestedName, "Mary Smith – 2026-12-10.html");
    report = openReport();
    EXPECT_EQ(shownChoices(report), defaults);

    // Exported: the next report starts as this one was, without the person.
    choose(report);
    const QString pdf = test.dir.filePath("made.pdf");
    test.files.paths = {pdf};
    in<QPushButton>(report, "cmdExportPdf")->click();
    ASSERT_TRUE(readAll(pdf).startsWith("%PDF"));
    EXPECT_EQ(pageSizeOf(readAll(pdf)), QSize(612, 792));
    report->close();
    report = openReport();
    EXPECT_EQ(shownChoices(report), chosen);
    EXPECT_TRUE(in<QLineEdit>(report, "txtFirstName")->text().isEmpty());
    EXPECT_TRUE(in<QLineEdit>(report, "txtPartnerFirstName")->text().isEmpty());
    // The options are live, not only ticked: the spread is dealt, the
    // marriage date can be set.
    EXPECT_TRUE(in<QWidget>(report, "dteMarried")->isEnabled());
    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    sectionBox(report, SectionKind::Compatibility)->setChecked(false);
    report->refreshNow();
    settle(report);
    ASSERT_NE(report->layout(), nullptr) << in<QLabel>(report, "lblRefused")->text().toStdString();
    bool dealt = false;
    for (const report::ReportSection &section : report->layout()->report().sections)
        dealt = dealt || (section.kind == SectionKind::Tarot && section.cards.size() == 9);
    EXPECT_TRUE(dealt);
    EXPECT_EQ(report->layout()->pageSize(), QSizeF(612, 792));

    // Printed: kept too.  The forecast is kept as years from now on.
    in<QCheckBox>(report, "chkDealSpread")->setChecked(false);
    in<QRadioButton>(report, "optComprehensive")->setChecked(true);
    in<QCheckBox>(report, "chkMarried")->setChecked(false);
    const QStringList printed = shownChoices(report);
    in<QPushButton>(report, "cmdPrint")->click();
    EXPECT_TRUE(test.messages.shown.isEmpty());
    report->close();
    test.clock.set(QDateTime(QDate(2027, 3, 1), QTime(9, 0)));
    report = openReport();
    QStringList nextYear = printed;
    nextYear.replace(nextYear.indexOf("2027 to 2029"), "2028 to 2030");
    EXPECT_EQ(shownChoices(report), nextYear);
}

TEST_F(ReportWindowTest, DamagedRememberedChoicesFallBackToTodaysDefaults)
{
    using Stored = std::vector<std::pair<const char *, const char *>>;
    const struct
    {
        const char *what;
        Stored stored;
        ReportChoices expected;
    } rows[] = {
        {"garbage everywhere",
         {{"ReportSections", "§§ horoscope"},
          {"ReportNumerology", "Chosen"},
          {"ReportReadings", "noSuchReading"},
          {"ReportForecastFrom", "abc"},
          {"ReportForecastTo", "2"},
          {"ReportDealSpread", "maybe"},
          {"ReportMarried", "1"}},
         {}},
        {"unknown sections and readings left out",
         {{"ReportSections", "horoscope tarot tarot"},
          {"ReportNumerology", "Chosen"},
          {"ReportReadings", "nonsense lifePath"}},
         [] {
             ReportChoices kept;
             kept.sections = {SectionKind::Tarot};
             kept.comprehensive = false;
             kept.readings = {"lifePath"};
             return kept;
         }()},
        {"ticks kept beside the comprehensive reading, in the list's order",
         {{"ReportNumerology", "Comprehensive"}, {"ReportReadings", "destiny lifePath"}},
         [] {
             ReportChoices kept;
             kept.readings = {"lifePath", "destiny"};
             return kept;
         }()},
        {"a backwards forecast", {{"ReportForecastFrom", "3"}, {"ReportForecastTo", "1"}}, {}},
        {"a forecast of thousands of years", {{"ReportForecastFrom", "0"}, {"ReportForecastTo", "5000"}}, {}},
        {"a forecast past the last year", {{"ReportForecastFrom", "8000"}, {"ReportForecastTo", "8001"}}, {}},
        {"last year to this one", {{"ReportForecastFrom", "-1"}, {"ReportForecastTo", "0"}},
         [] {
             ReportChoices kept;
             kept.forecastFrom = -1;
             kept.forecastTo = 0;
             return kept;
         }()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QSettings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                  QCoreApplication::applicationName())
            .remove(QStringLiteral("Settings"));
        for (const auto &[key, value] : row.stored)
            platform::writeSetting(QString::fromUtf8(key), QString::fromUtf8(value));
        EXPECT_EQ(ReportChoices::stored(2026), row.expected);
    }

    // A window opened on damaged values is a new report's window, and works.
    for (const auto &[key, value] : rows[0].stored)
        platform::writeSetting(QString::fromUtf8(key), QString::fromUtf8(value));
    ReportWindow *report = openReport();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(shownChoices(report), QStringList({"numerology", "comprehensive", "2026 to 2028"}));
    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    report->refreshNow();
    settle(report);
    EXPECT_NE(report->layout(), nullptr);
}

TEST_F(ReportWindowTest, AChangeWhileTheReportIsLaidOutShowsOnlyTheNewestFields)
{
    ReportWindow *report = openReport();
    ASSERT_NE(report, nullptr);
    settle(report);
    // Every section, so that the layout takes a while.
    for (const SectionKind kind : report::kSectionKinds)
        sectionBox(report, kind)->setChecked(true);
    QTest::keyClicks(in<QLineEdit>(report, "txtPartnerFirstName"), "john");
    QTest::keyClicks(in<QLineEdit>(report, "txtPartnerLastName"), "doe");
    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    // Each preview shown, as the client's name it was shown for.
    QStringList shown;
    QObject::connect(report, &ReportWindow::previewReady, report, [&shown, report] {
        shown << (report->layout() ? report->layout()->report().clientName : QStringLiteral("refused"));
    });

    struct Row
    {
        const char *what;
        std::function<void()> change;
        QString expected;
    };
    const Row rows[] = {
        {"a name typed on", [&] { QTest::keyClicks(in<QLineEdit>(report, "txtLastName"), "son"); }, "MARY SMITHSON"},
        // Refused on this thread, at once; the layout on its way must not cover the reason.
        {"a day the month lacks",
         [&] {
             ASSERT_TRUE(inputfields::selectDate({in<QComboBox>(report, "cboMonth"), in<QComboBox>(report, "cboDate"),
                                                  in<QComboBox>(report, "cboYear")},
                                                 QDate(1979, 1, 31)));
             in<QComboBox>(report, "cboMonth")->setCurrentIndex(1);
             report->refreshNow();
             EXPECT_TRUE(refused(report));
         },
         "refused"},
        // Refused by the report itself, which the layout off the window thread finds.
        {"the first name taken out", [&] { in<QLineEdit>(report, "txtFirstName")->clear(); }, "refused"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        in<QLineEdit>(report, "txtFirstName")->setText("MARY");
        in<QLineEdit>(report, "txtLastName")->setText("SMITH");
        ASSERT_TRUE(inputfields::selectDate({in<QComboBox>(report, "cboMonth"), in<QComboBox>(report, "cboDate"),
                                             in<QComboBox>(report, "cboYear")},
                                            QDate(1979, 8, 6)));
        settle(report);
        shown.clear();
        // The layout of MARY SMITH is on its way when the fields change.
        report->refreshNow();
        ASSERT_FALSE(report->isPreviewCurrent());
        row.change();
        settle(report);
        // Only what the newest fields make was ever shown.
        ASSERT_EQ(shown.size(), 1) << shown.join(", ").toStdString();
        EXPECT_EQ(shown.last(), row.expected);
        EXPECT_EQ(refused(report), row.expected == "refused");
        EXPECT_EQ(in<QLabel>(report, "lblRefused")->text().isEmpty(), row.expected != "refused");
        // The page count speaks of the pages shown, and of none when there are none.
        const QString pageCount = in<QLabel>(report, "lblPageCount")->text();
        if (report->layout()) {
            EXPECT_EQ(pageCount, report::pageFooter(1, report->layout()->pageCount()));
            EXPECT_EQ(in<QWidget>(report, "picPages")->findChildren<QWidget *>().size(),
                      report->layout()->pageCount());
        } else {
            EXPECT_TRUE(pageCount.isEmpty());
        }
    }
    EXPECT_EQ(in<QLabel>(report, "lblRefused")->text(), "Please Enter Your First Name");
}

TEST_F(ReportWindowTest, ExportWhileTheReportIsLaidOutWritesTheNewestFields)
{
    ReportWindow *report = openReport();
    ASSERT_NE(report, nullptr);
    tickAllButCompatibility(report);
    typePerson(report, "mary", "smith", QDate(1979, 8, 6));
    report->refreshNow();
    // Typed on while MARY SMITH is laid out, and saved before the preview caught up.
    QTest::keyClicks(in<QLineEdit>(report, "txtLastName"), "son");
    ASSERT_TRUE(report->isRefreshPending());
    const QString html = test.dir.filePath("newest.html");
    test.files.paths = {html};
    in<QPushButton>(report, "cmdSaveWeb")->click();
    EXPECT_TRUE(readAll(html).contains("MARY SMITHSON"));
    // The preview shows what was saved, and the older layout, when it
    // arrives, does not replace it.
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_EQ(report->layout()->report().clientName, "MARY SMITHSON");
    EXPECT_TRUE(report->isPreviewCurrent());
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(50);
    ASSERT_NE(report->layout(), nullptr);
    EXPECT_EQ(report->layout()->report().clientName, "MARY SMITHSON");
}

TEST_F(ReportWindowTest, ClosingTheWindowWhileTheReportIsLaidOutIsSafe)
{
    // Again and again: the layout may end at any moment of the closing.
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        QPointer<ReportWindow> report = openReport();
        ASSERT_NE(report, nullptr);
        tickAllButCompatibility(report);
        typePerson(report, "mary", "smith", QDate(1979, 8, 6));
        report->refreshNow();
        if (round % 2 == 1) {
            // One layout on its way and the next waiting for it.
            QTest::keyClicks(in<QLineEdit>(report, "txtLastName"), "son");
            report->refreshNow();
        }
        // A moment longer each round, so that the closing meets the layout
        // at different stages.
        QTest::qWait(round * 15);
        in<QPushButton>(report, "cmdClose")->click();
        ASSERT_TRUE(QTest::qWaitFor([&report] { return report.isNull(); }, 5000));
    }
    // The layouts finish with nobody to show them to.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(window("frmReport"), nullptr);
}
