#pragma once

#include "clients/client.h"
#include "common/failure.h"
#include "report/reportcontent.h"
#include "report/reportfiles.h"
#include "report/reportlayout.h"
#include "report/ui/reportchoices.h"
#include "tarot/spread.h"
#include "widgets/inputfields.h"
#include "widgets/programwindow.h"

#include <QPageSize>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

class ClientLink;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QVBoxLayout;

// The report window (frmReport): the person (typed, or a client of the
// book), the sections with their options, and a preview of the pages that
// follows every change a moment later.  The report is exported as PDF,
// saved as one web page, or printed on the printer's own paper.
class ReportWindow : public ProgramWindow
{
    Q_OBJECT
public:
    // How long the preview waits after a change before it lays the report
    // out again: typing a name redraws it once, not at every letter.
    static constexpr int kPreviewDelayMs = 150;

    explicit ReportWindow(ProgramHost &host);

    // Fills the person from a client of the book; the reports saved or
    // printed while the fields still hold them go into the client's history.
    void showClient(const clients::Client &client);

    // The request as the fields hold it, or why they cannot make one.
    std::variant<report::ReportRequest, kestrava::Failure> request() const;

    // Composes and lays the report out at once (the preview otherwise waits
    // kPreviewDelayMs after the last change).
    void refreshNow();
    bool isRefreshPending() const { return m_refresh.isActive(); }
    // The report as the preview shows it; null while the inputs are refused.
    const report::ReportLayout *layout() const { return m_layout.get(); }

    void exportPdf();
    void saveWebPage();
    void print();
    // Report Settings; the preview follows what was stored.
    void editSettings();
    // Fills the second person of the compatibility section from a client of the book.
    void choosePartner();
    // The name fields and date lists of one person: the report's or the second one.
    struct PersonFields
    {
        QLineEdit *first;
        QLineEdit *middle;
        QLineEdit *last;
        inputfields::DateLists born;
    };
    // Fills them from the person; says so and fills nothing when the lists
    // cannot show the birth date.
    bool fillPerson(const PersonFields &fields, const kestrava::Person &person);
    // The practitioner's settings changed elsewhere.
    void settingsChanged() { refreshNow(); }

    // The paper of the report closest to a printer's: A4 or Letter.
    static kestrava::Paper paperFor(const QPageSize &printerPaper);

    // The sections and options as the window holds them; a new window starts
    // with those of the last report made.
    ReportChoices choices() const;
    void applyChoices(const ReportChoices &choices);

private:
    QWidget *buildPersonGroup();
    QWidget *buildSectionsGroup();
    QWidget *buildPreview();
    void changed();
    void showPages();
    void updatePageCount();
    // The report of the fields, composed now; the refusal shown when there is none.
    std::optional<report::Report> currentReport();
    void save(report::ReportFormat format);
    // Puts the report into the client's history when the fields hold a
    // client, with the file it was written to when it was saved.
    void recordReport(const report::ReportRequest &request, const QString &file = {});
    std::optional<kestrava::Person> partner() const;

    QTimer m_refresh;
    ClientLink *m_link = nullptr;

    QLineEdit *m_first = nullptr;
    QLineEdit *m_middle = nullptr;
    QLineEdit *m_last = nullptr;
    inputfields::DateLists m_born;

    std::map<report::SectionKind, QCheckBox *> m_sections;
    QRadioButton *m_comprehensive = nullptr;
    QRadioButton *m_chosenReadings = nullptr;
    QListWidget *m_readings = nullptr;
    QSpinBox *m_forecastFrom = nullptr;
    QSpinBox *m_forecastTo = nullptr;
    QCheckBox *m_dealSpread = nullptr;
    std::optional<tarot::SpreadCards> m_spread;
    QDateEdit *m_dailyDate = nullptr;
    QLineEdit *m_partnerFirst = nullptr;
    QLineEdit *m_partnerMiddle = nullptr;
    QLineEdit *m_partnerLast = nullptr;
    inputfields::DateLists m_partnerBorn;
    QCheckBox *m_married = nullptr;
    QDateEdit *m_marriageDate = nullptr;

    QStackedWidget *m_previewStack = nullptr;
    QScrollArea *m_previewArea = nullptr;
    QWidget *m_pages = nullptr;
    QVBoxLayout *m_pagesLayout = nullptr;
    QLabel *m_refused = nullptr;
    QLabel *m_pageCount = nullptr;
    QPushButton *m_printButton = nullptr;

    std::shared_ptr<const report::ReportLayout> m_layout;
    bool m_printing = false;
};
