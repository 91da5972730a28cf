#include "report/ui/reportwindow.h"

#include "clients/clientbook.h"
#include "common/filenames.h"
#include "common/person.h"
#include "numpro/readings/readinglist.h"
#include "numpro/relationships/marriagevibration.h"
#include "report/ui/reportsettingsdialog.h"
#include "shell/commonmenus.h"
#include "widgets/clientlink.h"
#include "widgets/clientpicker.h"
#include "widgets/programhost.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QJsonDocument>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QThreadPool>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using report::SectionKind;

namespace {

// The preview's scale: a whole A4 page about as wide as a third of the screen.
constexpr qreal kPreviewDpi = 60;

// One page of the preview, painted when the report was laid out.
class PagePreview : public QWidget
{
public:
    PagePreview(std::shared_ptr<const ReportWindow::Preview> preview, int page, QWidget *parent)
        : QWidget(parent)
        , m_preview(std::move(preview))
        , m_page(page)
    {
        setFixedSize((m_preview->pageSize() * kPreviewDpi / 72).toSize());
        setAccessibleName(report::pageFooter(page + 1, m_preview->pageCount()));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        // Painted for the screen the window was on when the fields changed;
        // on another screen it is scaled until the next change.
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_preview->pageImage(m_page));
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    std::shared_ptr<const ReportWindow::Preview> m_preview;
    int m_page;
};

QDate datePicked(const inputfields::DateLists &lists)
{
    return QDate(lists.year->currentText().toInt(), lists.month->currentIndex() + 1, lists.day->currentText().toInt());
}

QDateEdit *dateField(const QString &name, QDate date, QWidget *parent)
{
    auto *field = new QDateEdit(date, parent);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    field->setDisplayFormat(u"d MMMM yyyy"_s);
    field->setLocale(QLocale(QLocale::English));
    return field;
}

QString withoutAccelerators(QString caption)
{
    return caption.remove(u'&');
}

} // namespace

ReportWindow::ReportWindow(ProgramHost &host)
    : ProgramWindow(host, u"frmReport"_s, tr("Practitioner's Report"))
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kPreviewDelayMs);
    connect(&m_refresh, &QTimer::timeout, this, &ReportWindow::refreshNow);
    connect(&m_built, &QFutureWatcher<PreviewBuild>::finished, this, &ReportWindow::previewBuilt);

    QWidget *page = body();
    auto *inputs = new QWidget;
    auto *inputsLayout = new QVBoxLayout(inputs);
    inputsLayout->setContentsMargins(0, 0, 0, 0);
    inputsLayout->addWidget(buildPersonGroup());
    inputsLayout->addWidget(buildSectionsGroup());
    inputsLayout->addStretch();
    auto *inputsArea = new QScrollArea(page);
    inputsArea->setObjectName(u"scrInputs"_s);
    inputsArea->setWidget(inputs);
    inputsArea->setWidgetResizable(true);
    inputsArea->setFrameShape(QFrame::NoFrame);
    inputsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    inputsArea->setMinimumWidth(inputs->sizeHint().width() + inputsArea->verticalScrollBar()->sizeHint().width());

    auto *splitter = new QSplitter(page);
    splitter->setObjectName(u"splReport"_s);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(inputsArea);
    splitter->addWidget(buildPreview());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    const auto button = [page](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, page);
        b->setObjectName(name);
        return b;
    };
    QPushButton *pdfButton = button(u"cmdExportPdf"_s, tr("Export as P&DF..."));
    QPushButton *webButton = button(u"cmdSaveWeb"_s, tr("Save as &Web Page..."));
    m_printButton = button(u"cmdPrint"_s, tr("&Print"));
    QPushButton *settingsButton = button(u"cmdSettings"_s, tr("Report Se&ttings..."));
    QPushButton *closeButton = button(u"cmdClose"_s, tr("Cl&ose"));
    connect(pdfButton, &QPushButton::clicked, this, &ReportWindow::exportPdf);
    connect(webButton, &QPushButton::clicked, this, &ReportWindow::saveWebPage);
    connect(m_printButton, &QPushButton::clicked, this, &ReportWindow::print);
    connect(settingsButton, &QPushButton::clicked, this, &ReportWindow::editSettings);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {pdfButton, webButton, m_printButton, settingsButton, closeButton})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    // File: the report's commands, then Exit (which closes this window).
    const auto item = [this](const QString &name, const QString &text, void (ReportWindow::*slot)()) {
        auto *action = new QAction(text, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    addCommonMenus(menuBar(), this,
                   {item(u"mnuExportPdf"_s, tr("Export as &PDF..."), &ReportWindow::exportPdf),
                    item(u"mnuSaveWeb"_s, tr("Save as &Web Page..."), &ReportWindow::saveWebPage),
                    item(u"mnuPrint"_s, tr("P&rint"), &ReportWindow::print), separator,
                    item(u"mnuReportSettings"_s, tr("Report &Settings..."), &ReportWindow::editSettings)},
                   [this] { close(); }, {.modalAbout = false});

    // The Clients menu: Choose Client (Ctrl+K), Add to Client Book, Client
    // Book.  The link only follows whether the fields still hold the client
    // chosen (its program is never used): a report's history entry is no
    // program's reading, and recordReport writes it.
    m_link = new ClientLink(*this, kestrava::ProgramId::NumerologyPro,
                            {.fill =
                                 [this](const kestrava::Person &person) {
                                     return fillPerson({m_first, m_middle, m_last, m_born}, person);
                                 },
                             .typed =
                                 [this]() -> std::optional<kestrava::Person> {
                                     return kestrava::Person{m_first->text(), m_middle->text(), m_last->text(),
                                                             datePicked(m_born), {}};
                                 },
                             .check =
                                 [this] {
                                     const auto made = request();
                                     if (const auto *failure = std::get_if<kestrava::Failure>(&made)) {
                                         this->host().services().messages->inform(this, platform::Icon::Information,
                                                                                  failure->reason);
                                         return false;
                                     }
                                     return true;
                                 },
                             .snapshot =
                                 [this] {
                                     return QStringList{m_first->text(), m_middle->text(), m_last->text(),
                                                        m_born.month->currentText(), m_born.day->currentText(),
                                                        m_born.year->currentText()};
                                 }});

    setTabOrder(m_first, m_middle);
    setTabOrder(m_middle, m_last);
    setTabOrder(m_last, m_born.month);
    setTabOrder(m_born.month, m_born.day);
    setTabOrder(m_born.day, m_born.year);
    setTabOrder(m_born.year, m_married);
    setTabOrder(m_married, m_marriageDate);

    applyChoices(ReportChoices::stored(host.services().clock->now().date().year()));

    resize(1180, 760);
    refreshNow();
    m_first->setFocus();
}

ReportWindow::~ReportWindow()
{
    // A layout still on its way stops at its next step.
    m_newest->store(0);
}

QWidget *ReportWindow::buildPersonGroup()
{
    auto *group = new QGroupBox(tr("Person"));
    group->setObjectName(u"fraPerson"_s);
    m_first = inputfields::makeNameField(u"txtFirstName"_s, group);
    m_middle = inputfields::makeNameField(u"txtMiddleName"_s, group);
    m_last = inputfields::makeNameField(u"txtLastName"_s, group);
    m_born = inputfields::makeDateLists(group);
    auto *choose = new QPushButton(tr("Choose Cli&ent..."), group);
    choose->setObjectName(u"cmdChooseClient"_s);
    connect(choose, &QPushButton::clicked, this, [this] { m_link->chooseClient(); });

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_born.month, 2);
    dateRow->addWidget(m_born.day, 1);
    dateRow->addWidget(m_born.year, 1);
    auto *form = new QFormLayout(group);
    form->addRow(tr("F&irst name:"), m_first);
    form->addRow(tr("&Middle name:"), m_middle);
    form->addRow(tr("La&st name:"), m_last);
    form->addRow(tr("&Born:"), dateRow);
    if (auto *born = qobject_cast<QLabel *>(form->labelForField(dateRow)))
        born->setBuddy(m_born.month);
    // The day of the marriage: the Marriage Vibration Number reads it, and
    // the compatibility section with it.  A day to come reads as the
    // wedding being chosen.
    m_married = new QCheckBox(tr("Married on"), group);
    m_married->setObjectName(u"chkMarried"_s);
    m_marriageDate = dateField(u"dteMarried"_s, host().services().clock->now().date(), group);
    m_marriageDate->setDateRange(QDate(numpro::kFirstMarriageYear, 1, 1), QDate(numpro::kLastMarriageYear, 12, 31));
    m_marriageDate->setEnabled(false);
    m_married->setAccessibleDescription(tr("The day of the marriage, read by the Marriage Vibration Number"));
    connect(m_married, &QCheckBox::toggled, m_marriageDate, &QWidget::setEnabled);
    connect(m_married, &QCheckBox::toggled, this, &ReportWindow::changed);
    connect(m_marriageDate, &QDateEdit::dateChanged, this, &ReportWindow::changed);
    form->addRow(m_married, m_marriageDate);
    form->addRow(QString(), choose);

    for (QLineEdit *field : {m_first, m_middle, m_last})
        connect(field, &QLineEdit::textChanged, this, &ReportWindow::changed);
    for (QComboBox *list : {m_born.month, m_born.day, m_born.year})
        connect(list, &QComboBox::currentIndexChanged, this, &ReportWindow::changed);
    return group;
}

QWidget *ReportWindow::buildSectionsGroup()
{
    auto *group = new QGroupBox(tr("Sections"));
    group->setObjectName(u"fraSections"_s);
    auto *layout = new QVBoxLayout(group);
    const QDate today = host().services().clock->now().date();

    // Each section's box, and under it the options it reads, enabled while it is ticked.
    const auto section = [&](SectionKind kind, const QString &caption, QWidget *options) {
        auto *box = new QCheckBox(caption, group);
        box->setObjectName(u"chkSection_"_s + report::sectionKey(kind));
        m_sections[kind] = box;
        layout->addWidget(box);
        if (options) {
            options->setEnabled(false);
            options->layout()->setContentsMargins(24, 0, 0, 4);
            layout->addWidget(options);
            connect(box, &QCheckBox::toggled, options, &QWidget::setEnabled);
        }
        connect(box, &QCheckBox::toggled, this, &ReportWindow::changed);
    };

    // Variduzeda Vad: the comprehensive reading, or the readings chosen.
    auto *numerology = new QWidget(group);
    auto *numerologyLayout = new QVBoxLayout(numerology);
    m_comprehensive = new QRadioButton(tr("The comprehensive readin&g"), numerology);
    m_comprehensive->setObjectName(u"optComprehensive"_s);
    m_comprehensive->setChecked(true);
    m_chosenReadings = new QRadioButton(tr("Chosen readings:"), numerology);
    m_chosenReadings->setObjectName(u"optChosenReadings"_s);
    m_readings = new QListWidget(numerology);
    m_readings->setObjectName(u"lstReadings"_s);
    m_readings->setAccessibleName(tr("Readings of the report"));
    for (const numpro::Reading &reading : numpro::readingList()) {
        if (!reading.isOffered())
            continue;
        auto *row = new QListWidgetItem(withoutAccelerators(reading.buttonCaption.toString()), m_readings);
        row->setData(Qt::UserRole, reading.id.toString());
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        row->setCheckState(Qt::Unchecked);
    }
    m_readings->setFixedHeight(m_readings->fontMetrics().height() * 7);
    m_readings->setEnabled(false);
    numerologyLayout->addWidget(m_comprehensive);
    numerologyLayout->addWidget(m_chosenReadings);
    numerologyLayout->addWidget(m_readings);
    connect(m_chosenReadings, &QRadioButton::toggled, m_readings, &QWidget::setEnabled);
    connect(m_chosenReadings, &QRadioButton::toggled, this, &ReportWindow::changed);
    connect(m_readings, &QListWidget::itemChanged, this, &ReportWindow::changed);
    section(SectionKind::Numerology, tr("&Variduzeda Vad"), numerology);
    // A report holds at least one section: it starts with the reading every client comes for.
    m_sections[SectionKind::Numerology]->setChecked(true);

    section(SectionKind::Timeline, tr("Life time&line"), nullptr);

    auto *forecast = new QWidget(group);
    auto *forecastLayout = new QHBoxLayout(forecast);
    const auto yearField = [forecast](const QString &name, int value) {
        auto *field = new QSpinBox(forecast);
        field->setObjectName(name);
        field->setRange(1, 9999);
        field->setValue(value);
        return field;
    };
    m_forecastFrom = yearField(u"spnForecastFrom"_s, today.year());
    m_forecastTo = yearField(u"spnForecastTo"_s, today.year() + 2);
    auto *fromLabel = new QLabel(tr("From"), forecast);
    fromLabel->setBuddy(m_forecastFrom);
    auto *toLabel = new QLabel(tr("to"), forecast);
    toLabel->setBuddy(m_forecastTo);
    forecastLayout->addWidget(fromLabel);
    forecastLayout->addWidget(m_forecastFrom);
    forecastLayout->addWidget(toLabel);
    forecastLayout->addWidget(m_forecastTo);
    forecastLayout->addStretch();
    connect(m_forecastFrom, &QSpinBox::valueChanged, this, &ReportWindow::changed);
    connect(m_forecastTo, &QSpinBox::valueChanged, this, &ReportWindow::changed);
    section(SectionKind::Forecast, tr("Fo&recast"), forecast);

    auto *tarot = new QWidget(group);
    auto *tarotLayout = new QHBoxLayout(tarot);
    m_dealSpread = new QCheckBox(tr("Deal a spread"), tarot);
    m_dealSpread->setObjectName(u"chkDealSpread"_s);
    tarotLayout->addWidget(m_dealSpread);
    tarotLayout->addStretch();
    // A spread is dealt once when asked for, and kept until it is taken out:
    // the preview must not deal again at every change.
    connect(m_dealSpread, &QCheckBox::toggled, this, [this](bool deal) {
        m_spread.reset();
        if (deal)
            m_spread = tarot::dealNumerologySpread(*this->host().services().random);
        changed();
    });
    section(SectionKind::Tarot, tr("T&arot numbers"), tarot);

    section(SectionKind::Astrology, tr("Fadic &number"), nullptr);
    section(SectionKind::Runes, tr("R&unes"), nullptr);
    section(SectionKind::Tantric, tr("Tantric chart"), nullptr);

    auto *daily = new QWidget(group);
    auto *dailyLayout = new QHBoxLayout(daily);
    m_dailyDate = dateField(u"dteDaily"_s, today, daily);
    auto *dayLabel = new QLabel(tr("Day"), daily);
    dayLabel->setBuddy(m_dailyDate);
    dailyLayout->addWidget(dayLabel);
    dailyLayout->addWidget(m_dailyDate);
    dailyLayout->addStretch();
    connect(m_dailyDate, &QDateEdit::dateChanged, this, &ReportWindow::changed);
    section(SectionKind::Daily, tr("Number of a da&y"), daily);

    // Compatibility: the second person, and the day they married when known.
    auto *partner = new QWidget(group);
    auto *partnerForm = new QFormLayout(partner);
    m_partnerFirst = inputfields::makeNameField(u"txtPartnerFirstName"_s, partner);
    m_partnerMiddle = inputfields::makeNameField(u"txtPartnerMiddleName"_s, partner);
    m_partnerLast = inputfields::makeNameField(u"txtPartnerLastName"_s, partner);
    m_partnerBorn = inputfields::makeDateLists(partner);
    m_partnerBorn.month->setObjectName(u"cboPartnerMonth"_s);
    m_partnerBorn.day->setObjectName(u"cboPartnerDate"_s);
    m_partnerBorn.year->setObjectName(u"cboPartnerYear"_s);
    auto *partnerDates = new QHBoxLayout;
    partnerDates->addWidget(m_partnerBorn.month, 2);
    partnerDates->addWidget(m_partnerBorn.day, 1);
    partnerDates->addWidget(m_partnerBorn.year, 1);
    partnerForm->addRow(tr("First name:"), m_partnerFirst);
    partnerForm->addRow(tr("Middle name:"), m_partnerMiddle);
    partnerForm->addRow(tr("Last name:"), m_partnerLast);
    partnerForm->addRow(tr("Born:"), partnerDates);
    auto *choosePartner = new QPushButton(tr("Choose Client..."), partner);
    choosePartner->setObjectName(u"cmdChoosePartner"_s);
    connect(choosePartner, &QPushButton::clicked, this, &ReportWindow::choosePartner);
    partnerForm->addRow(QString(), choosePartner);
    for (auto [field, buddy] : {std::pair<QWidget *, QWidget *>{m_partnerFirst, m_partnerFirst},
                                {m_partnerMiddle, m_partnerMiddle},
                                {m_partnerLast, m_partnerLast}}) {
        if (auto *label = qobject_cast<QLabel *>(partnerForm->labelForField(field)))
            label->setBuddy(buddy);
    }
    if (auto *born = qobject_cast<QLabel *>(partnerForm->labelForField(partnerDates)))
        born->setBuddy(m_partnerBorn.month);
    for (QLineEdit *field : {m_partnerFirst, m_partnerMiddle, m_partnerLast})
        connect(field, &QLineEdit::textChanged, this, &ReportWindow::changed);
    for (QComboBox *list : {m_partnerBorn.month, m_partnerBorn.day, m_partnerBorn.year})
        connect(list, &QComboBox::currentIndexChanged, this, &ReportWindow::changed);
    section(SectionKind::Compatibility, tr("Compatibility with"), partner);

    return group;
}

QWidget *ReportWindow::buildPreview()
{
    auto *side = new QWidget;
    m_pageCount = new QLabel(side);
    m_pageCount->setObjectName(u"lblPageCount"_s);
    m_pageCount->setAlignment(Qt::AlignCenter);

    m_pages = new QWidget;
    m_pages->setObjectName(u"picPages"_s);
    m_pagesLayout = new QVBoxLayout(m_pages);
    m_pagesLayout->setSpacing(14);
    m_pagesLayout->setContentsMargins(14, 14, 14, 14);
    m_pagesLayout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_previewArea = new QScrollArea;
    m_previewArea->setObjectName(u"scrPreview"_s);
    m_previewArea->setAccessibleName(tr("Preview of the report's pages"));
    m_previewArea->setWidget(m_pages);
    m_previewArea->setWidgetResizable(true);
    m_previewArea->setAlignment(Qt::AlignHCenter);
    m_previewArea->setBackgroundRole(QPalette::Dark);
    m_previewArea->setMinimumWidth(int(8.5 * kPreviewDpi) + 60);
    connect(m_previewArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &ReportWindow::updatePageCount);

    m_refused = new QLabel;
    m_refused->setObjectName(u"lblRefused"_s);
    m_refused->setWordWrap(true);
    m_refused->setAlignment(Qt::AlignCenter);
    m_refused->setMargin(24);

    m_previewStack = new QStackedWidget(side);
    m_previewStack->setObjectName(u"stkPreview"_s);
    m_previewStack->addWidget(m_previewArea);
    m_previewStack->addWidget(m_refused);

    auto *layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageCount);
    layout->addWidget(m_previewStack, 1);
    return side;
}

void ReportWindow::changed()
{
    // A layout on its way is now for older fields: dropped when it comes.
    nextGeneration();
    m_refresh.start();
}

std::optional<kestrava::Person> ReportWindow::partner() const
{
    kestrava::Person partner{m_partnerFirst->text(), m_partnerMiddle->text(), m_partnerLast->text(),
                             datePicked(m_partnerBorn), {}};
    if (partner.joinedName().isEmpty())
        return std::nullopt;
    return partner;
}

std::variant<report::ReportRequest, kestrava::Failure> ReportWindow::request() const
{
    report::ReportRequest request;
    request.person = {m_first->text(), m_middle->text(), m_last->text(), datePicked(m_born), {}};
    if (!request.person.birthDate.isValid()) {
        return kestrava::Failure{tr("%1 %2 has no day %3. Please choose the birth date again.")
                                     .arg(m_born.month->currentText(), m_born.year->currentText(),
                                          m_born.day->currentText())};
    }
    request.today = host().services().clock->now().date();
    for (const auto &[kind, box] : m_sections) {
        if (box->isChecked())
            request.sections.append(kind);
    }
    if (m_chosenReadings->isChecked()) {
        for (int row = 0; row < m_readings->count(); ++row) {
            const QListWidgetItem *item = m_readings->item(row);
            if (item->checkState() == Qt::Checked)
                request.numerologyReadings.append(item->data(Qt::UserRole).toString());
        }
        if (request.numerologyReadings.isEmpty() && request.sections.contains(SectionKind::Numerology))
            return kestrava::Failure{tr("Please tick the readings of the Variduzeda Vad section.")};
    }
    // The marriage vibration of the numerology section reads it, and the compatibility.
    if (m_married->isChecked())
        request.marriageDate = m_marriageDate->date();
    request.forecastFrom = m_forecastFrom->value();
    request.forecastTo = m_forecastTo->value();
    request.spread = m_spread;
    request.dailyDate = m_dailyDate->date();
    if (request.sections.contains(SectionKind::Compatibility)) {
        request.partner = partner();
        if (request.partner && !request.partner->birthDate.isValid()) {
            return kestrava::Failure{tr("%1 %2 has no day %3. Please choose the second person's birth date again.")
                                         .arg(m_partnerBorn.month->currentText(), m_partnerBorn.year->currentText(),
                                              m_partnerBorn.day->currentText())};
        }
    }
    return request;
}

std::variant<ReportWindow::PreviewJob, QString> ReportWindow::jobNow()
{
    auto made = request();
    if (auto *failure = std::get_if<kestrava::Failure>(&made))
        return failure->reason;
    return PreviewJob{nextGeneration(), std::move(std::get<report::ReportRequest>(made)),
                      ReportSettingsDialog::stored(), devicePixelRatioF()};
}

quint64 ReportWindow::nextGeneration()
{
    m_newest->store(++m_generation);
    return m_generation;
}

ReportWindow::PreviewBuild ReportWindow::buildPreview(const PreviewJob &job, const std::atomic<quint64> &newest)
{
    const auto stale = [&] { return newest.load() != job.generation; };
    auto composed = report::composeReport(job.request, job.practitioner);
    if (const auto *failure = std::get_if<kestrava::Failure>(&composed))
        return {job.generation, nullptr, failure->reason};
    if (stale())
        return {job.generation, nullptr, {}};
    // The layout lives and dies here: its documents keep the fonts of the
    // thread that laid them out, which another thread must not paint with.
    const report::ReportLayout layout(std::get<report::Report>(composed));
    auto preview = std::make_shared<Preview>();
    preview->m_report = layout.report();
    preview->m_contents = layout.contents();
    preview->m_pageSize = layout.pageLayout().fullRectPoints().size();
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (stale())
            return {job.generation, nullptr, {}};
        QImage image = layout.pageImage(page, kPreviewDpi * job.pixelRatio);
        image.setDevicePixelRatio(job.pixelRatio);
        preview->m_pages.append(std::move(image));
    }
    return {job.generation, std::move(preview), {}};
}

void ReportWindow::refreshNow()
{
    m_refresh.stop();
    auto job = jobNow();
    if (const QString *refusal = std::get_if<QString>(&job)) {
        // Shown at once; a layout on its way is for older fields.
        m_waiting.reset();
        showBuild({nextGeneration(), nullptr, *refusal});
        return;
    }
    // A layout already on its way finishes first, and is dropped: laying out
    // two at once would only slow the newest down.
    m_waiting = std::move(std::get<PreviewJob>(job));
    if (!m_building)
        startBuild();
}

void ReportWindow::startBuild()
{
    PreviewJob job = std::move(*m_waiting);
    m_waiting.reset();
    m_building = true;
    auto promise = std::make_shared<QPromise<PreviewBuild>>();
    promise->start();
    m_built.setFuture(promise->future());
    // The job holds values only, so the window may close while it runs: the
    // watcher goes with the window, and the result with the job.
    QThreadPool::globalInstance()->start([promise, job = std::move(job), newest = m_newest] {
        promise->addResult(buildPreview(job, *newest));
        promise->finish();
    });
}

void ReportWindow::previewBuilt()
{
    m_building = false;
    if (m_built.future().resultCount() > 0) {
        const PreviewBuild build = m_built.result();
        if (build.generation == m_generation)
            showBuild(build);
    }
    m_built.setFuture(QFuture<PreviewBuild>());
    if (m_waiting)
        startBuild();
}

void ReportWindow::showBuild(const PreviewBuild &build)
{
    m_shownGeneration = build.generation;
    m_preview = build.preview;
    m_refused->setText(build.refusal);
    showPages();
    emit previewReady();
}

bool ReportWindow::isPreviewCurrent() const
{
    return !m_refresh.isActive() && !m_waiting && m_shownGeneration == m_generation;
}

const ReportWindow::Preview *ReportWindow::currentPreview()
{
    const bool current = isPreviewCurrent();
    m_refresh.stop();
    if (current)
        return m_preview.get();
    // Made on this thread: whatever is on its way is for older fields.
    m_waiting.reset();
    auto job = jobNow();
    if (const QString *refusal = std::get_if<QString>(&job))
        showBuild({nextGeneration(), nullptr, *refusal});
    else
        showBuild(buildPreview(std::get<PreviewJob>(job), *m_newest));
    return m_preview.get();
}

void ReportWindow::showPages()
{
    const int scrolled = m_previewArea->verticalScrollBar()->value();
    while (QLayoutItem *item = m_pagesLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!m_preview) {
        m_previewStack->setCurrentWidget(m_refused);
        m_pageCount->clear();
        return;
    }
    for (int page = 0; page < m_preview->pageCount(); ++page)
        m_pagesLayout->addWidget(new PagePreview(m_preview, page, m_pages));
    m_previewStack->setCurrentWidget(m_previewArea);
    // The preview stays where the reader was, as far as the pages now reach.
    m_pages->adjustSize();
    m_previewArea->verticalScrollBar()->setValue(scrolled);
    updatePageCount();
}

void ReportWindow::updatePageCount()
{
    if (!m_preview || m_preview->pageCount() == 0 || m_pagesLayout->count() == 0) {
        m_pageCount->clear();
        return;
    }
    // The page at the middle of the view is the one being read.  Worked out
    // from the pages' common size rather than their places, which the layout
    // only gives them once it has run.
    const QWidget *first = m_pagesLayout->itemAt(0)->widget();
    const int pitch = first->height() + m_pagesLayout->spacing();
    const int middle = m_previewArea->verticalScrollBar()->value() + m_previewArea->viewport()->height() / 2
                       - m_pagesLayout->contentsMargins().top();
    const int shown = qBound(0, middle / qMax(1, pitch), m_preview->pageCount() - 1);
    m_pageCount->setText(report::pageFooter(shown + 1, m_preview->pageCount()));
}

void ReportWindow::showClient(const clients::Client &client)
{
    m_link->fillFor(client.person, client.id);
    refreshNow();
}

void ReportWindow::save(report::ReportFormat format)
{
    const Preview *preview = currentPreview();
    const auto made = request();
    if (!preview || !std::holds_alternative<report::ReportRequest>(made)) {
        host().services().messages->inform(this, platform::Icon::Information, m_refused->text());
        return;
    }
    // The preview may change while the file dialog is open.
    const report::Report shown = preview->report();
    platform::FileRequest fileRequest =
        format == report::ReportFormat::Pdf
            ? platform::FileRequest{tr("Export as PDF"), tr("PDF files (*.pdf)"), u"pdf"_s}
            : platform::FileRequest{tr("Save as Web Page"), tr("Web pages (*.html)"), u"html"_s};
    fileRequest.suggestedName =
        kestrava::suggestedFileName(shown.clientName, shown.date, fileRequest.defaultSuffix, tr("Report"));
    const ReportChoices chosen = choices();
    const std::optional<QString> path = host().services().files->saveFile(this, fileRequest);
    if (!path || !isOpen())
        return;
    if (const kestrava::MaybeFailure failure = report::writeReport(shown, format, *path)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("The report could not be saved to %1.\n%2")
                                               .arg(QDir::toNativeSeparators(*path), failure->reason));
        return;
    }
    chosen.store();
    recordReport(std::get<report::ReportRequest>(made), *path);
}

void ReportWindow::exportPdf()
{
    save(report::ReportFormat::Pdf);
}

void ReportWindow::saveWebPage()
{
    save(report::ReportFormat::Html);
}

kestrava::Paper ReportWindow::paperFor(const QPageSize &printerPaper)
{
    // Letter is wider and shorter than A4: the nearer of the two by size.
    const QSizeF size = printerPaper.size(QPageSize::Point);
    const auto distance = [&size](QPageSize::PageSizeId id) {
        const QSizeF other = QPageSize(id).size(QPageSize::Point);
        return qAbs(size.width() - other.width()) + qAbs(size.height() - other.height());
    };
    return distance(QPageSize::Letter) < distance(QPageSize::A4) ? kestrava::Paper::Letter : kestrava::Paper::A4;
}

void ReportWindow::print()
{
    if (m_printing)
        return;
    const Preview *preview = currentPreview();
    const auto made = request();
    if (!preview || !std::holds_alternative<report::ReportRequest>(made)) {
        host().services().messages->inform(this, platform::Icon::Information, m_refused->text());
        return;
    }
    m_printing = true;
    m_printButton->setEnabled(false);
    setCursor(Qt::BusyCursor);
    // The job may outlive this window: it takes the report with it, and the
    // outcome is told over the main window when this one has closed.
    const report::Report shown = preview->report();
    const QPointer<ReportWindow> self(this);
    const QPointer<QWidget> mainWindow(window());
    platform::MessageBoxes *messages = host().services().messages;
    const report::ReportRequest given = std::get<report::ReportRequest>(made);
    const ReportChoices chosen = choices();
    host().services().printer->printPdf(
        [shown](const QPageSize &paper) {
            report::Report onPaper = shown;
            onPaper.practitioner.paper = paperFor(paper);
            const report::ReportLayout layout(onPaper);
            return report::reportPdf(layout);
        },
        [self, mainWindow, messages, given, chosen](const kestrava::MaybeFailure &failure) {
            QWidget *over = mainWindow;
            if (self) {
                self->m_printing = false;
                self->m_printButton->setEnabled(true);
                self->unsetCursor();
                if (self->isOpen())
                    over = self;
            }
            if (failure) {
                if (over)
                    messages->inform(over, platform::Icon::Error,
                                     tr("The report could not be printed.\n%1").arg(failure->reason));
                return;
            }
            // Printed: the next report starts from this one, even when its
            // window has closed meanwhile.
            chosen.store();
            if (self && self->isOpen())
                self->recordReport(given);
        });
}

bool ReportWindow::fillPerson(const PersonFields &fields, const kestrava::Person &person)
{
    if (!inputfields::selectDate(fields.born, person.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           ClientLink::dateNotListed(person.birthDate));
        return false;
    }
    // The book keeps names as written; the report reads them as typing them would.
    const kestrava::Person reading = kestrava::readingPerson(person);
    fields.first->setText(reading.firstName);
    fields.middle->setText(reading.middleName);
    fields.last->setText(reading.lastName);
    return true;
}

void ReportWindow::choosePartner()
{
    clients::ClientBook &book = host().clientBook();
    if (!book.isReadable()) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           book.problem() ? book.problem()->message : QString());
        return;
    }
    const std::optional<clients::Client> chosen = ClientPicker::choose(this, book);
    if (!chosen || !isOpen())
        return;
    // The book keeps names as written; the compatibility reads them in capitals.
    if (fillPerson({m_partnerFirst, m_partnerMiddle, m_partnerLast, m_partnerBorn},
                   kestrava::readingPerson(chosen->person)))
        refreshNow();
}

void ReportWindow::editSettings()
{
    if (ReportSettingsDialog::edit(this, host().services()) && isOpen())
        refreshNow();
}

void ReportWindow::recordReport(const report::ReportRequest &request, const QString &file)
{
    const qint64 clientId = m_link->clientId();
    if (clientId == 0)
        return;
    QJsonObject made = report::requestToJson(request);
    // The history says where a saved report went.
    if (!file.isEmpty())
        made.insert(u"file"_s, QFileInfo(file).absoluteFilePath());
    const QString inputs = QString::fromUtf8(QJsonDocument(made).toJson(QJsonDocument::Compact));
    const clients::Result<clients::ReadingEntry> added = host().clientBook().addReading(
        clients::ReadingEntry::report(clientId, host().services().clock->now().toUTC(), inputs));
    if (!added) {
        host().services().messages->inform(
            this, platform::Icon::Error,
            tr("The report could not be added to the client's history: %1").arg(added.failure().reason));
        return;
    }
    host().clientBookChanged();
}

ReportChoices ReportWindow::choices() const
{
    ReportChoices choices;
    choices.sections.clear();
    for (const auto &[kind, box] : m_sections) {
        if (box->isChecked())
            choices.sections.append(kind);
    }
    choices.comprehensive = m_comprehensive->isChecked();
    for (int row = 0; row < m_readings->count(); ++row) {
        const QListWidgetItem *item = m_readings->item(row);
        if (item->checkState() == Qt::Checked)
            choices.readings.append(item->data(Qt::UserRole).toString());
    }
    const int thisYear = host().services().clock->now().date().year();
    choices.forecastFrom = m_forecastFrom->value() - thisYear;
    choices.forecastTo = m_forecastTo->value() - thisYear;
    choices.dealSpread = m_dealSpread->isChecked();
    choices.married = m_married->isChecked();
    return choices;
}

void ReportWindow::applyChoices(const ReportChoices &choices)
{
    for (const auto &[kind, box] : m_sections)
        box->setChecked(choices.sections.contains(kind));
    (choices.comprehensive ? m_comprehensive : m_chosenReadings)->setChecked(true);
    for (int row = 0; row < m_readings->count(); ++row) {
        QListWidgetItem *item = m_readings->item(row);
        item->setCheckState(choices.readings.contains(item->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                          : Qt::Unchecked);
    }
    const int thisYear = host().services().clock->now().date().year();
    m_forecastFrom->setValue(thisYear + choices.forecastFrom);
    m_forecastTo->setValue(thisYear + choices.forecastTo);
    // Ticking the box deals a fresh spread, as ticking it by hand does.
    m_dealSpread->setChecked(choices.dealSpread);
    m_married->setChecked(choices.married);
}
