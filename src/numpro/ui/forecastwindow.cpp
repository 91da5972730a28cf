#include "numpro/ui/forecastwindow.h"

#include "numpro/forecast/picture/timelinepicture.h"
#include "numpro/forecast/readingsections.h"
#include "numpro/readings/personalreadings.h"
#include "numpro/ui/numproprogram.h"
#include "shell/commonmenus.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextTable>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kDateRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1;
constexpr int kTodayRole = Qt::UserRole + 2;

// A calendar day: its day of the month small in the corner, its personal day
// large in the middle, on the number's tint; today framed.
class DayDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QDate date = index.data(kDateRole).toDate();
        if (!date.isValid())
            return;
        const int number = index.data(kNumberRole).toInt();
        painter->save();
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        painter->fillRect(r, numpro::numberColour(number));
        if (index.data(kTodayRole).toBool()) {
            painter->setPen(QPen(QColor(0, 0, 128), 3));
            painter->drawRect(r.adjusted(2, 2, -2, -2));
        }
        if (option.state & QStyle::State_Selected) {
            painter->setPen(QPen(QColor(128, 0, 0), 2));
            painter->drawRect(r.adjusted(1, 1, -1, -1));
        }
        painter->setPen(QColor(32, 32, 32));
        QFont small = option.font;
        small.setPointSizeF(option.font.pointSizeF() * 0.85);
        painter->setFont(small);
        painter->drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, QString::number(date.day()));
        QFont large = option.font;
        large.setBold(true);
        large.setPointSizeF(option.font.pointSizeF() * 1.4);
        painter->setFont(large);
        painter->drawText(r.adjusted(0, 6, 0, 0), Qt::AlignCenter, QString::number(number));
        painter->restore();
    }
};

QString monthName(int month)
{
    return QLocale(QLocale::English).standaloneMonthName(month);
}

QTextCharFormat paperText(qreal points, bool bold, const QColor &colour)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(colour);
    return format;
}

const QColor kPaperHeading(0, 128, 128); // the readings' dark cyan
const QColor kPaperText(32, 32, 32);
const QColor kPaperRule(150, 150, 150);

// A table of thin ruled cells filling its place; the columns take the given
// shares of the width, and the first row repeats on a new page.
QTextTableFormat paperTable(const QList<int> &percentages)
{
    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setBorder(1);
    format.setBorderBrush(kPaperRule);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (int share : percentages)
        widths << QTextLength(QTextLength::PercentageLength, share);
    format.setColumnWidthConstraints(widths);
    format.setHeaderRowCount(1);
    return format;
}

void setCellText(QTextTable *table, int row, int column, const QString &text, const QTextCharFormat &format,
                 Qt::Alignment alignment = Qt::AlignLeft)
{
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    QTextBlockFormat block = cursor.blockFormat();
    block.setAlignment(alignment);
    cursor.setBlockFormat(block);
    cursor.insertText(text, format);
}

void setCellBackground(QTextTable *table, int row, int column, const QColor &colour)
{
    QTextTableCell cell = table->cellAt(row, column);
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setBackground(colour);
    cell.setFormat(format);
}

} // namespace

ForecastWindow::ForecastWindow(NumProProgram &program, const numpro::ReadingInputs &subject)
    : ReadingWindow(program.host(), u"frmForecast"_s, tr("Forecast"), nullptr)
    , m_forecaster(subject)
{
    const int thisYear = subject.today.isValid() ? subject.today.year() : QDate::currentDate().year();
    QWidget *page = body();

    // The range of the document: this calendar year and the next two at first.
    auto *rangeRow = new QHBoxLayout;
    const auto yearField = [page](const QString &name, int value) {
        auto *field = new QSpinBox(page);
        field->setObjectName(name);
        field->setRange(1, 9999);
        field->setValue(value);
        return field;
    };
    m_fromYear = yearField(u"spnFromYear"_s, thisYear);
    m_toYear = yearField(u"spnToYear"_s, thisYear + 2);
    auto *fromLabel = new QLabel(tr("Forecast &from"), page);
    fromLabel->setBuddy(m_fromYear);
    auto *toLabel = new QLabel(tr("&to"), page);
    toLabel->setBuddy(m_toYear);
    auto *showButton = new QPushButton(tr("Show &years"), page);
    showButton->setObjectName(u"cmdShowRange"_s);
    rangeRow->addWidget(fromLabel);
    rangeRow->addWidget(m_fromYear);
    rangeRow->addWidget(toLabel);
    rangeRow->addWidget(m_toYear);
    rangeRow->addWidget(showButton);
    rangeRow->addStretch();
    connect(showButton, &QPushButton::clicked, this, [this] { showRange(m_fromYear->value(), m_toYear->value()); });

    // The months of a chosen year and the calendar of personal days.
    auto *side = new QWidget(page);
    side->setObjectName(u"fraMonths"_s);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto *yearRow = new QHBoxLayout;
    m_monthsYear = yearField(u"spnMonthsYear"_s, thisYear);
    auto *monthsLabel = new QLabel(tr("Personal &months of"), side);
    monthsLabel->setBuddy(m_monthsYear);
    yearRow->addWidget(monthsLabel);
    yearRow->addWidget(m_monthsYear);
    yearRow->addStretch();
    sideLayout->addLayout(yearRow);

    m_months = new QTableWidget(12, 2, side);
    m_months->setObjectName(u"tblMonths"_s);
    m_months->setAccessibleName(tr("Personal months"));
    m_months->setHorizontalHeaderLabels({tr("Month"), tr("Number")});
    m_months->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_months->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_months->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_months->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_months->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_months->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_months->setSelectionMode(QAbstractItemView::SingleSelection);
    m_months->verticalHeader()->hide();
    m_months->verticalHeader()->setDefaultSectionSize(22);
    m_months->setFixedHeight(22 * 12 + m_months->horizontalHeader()->sizeHint().height() + 4);
    m_months->setFixedWidth(180);

    m_calendarTitle = new QLabel(side);
    m_calendarTitle->setObjectName(u"lblCalendarMonth"_s);
    QFont bold = m_calendarTitle->font();
    bold.setBold(true);
    m_calendarTitle->setFont(bold);

    m_calendar = new QTableWidget(6, 7, side);
    m_calendar->setObjectName(u"tblCalendar"_s);
    m_calendar->setAccessibleName(tr("Personal days of the month"));
    QStringList weekdays;
    for (int day = 1; day <= 7; ++day)
        weekdays << QLocale(QLocale::English).dayName(day, QLocale::ShortFormat);
    m_calendar->setHorizontalHeaderLabels(weekdays);
    m_calendar->verticalHeader()->hide();
    m_calendar->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_calendar->setSelectionMode(QAbstractItemView::SingleSelection);
    m_calendar->setShowGrid(false);
    m_calendar->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_calendar->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_calendar->setItemDelegate(new DayDelegate(m_calendar));
    m_calendar->setMinimumSize(7 * 46, 6 * 40 + 24);
    // The months beside the calendar of the chosen one.
    auto *calendarColumn = new QVBoxLayout;
    calendarColumn->addWidget(m_calendarTitle);
    calendarColumn->addWidget(m_calendar, 1);
    auto *monthsRow = new QHBoxLayout;
    monthsRow->addWidget(m_months, 0, Qt::AlignTop);
    monthsRow->addLayout(calendarColumn, 1);
    sideLayout->addLayout(monthsRow);

    m_dayReading = new QTextEdit(side);
    m_dayReading->setObjectName(u"txtDayReading"_s);
    m_dayReading->setAccessibleName(tr("Reading of the chosen day"));
    m_dayReading->setReadOnly(true);
    m_dayReading->setPlaceholderText(tr("Click a day of the calendar to read its personal day."));
    m_dayReading->setMinimumHeight(120);
    sideLayout->addWidget(m_dayReading, 1);

    // The document and the side panel share the view's place.
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    auto *splitter = new QSplitter(page);
    splitter->setObjectName(u"splForecast"_s);
    layout->replaceWidget(view(), splitter);
    splitter->addWidget(view());
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->setStretchFactor(splitter, 1);
    view()->setMinimumSize(480, 380);
    layout->insertLayout(0, rangeRow);

    QPushButton *backButton = addButton(u"cmdBack"_s, tr("&Back"));
    QPushButton *printButton = addButton(u"cmdPrint"_s, tr("&Print"));
    QPushButton *pdfButton = addButton(u"cmdExportPdf"_s, tr("Export as P&DF…"));
    connect(backButton, &QPushButton::clicked, this, &QWidget::close);
    connect(printButton, &QPushButton::clicked, this, &ReadingWindow::print);
    connect(pdfButton, &QPushButton::clicked, this, &ReadingWindow::exportPdf);

    connect(m_monthsYear, &QSpinBox::valueChanged, this, &ForecastWindow::showMonths);
    connect(m_months, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            showCalendar(m_monthsYear->value(), row + 1);
    });
    connect(m_calendar, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (const QTableWidgetItem *item = m_calendar->item(row, column))
            showDay(item->data(kDateRole).toDate());
    });

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(u"mnuBack"_s);
    connect(backItem, &QAction::triggered, this, &QWidget::close);
    addCommonMenus(menuBar(), this, {backItem}, [this] { close(); }, {.modalAbout = false});

    showRange(thisYear, thisYear + 2);
    showMonths(thisYear);
    m_today = subject.today;
    const QDate today = subject.today.isValid() ? subject.today : QDate(thisYear, 1, 1);
    showCalendar(thisYear, today.month());
}

void ForecastWindow::showRange(int firstYear, int lastYear)
{
    if (lastYear < firstYear)
        std::swap(firstYear, lastYear);
    m_fromYear->setValue(firstYear);
    m_toYear->setValue(lastYear);
    view()->clear();
    for (const richtext::Composition &part : numpro::forecastDocument(m_forecaster.subject(), firstYear, lastYear))
        richtext::appendToTextEdit(view(), part);
    setWindowTitle(tr("Forecast %1 to %2").arg(firstYear).arg(lastYear));
    view()->moveCursor(QTextCursor::Start);
}

void ForecastWindow::showMonths(int year)
{
    if (m_monthsYear->value() != year) {
        m_monthsYear->setValue(year); // comes back here through valueChanged
        return;
    }
    const int current = std::max(0, m_months->currentRow());
    for (int month = 1; month <= 12; ++month) {
        const numpro::ForecastPoint point = m_forecaster.at(QDate(year, month, 1));
        auto *name = new QTableWidgetItem(monthName(month));
        auto *number = new QTableWidgetItem(QString::number(point.personalMonth));
        number->setBackground(numpro::numberColour(point.personalMonth));
        number->setForeground(QColor(32, 32, 32));
        m_months->setItem(month - 1, 0, name);
        m_months->setItem(month - 1, 1, number);
    }
    const QSignalBlocker blocker(m_months);
    m_months->setCurrentCell(current, 0);
    showCalendar(year, current + 1);
}

void ForecastWindow::showCalendar(int year, int month)
{
    m_calendarYear = year;
    m_calendarMonth = month;
    if (m_months->currentRow() != month - 1) {
        const QSignalBlocker blocker(m_months);
        m_months->setCurrentCell(month - 1, 0);
    }
    const QDate first(year, month, 1);
    m_calendarTitle->setText(tr("Personal days of %1 %2").arg(monthName(month)).arg(year));
    m_calendar->clearContents();
    const QLocale english(QLocale::English);
    int cell = first.dayOfWeek() - 1; // Monday first
    m_forecaster.forEachDay(first, first.addMonths(1).addDays(-1), [&](const numpro::ForecastPoint &point) {
        auto *item = new QTableWidgetItem(QString::number(point.personalDay));
        item->setData(kDateRole, point.date);
        item->setData(kNumberRole, point.personalDay);
        const bool isToday = point.date == m_today;
        item->setData(kTodayRole, isToday);
        const QString todayNote = isToday ? tr(" (today)") : QString();
        item->setData(Qt::AccessibleTextRole,
                      tr("%1: personal day %2").arg(english.toString(point.date, u"dddd d MMMM yyyy"_s))
                              .arg(point.personalDay)
                          + todayNote);
        item->setToolTip(tr("%1: personal day %2").arg(english.toString(point.date, u"d MMMM"_s)).arg(point.personalDay)
                         + todayNote);
        m_calendar->setItem(cell / 7, cell % 7, item);
        ++cell;
    });
    showMonthReading(year, month);
}

void ForecastWindow::showMonthReading(int year, int month)
{
    numpro::ResultState state;
    const numpro::ReadingValues values = numpro::computePersonalMonth(m_forecaster.on(QDate(year, month, 1)), state);
    const numpro::ReadingSection section = numpro::numberReadingSection(
        numpro::composePersonalMonth(values, numpro::OutputMode::Display).text, u"personalMonth");
    richtext::Composition text;
    text.bold(true).colour(richtext::kDarkCyan)
        .append(u"%1 %2: %3"_s.arg(monthName(month)).arg(year).arg(section.heading) + richtext::crlf(2));
    text.bold(false).colour(richtext::kBlack).append(section.paragraph);
    m_dayReading->clear();
    richtext::appendToTextEdit(m_dayReading, text);
    m_dayReading->moveCursor(QTextCursor::Start);
}

void ForecastWindow::showDay(QDate date)
{
    if (!date.isValid())
        return;
    numpro::ResultState state;
    const numpro::ReadingValues values = numpro::computePersonalDay(m_forecaster.on(date), state);
    const numpro::ReadingSection section = numpro::numberReadingSection(
        numpro::composePersonalDay(values, numpro::OutputMode::Display).text, u"personalDay");
    richtext::Composition text;
    text.bold(true).colour(richtext::kDarkCyan)
        .append(QLocale(QLocale::English).toString(date, u"dddd d MMMM yyyy"_s) + u": "_s + section.heading
                + richtext::crlf(2));
    text.bold(false).colour(richtext::kBlack).append(section.paragraph);
    m_dayReading->clear();
    richtext::appendToTextEdit(m_dayReading, text);
    m_dayReading->moveCursor(QTextCursor::Start);
}

QStringList ForecastWindow::documentPeople() const
{
    const numpro::ReadingInputs &subject = m_forecaster.subject();
    return {QStringList{subject.firstName, subject.middleName, subject.lastName}.join(u' ')};
}

const QTextDocument &ForecastWindow::paperDocument()
{
    delete m_paper;
    m_paper = view()->document()->clone(this);
    QTextCursor cursor(m_paper);
    cursor.movePosition(QTextCursor::End);
    appendMonthPage(cursor);
    return *m_paper;
}

void ForecastWindow::appendMonthPage(QTextCursor &cursor) const
{
    // The months on the left, the calendar of the month shown on the right,
    // both on a page of their own after the document.
    QTextTableFormat sideBySide;
    sideBySide.setBorder(0);
    sideBySide.setCellSpacing(0);
    sideBySide.setCellPadding(0);
    sideBySide.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    sideBySide.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 36), QTextLength(QTextLength::PercentageLength, 64)});
    sideBySide.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextTable *page = cursor.insertTable(1, 2, sideBySide);
    QTextTableCellFormat gap;
    gap.setRightPadding(14);
    page->cellAt(0, 0).setFormat(gap);

    const QTextCharFormat heading = paperText(10, true, kPaperHeading);
    const QTextCharFormat plain = paperText(9, false, kPaperText);
    const QTextCharFormat bold = paperText(9, true, kPaperText);

    // The months, the one whose calendar is shown in bold.
    QTextCursor left = page->cellAt(0, 0).firstCursorPosition();
    left.insertText(tr("Personal months of %1").arg(m_monthsYear->value()), heading);
    QTextTable *months = left.insertTable(m_months->rowCount() + 1, 2, paperTable({65, 35}));
    setCellText(months, 0, 0, m_months->horizontalHeaderItem(0)->text(), bold);
    setCellText(months, 0, 1, m_months->horizontalHeaderItem(1)->text(), bold, Qt::AlignHCenter);
    for (int row = 0; row < m_months->rowCount(); ++row) {
        const QTableWidgetItem *name = m_months->item(row, 0);
        const QTableWidgetItem *number = m_months->item(row, 1);
        if (!name || !number)
            continue;
        const QTextCharFormat &format = row == m_calendarMonth - 1 ? bold : plain;
        setCellText(months, row + 1, 0, name->text(), format);
        setCellText(months, row + 1, 1, number->text(), format, Qt::AlignHCenter);
        setCellBackground(months, row + 1, 1, number->background().color());
    }

    // The calendar: each day's date small in its corner, its personal day
    // large on the number's tint, today framed.
    QTextCursor right = page->cellAt(0, 1).firstCursorPosition();
    right.insertText(m_calendarTitle->text(), heading);
    int weeks = 0;
    for (int row = 0; row < m_calendar->rowCount(); ++row) {
        for (int column = 0; column < m_calendar->columnCount(); ++column) {
            if (m_calendar->item(row, column))
                weeks = row + 1;
        }
    }
    const int days = m_calendar->columnCount();
    QTextTable *calendar = right.insertTable(weeks + 1, days, paperTable(QList<int>(days, 100 / days)));
    for (int column = 0; column < days; ++column)
        setCellText(calendar, 0, column, m_calendar->horizontalHeaderItem(column)->text(), bold, Qt::AlignHCenter);
    const QTextCharFormat dayOfMonth = paperText(7, false, kPaperText);
    const QTextCharFormat personalDay = paperText(14, true, kPaperText);
    bool todayShown = false;
    for (int row = 0; row < weeks; ++row) {
        for (int column = 0; column < days; ++column) {
            const QTableWidgetItem *item = m_calendar->item(row, column);
            if (!item)
                continue;
            const QDate date = item->data(kDateRole).toDate();
            const int number = item->data(kNumberRole).toInt();
            setCellText(calendar, row + 1, column, QString::number(date.day()), dayOfMonth);
            QTextCursor cell = calendar->cellAt(row + 1, column).lastCursorPosition();
            QTextBlockFormat centred;
            centred.setAlignment(Qt::AlignHCenter);
            cell.insertBlock(centred, personalDay);
            cell.insertText(QString::number(number), personalDay);
            QTextTableCell tableCell = calendar->cellAt(row + 1, column);
            QTextTableCellFormat format = tableCell.format().toTableCellFormat();
            format.setBackground(numpro::numberColour(number));
            if (item->data(kTodayRole).toBool()) {
                todayShown = true;
                format.setBorder(2.5);
                format.setBorderBrush(QColor(0, 0, 128));
                format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            }
            tableCell.setFormat(format);
        }
    }
    // On paper the frame has no tool tip to explain it.
    if (todayShown) {
        QTextCursor below = page->cellAt(0, 1).lastCursorPosition();
        QTextBlockFormat note;
        note.setTopMargin(4);
        below.setBlockFormat(note);
        below.insertText(tr("Framed: today, %1.")
                             .arg(QLocale(QLocale::English).toString(m_today, u"dddd d MMMM yyyy"_s)),
                         paperText(8, false, kPaperText));
    }

    // The reading beside the calendar, under both.
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat spaced;
    spaced.setTopMargin(12);
    cursor.insertBlock(spaced);
    cursor.insertFragment(QTextDocumentFragment(m_dayReading->document()));
}
