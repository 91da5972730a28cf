#include "numpro/forecast/picture/timelinepicture.h"

#include "common/savefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace numpro {

namespace {

// Layout, in logical pixels.
constexpr qreal kMargin = 16;
constexpr qreal kTitleHeight = 30;
constexpr qreal kAxisHeight = 40;
constexpr qreal kLabelWidth = 150;
constexpr qreal kBandHeight = 42;
constexpr qreal kCellHeight = 30;
constexpr qreal kGap = 8;
constexpr qreal kFooterHeight = 28;

// The suite's palette: each band row in one of its colours.
const QColor kDarkCyan(0, 128, 128);
const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kPurple(128, 0, 128);
const QColor kText(32, 32, 32);
const QColor kGrid(200, 200, 200);

// The picture's typeface; where it is missing, any sans serif reads alike.
constexpr char kFamily[] = "Verdana";

// The colour mixed into white, light enough for text in the colour itself.
QColor tint(const QColor &colour)
{
    const auto mix = [](int c) { return 255 - (255 - c) * 22 / 100; };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

bool isBandRow(TimelineRow row)
{
    return row == TimelineRow::Pinnacles || row == TimelineRow::Challenges || row == TimelineRow::Periods;
}

qreal rowHeight(TimelineRow row)
{
    return isBandRow(row) ? kBandHeight : kCellHeight;
}

QColor rowColour(TimelineRow row)
{
    switch (row) {
    case TimelineRow::Pinnacles: return kDarkCyan;
    case TimelineRow::Challenges: return kDarkRed;
    case TimelineRow::Periods: return kGreen;
    default: return kText;
    }
}

QFont font(qreal pixels, bool bold)
{
    QFont f(QString::fromLatin1(kFamily));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, qRound(pixels)));
    f.setBold(bold);
    return f;
}

QString subjectLine(const ReadingInputs &s)
{
    QStringList names;
    for (const QString &name : {s.firstName, s.middleName, s.lastName}) {
        if (!name.trimmed().isEmpty())
            names << name.trimmed();
    }
    return u"Life timeline of %1, born %2 %3, %4"_s.arg(names.join(u' '), s.month.trimmed(), s.day.trimmed(),
                                                          s.year.trimmed());
}

// What the picture shows, in words, for a reader that cannot see it: its
// rows as the picture names them, and the span of ages.
QString pictureDescription(const LifeTimeline &timeline)
{
    QStringList rows;
    for (TimelineRow row : kTimelineRows)
        rows << timelineRowName(row);
    const QString last = rows.takeLast();
    return u"%1 and %2 by age, from 0 to %3 (the years %4 to %5)."_s.arg(rows.join(u", "_s), last)
        .arg(timeline.lastAge)
        .arg(timeline.birthYear)
        .arg(timeline.birthYear + timeline.lastAge);
}

} // namespace

QColor numberColour(int number)
{
    switch (number) {
    case 1: return QColor(250, 205, 200);
    case 2: return QColor(252, 224, 186);
    case 3: return QColor(250, 242, 180);
    case 4: return QColor(214, 238, 188);
    case 5: return QColor(190, 232, 214);
    case 6: return QColor(190, 222, 242);
    case 7: return QColor(206, 208, 246);
    case 8: return QColor(228, 206, 242);
    case 9: return QColor(244, 206, 226);
    case 11: return QColor(222, 184, 222);
    case 22: return QColor(168, 216, 216);
    default: return QColor(226, 226, 226);
    }
}

TimelinePicture::TimelinePicture(LifeTimeline timeline, TimelineLabels labels)
    : m_timeline(std::move(timeline))
    , m_labels(std::move(labels))
{
}

QSize TimelinePicture::naturalSize()
{
    qreal height = kMargin + kTitleHeight + kAxisHeight;
    for (TimelineRow row : kTimelineRows)
        height += rowHeight(row) + kGap;
    height += kFooterHeight + kMargin;
    return QSize(1100, qCeil(height));
}

qreal TimelinePicture::xOfAge(const QRectF &area, qreal age) const
{
    const qreal left = area.left() + kMargin + kLabelWidth;
    const qreal width = area.width() - 2 * kMargin - kLabelWidth;
    return left + width * age / (m_timeline.lastAge + 1);
}

QRectF TimelinePicture::rowRect(const QRectF &area, TimelineRow row) const
{
    qreal top = area.top() + kMargin + kTitleHeight + kAxisHeight;
    for (TimelineRow each : kTimelineRows) {
        if (each == row)
            break;
        top += rowHeight(each) + kGap;
    }
    return QRectF(xOfAge(area, 0), top, xOfAge(area, m_timeline.lastAge + 1) - xOfAge(area, 0), rowHeight(row));
}

QRectF TimelinePicture::bandRect(const QRectF &area, qsizetype index) const
{
    if (index < 0 || index >= m_timeline.bands.size())
        return {};
    const TimelineBand &band = m_timeline.bands[index];
    const QRectF row = rowRect(area, band.row);
    const qreal left = xOfAge(area, band.fromAge);
    return QRectF(left, row.top(), xOfAge(area, band.toAge + 1) - left, row.height());
}

qsizetype TimelinePicture::bandAt(const QRectF &area, QPointF point) const
{
    for (qsizetype i = 0; i < m_timeline.bands.size(); ++i) {
        if (bandRect(area, i).contains(point))
            return i;
    }
    return -1;
}

void TimelinePicture::paint(QPainter &painter, const QRectF &area, qsizetype highlighted) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const qreal plotLeft = xOfAge(area, 0);
    const qreal plotRight = xOfAge(area, m_timeline.lastAge + 1);
    const qreal unit = (plotRight - plotLeft) / (m_timeline.lastAge + 1);

    // Title.
    if (m_labels.subjectLine) {
        painter.setPen(kDarkCyan);
        painter.setFont(font(16, true));
        painter.drawText(QRectF(area.left() + kMargin, area.top() + kMargin, area.width() - 2 * kMargin, kTitleHeight),
                         Qt::AlignLeft | Qt::AlignTop, subjectLine(m_timeline.subject));
    }

    // Axis: every tenth age, with its calendar year below.
    const qreal axisTop = area.top() + kMargin + kTitleHeight;
    const QRectF lastRow = rowRect(area, TimelineRow::PersonalYears);
    painter.setPen(kText);
    painter.setFont(font(12, true));
    painter.drawText(QRectF(area.left() + kMargin, axisTop, kLabelWidth - 8, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     u"Age"_s);
    painter.setFont(font(11, false));
    painter.drawText(QRectF(area.left() + kMargin, axisTop + 18, kLabelWidth - 8, 16),
                     Qt::AlignLeft | Qt::AlignVCenter, u"Year"_s);
    for (int age = 0; age <= m_timeline.lastAge; age += 10) {
        const qreal x = xOfAge(area, age);
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QLineF(x, axisTop + 36, x, lastRow.bottom()));
        painter.setPen(kText);
        painter.setFont(font(12, true));
        painter.drawText(QRectF(x - 30, axisTop, 60, 18), Qt::AlignCenter, QString::number(age));
        painter.setFont(font(11, false));
        painter.drawText(QRectF(x - 30, axisTop + 18, 60, 16), Qt::AlignCenter,
                         QString::number(m_timeline.birthYear + age));
    }

    // Row names.
    for (TimelineRow row : kTimelineRows) {
        const QRectF r = rowRect(area, row);
        painter.setPen(isBandRow(row) ? rowColour(row) : kText);
        painter.setFont(font(13, true));
        painter.drawText(QRectF(area.left() + kMargin, r.top(), kLabelWidth - 10, r.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, timelineRowName(row));
    }

    // Bands and cells.
    for (qsizetype i = 0; i < m_timeline.bands.size(); ++i) {
        const TimelineBand &band = m_timeline.bands[i];
        const QRectF r = bandRect(area, i);
        if (isBandRow(band.row)) {
            // Neighbouring bands alternate between the row's colour with white
            // text and a pale tint of it with text in the colour.
            const bool strong = band.position % 2;
            const QColor base = rowColour(band.row);
            painter.fillRect(r, strong ? base : tint(base));
            painter.setPen(QPen(base, 1));
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            painter.setPen(strong ? QColor(Qt::white) : base);
            painter.setFont(font(17, true));
            painter.drawText(r.adjusted(0, 2, 0, -12), Qt::AlignCenter, QString::number(band.number));
            if (r.width() > 70) {
                painter.setFont(font(10, false));
                painter.drawText(r.adjusted(4, 0, -4, -2), Qt::AlignLeft | Qt::AlignBottom,
                                 u"%1–%2"_s.arg(band.fromAge).arg(band.toAge));
            }
        } else {
            painter.fillRect(r, numberColour(band.number));
            painter.setPen(QPen(Qt::white, 1));
            painter.drawLine(QLineF(r.topRight(), r.bottomRight()));
            painter.setPen(kText);
            const QString text = QString::number(band.number);
            painter.setFont(font(std::min<qreal>(13, unit * (text.size() > 1 ? 0.62 : 0.95)), true));
            painter.drawText(r, Qt::AlignCenter, text);
        }
    }

    // Today: the age reached this year, and how far into the year.
    const QDate today = m_timeline.subject.today;
    if (today.isValid() && m_timeline.todayAge >= 0 && m_timeline.todayAge <= m_timeline.lastAge) {
        const qreal fraction = qreal(today.dayOfYear() - 1) / today.daysInYear();
        const qreal x = xOfAge(area, m_timeline.todayAge + fraction);
        const qreal top = rowRect(area, TimelineRow::Pinnacles).top() - 4;
        painter.setPen(QPen(kPurple, 2));
        painter.drawLine(QLineF(x, top, x, lastRow.bottom() + 4));
        painter.setFont(font(12, true));
        const QString label = u"Today: %1, age %2"_s.arg(m_labels.dateText ? m_labels.dateText(today) : today.toString(u"d MMMM yyyy"_s)).arg(m_timeline.todayAge);
        const qreal width = QFontMetricsF(painter.font()).horizontalAdvance(label) + 8;
        const qreal left = std::clamp(x - width / 2, area.left() + kMargin, area.right() - kMargin - width);
        painter.drawText(QRectF(left, lastRow.bottom() + 6, width, kFooterHeight - 6), Qt::AlignCenter, label);
    }

    if (highlighted >= 0 && highlighted < m_timeline.bands.size()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 3));
        painter.drawRect(bandRect(area, highlighted).adjusted(1.5, 1.5, -1.5, -1.5));
    }
    painter.restore();
}

QImage timelineImage(const LifeTimeline &timeline, qreal scale)
{
    const QSize size = TimelinePicture::naturalSize();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    TimelinePicture(timeline).paint(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QByteArray timelineSvg(const LifeTimeline &timeline, const TimelineLabels &labels)
{
    const QSize size = TimelinePicture::naturalSize();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(96); // one unit a logical pixel, as on the screen
        // The generator writes the title and description as they are, so a
        // name with "&" or "<" in it would break the document.
        generator.setTitle(subjectLine(timeline.subject).toHtmlEscaped());
        generator.setDescription(pictureDescription(timeline).toHtmlEscaped());
        QPainter painter(&generator);
        painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
        TimelinePicture(timeline, labels).paint(painter, QRectF(QPointF(0, 0), size));
        painter.end();
    }
    // The generator names the family alone, and a viewer without it falls
    // back to its default, often a serif face: name the generic family after it.
    const QByteArray family = "font-family=\"" + QByteArray(kFamily) + '"';
    return data.replace(family, "font-family=\"" + QByteArray(kFamily) + ", sans-serif\"");
}

QByteArray timelinePdf(const LifeTimeline &timeline)
{
    const QSize size = TimelinePicture::naturalSize();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        constexpr int kResolution = 96; // one unit a logical pixel
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(size) * 72.0 / kResolution, QPageSize::Point),
                                         QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(subjectLine(timeline.subject));
        QPainter painter(&writer);
        TimelinePicture(timeline).paint(painter, QRectF(QPointF(0, 0), size));
        painter.end();
    }
    return data;
}

kestrava::MaybeFailure writeTimeline(const LifeTimeline &timeline, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray data;
    if (suffix == u"svg") {
        data = timelineSvg(timeline);
    } else if (suffix == u"pdf") {
        data = timelinePdf(timeline);
    } else if (suffix == u"png") {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        timelineImage(timeline).save(&buffer, "PNG");
    } else {
        return kestrava::Failure{QObject::tr("The picture can be written as .png, .svg or .pdf only.")};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kestrava::Failure{file.errorString()};
    if (const auto failure = kestrava::writeAndCommit(file, data))
        return kestrava::Failure{failure->reason};
    return std::nullopt;
}

} // namespace numpro
