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

#include <QFutureWatcher>
#include <QImage>
#include <QPageSize>
#include <QTimer>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <variant>

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
    ~ReportWindow() override;

    // Fills the person from a client of the book; the reports saved or
    // printed while the fields still hold them go into the client's history.
    void showClient(const clients::Client &client);

    // The request as the fields hold it, or why they cannot make one.
    std::variant<report::ReportRequest, kestrava::Failure> request() const;

    // The report as the preview shows it, laid out and its pages painted off
    // the window thread: values only, since a layout's text documents belong
    // to the thread that made them.
    class Preview
    {
    public:
        const report::Report &report() const { return m_report; }
        int pageCount() const { return int(m_pages.size()); }
        QList<report::ReportLayout::Entry> contents() const { return m_contents; }
        // The page's size in points.
        QSizeF pageSize() const { return m_pageSize; }
        // One page (from 0) at the preview's scale.
        const QImage &pageImage(int page) const { return m_pages.at(page); }

    private:
        friend class ReportWindow;
        report::Report m_report;
        QList<report::ReportLayout::Entry> m_contents;
        QSizeF m_pageSize;
        QList<QImage> m_pages;
    };

    // Starts laying the report of the fields out without waiting for
    // kPreviewDelayMs; the pages are shown when they are ready (previewReady).
    void refreshNow();
    bool isRefreshPending() const { return m_refresh.isActive(); }
    // Whether the preview shows the fields as they are now: no change waits
    // for its delay or for a layout on its way.
    bool isPreviewCurrent() const;
    // The report as the preview shows it; null while the inputs are refused.
    const Preview *layout() const { return m_preview.get(); }

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

signals:
    // The preview has caught up with the fields: their pages, or why they
    // make no report, are shown.
    void previewReady();

private:
    // What a layout off the window thread is made from, and what it gives back.
    struct PreviewJob
    {
        quint64 generation = 0;
        report::ReportRequest request;
        report::Practitioner practitioner;
        qreal pixelRatio = 1;
    };
    struct PreviewBuild
    {
        quint64 generation = 0;
        std::shared_ptr<const Preview> preview; // null when the report is refused
        QString refusal;
    };
    // Composes, lays out and paints; gives up early, with nothing, once the
    // newest request is no longer the job's.
    static PreviewBuild buildPreview(const PreviewJob &job, const std::atomic<quint64> &newest);
    quint64 nextGeneration();
    // The job for the fields as they are now, or why they make no report.
    std::variant<PreviewJob, QString> jobNow();
    void startBuild();
    void previewBuilt();
    void showBuild(const PreviewBuild &build);
    // The preview brought up to the fields, made here and now when it is
    // behind (the user waits for a file); null when the fields are refused.
    const Preview *currentPreview();

    QWidget *buildPersonGroup();
    QWidget *buildSectionsGroup();
    QWidget *buildPreview();
    void changed();
    void showPages();
    void updatePageCount();
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

    // Each change the preview is asked to follow counts one up; a layout made
    // for an older count is dropped when it arrives.
    quint64 m_generation = 0;
    quint64 m_shownGeneration = 0;
    // The count as the layouts on their way read it (0 once the window is gone).
    std::shared_ptr<std::atomic<quint64>> m_newest = std::make_shared<std::atomic<quint64>>(0);
    // At most one layout is made at a time; the newest request waits for it.
    bool m_building = false;
    std::optional<PreviewJob> m_waiting;
    QFutureWatcher<PreviewBuild> m_built;
    std::shared_ptr<const Preview> m_preview;
    bool m_printing = false;
};
