#include "numpro/ui/lifetimelinewindow.h"
#include "common/filenames.h"

#include "numpro/ui/numproprogram.h"
#include "richtext/composition.h"
#include "shell/commonmenus.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolTip>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TimelineView::TimelineView(numpro::LifeTimeline timeline, QWidget *parent)
    : QWidget(parent)
    , m_picture(std::move(timeline))
{
    setObjectName(u"picTimeline"_s);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Life timeline picture"));
    setAccessibleDescription(tr("The same values are in the table that \"Show as table\" shows."));
}

QSize TimelineView::sizeHint() const
{
    return numpro::TimelinePicture::naturalSize();
}

QSize TimelineView::minimumSizeHint() const
{
    return QSize(numpro::TimelinePicture::kMinimumWidth, numpro::TimelinePicture::naturalSize().height());
}

QRect TimelineView::bandRect(qsizetype index) const
{
    return m_picture.bandRect(rect(), index).toAlignedRect();
}

void TimelineView::setSelectedBand(qsizetype index)
{
    m_selected = index;
    update();
}

void TimelineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_picture.paint(painter, rect(), m_hovered >= 0 ? m_hovered : m_selected);
}

void TimelineView::mouseMoveEvent(QMouseEvent *event)
{
    const qsizetype index = m_picture.bandAt(rect(), event->position());
    if (index != m_hovered) {
        m_hovered = index;
        update();
        emit bandHovered(index);
    }
    if (index >= 0)
        QToolTip::showText(event->globalPosition().toPoint(),
                           numpro::bandDescription(m_picture.timeline().bands[index]), this);
    else
        QToolTip::hideText();
}

void TimelineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype index = m_picture.bandAt(rect(), event->position());
    if (index >= 0)
        emit bandClicked(index);
}

void TimelineView::leaveEvent(QEvent *)
{
    if (m_hovered >= 0) {
        m_hovered = -1;
        update();
        emit bandHovered(-1);
    }
}

namespace {

const QStringList kTableColumns = {QObject::tr("Row"), QObject::tr("Number"), QObject::tr("Ages"),
                                   QObject::tr("Years"), QObject::tr("Description")};

QString span(int from, int to)
{
    return from == to ? QString::number(from) : u"%1 to %2"_s.arg(from).arg(to);
}

} // namespace

LifeTimelineWindow::LifeTimelineWindow(NumProProgram &program, const numpro::ReadingInputs &subject)
    : ProgramWindow(program.host(), u"frmLifeTimeline"_s, tr("Life Timeline"))
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *page = body();
    const numpro::LifeTimeline timeline = numpro::lifeTimeline(subject);

    m_view = new TimelineView(timeline, page);

    // The same content for screen readers (and anyone who prefers a table).
    m_table = new QTableWidget(int(timeline.bands.size()), int(kTableColumns.size()), page);
    m_table->setObjectName(u"tblTimeline"_s);
    m_table->setAccessibleName(tr("Life timeline table"));
    m_table->setHorizontalHeaderLabels(kTableColumns);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    for (int i = 0; i < timeline.bands.size(); ++i) {
        const numpro::TimelineBand &band = timeline.bands[i];
        const QStringList cells = {numpro::timelineRowName(band.row), QString::number(band.number),
                                   span(band.fromAge, band.toAge), span(band.fromYear, band.toYear),
                                   numpro::bandDescription(band)};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(i, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_stack = new QStackedWidget(page);
    m_stack->setObjectName(u"stkTimeline"_s);
    auto *pictureHolder = new QWidget(m_stack);
    auto *pictureLayout = new QVBoxLayout(pictureHolder);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(m_view);
    m_hoverLine = new QLabel(tr("Point at a band to see its ages and years; click it to read it."), pictureHolder);
    m_hoverLine->setObjectName(u"lblHoveredBand"_s);
    pictureLayout->addWidget(m_hoverLine);
    pictureLayout->addStretch();
    m_stack->addWidget(pictureHolder);
    m_stack->addWidget(m_table);

    m_reading = new QTextEdit(page);
    m_reading->setObjectName(u"txtBandReading"_s);
    m_reading->setAccessibleName(tr("Reading of the chosen band"));
    m_reading->setReadOnly(true);
    m_reading->setPlaceholderText(tr("Click a band of the timeline to read what it means."));
    m_reading->setMinimumWidth(300);

    auto *top = new QHBoxLayout;
    top->addWidget(m_stack, 3);
    top->addWidget(m_reading, 1);

    auto *showTable = new QCheckBox(tr("Show as &table"), page);
    showTable->setObjectName(u"chkShowTable"_s);
    connect(showTable, &QCheckBox::toggled, m_stack, [this](bool on) { m_stack->setCurrentIndex(on ? 1 : 0); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(showTable);
    buttons->addStretch();
    const struct
    {
        QString name;
        QString caption;
        QString suffix;
    } exports[] = {{u"cmdExportPng"_s, tr("Export as P&NG…"), u"png"_s},
                   {u"cmdExportSvg"_s, tr("Export as S&VG…"), u"svg"_s},
                   {u"cmdExportPdf"_s, tr("Export as P&DF…"), u"pdf"_s}};
    for (const auto &each : exports) {
        auto *button = new QPushButton(each.caption, page);
        button->setObjectName(each.name);
        connect(button, &QPushButton::clicked, this, [this, suffix = each.suffix] { exportPicture(suffix); });
        buttons->addWidget(button);
    }
    auto *back = new QPushButton(tr("&Back"), page);
    back->setObjectName(u"cmdBack"_s);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(back);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(m_view, &TimelineView::bandHovered, this, [this](qsizetype index) {
        if (index >= 0)
            m_hoverLine->setText(numpro::bandDescription(this->timeline().bands[index]));
    });
    connect(m_view, &TimelineView::bandClicked, this, &LifeTimelineWindow::showBand);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            showBand(row);
    });

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(u"mnuBack"_s);
    connect(backItem, &QAction::triggered, this, &QWidget::close);
    addCommonMenus(menuBar(), this, {backItem}, [this] { close(); }, {.modalAbout = false});
}

const numpro::LifeTimeline &LifeTimelineWindow::timeline() const
{
    return m_view->picture().timeline();
}

void LifeTimelineWindow::showBand(qsizetype index)
{
    if (index < 0 || index >= timeline().bands.size())
        return;
    const numpro::TimelineBand &band = timeline().bands[index];
    const numpro::ReadingSection section = numpro::bandReading(timeline().subject, band);
    richtext::Composition text;
    text.bold(true).colour(richtext::kDarkRed).append(section.heading + richtext::crlf(2));
    text.bold(false).colour(richtext::kBlack).append(section.paragraph + richtext::crlf(2));
    text.colour(richtext::kDarkCyan).append(numpro::bandDescription(band));
    m_reading->clear();
    richtext::appendToTextEdit(m_reading, text);
    m_reading->moveCursor(QTextCursor::Start);
    m_view->setSelectedBand(index);
    if (m_table->currentRow() != index) {
        const QSignalBlocker blocker(m_table);
        m_table->setCurrentCell(int(index), 0);
    }
}

void LifeTimelineWindow::exportPicture(const QString &suffix)
{
    const platform::Services services = host().services();
    static const QHash<QString, QString> filters = {{u"png"_s, tr("PNG picture (*.png)")},
                                                    {u"svg"_s, tr("SVG picture (*.svg)")},
                                                    {u"pdf"_s, tr("PDF document (*.pdf)")}};
    // The timeline is drawn as of its today (the personal years start there).
    const numpro::ReadingInputs &subject = timeline().subject;
    const QString name = kestrava::suggestedFileName(
        QStringList{subject.firstName, subject.middleName, subject.lastName}.join(u' '), subject.today, suffix,
        tr("Life Timeline"));
    const auto path =
        services.files->saveFile(this, {tr("Export the Life Timeline"), filters.value(suffix), suffix, name});
    if (!path)
        return;
    if (const kestrava::MaybeFailure failure = numpro::writeTimeline(timeline(), *path)) {
        services.messages->inform(this, platform::Icon::Error,
                                  tr("The life timeline could not be exported to %1.\n%2")
                                      .arg(QDir::toNativeSeparators(*path), failure->reason));
    }
}
