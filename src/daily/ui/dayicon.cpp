#include "daily/ui/dayicon.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace daily {

namespace {

// Draws the leaf straight into whatever size is asked, so the day stays
// crisp in a title bar, a task bar or the notification area alike.
class DayIconEngine final : public QIconEngine
{
public:
    explicit DayIconEngine(int day) : m_day(day) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        const qreal side = qMin(rect.width(), rect.height());
        const QRectF leaf(rect.x() + (rect.width() - side) / 2 + side * 0.06,
                          rect.y() + (rect.height() - side) / 2 + side * 0.08, side * 0.88, side * 0.86);
        const qreal radius = side * 0.12;

        QPainterPath outline;
        outline.addRoundedRect(leaf, radius, radius);
        painter->fillPath(outline, QColor(0xfb, 0xf7, 0xec));
        // The red band across the top, as on a tear-off calendar.
        const QRectF band(leaf.x(), leaf.y(), leaf.width(), leaf.height() * 0.3);
        painter->save();
        painter->setClipPath(outline);
        painter->fillRect(band, QColor(0xc2, 0x3a, 0x2c));
        painter->restore();
        painter->setPen(QPen(QColor(0x5a, 0x37, 0x16), qMax(1.0, side / 32)));
        painter->drawPath(outline);
        // Two binding rings.
        painter->setBrush(QColor(0x3a, 0x26, 0x12));
        painter->setPen(Qt::NoPen);
        const qreal ring = qMax(1.0, side * 0.06);
        for (qreal x : {0.3, 0.7})
            painter->drawEllipse(QPointF(leaf.x() + leaf.width() * x, leaf.y() + band.height() * 0.45), ring, ring);

        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setBold(true);
        const QString text = QString::number(m_day);
        const QRectF digits(leaf.x(), band.bottom(), leaf.width(), leaf.bottom() - band.bottom());
        font.setPixelSize(qMax(6, int(digits.height() * (text.size() > 1 ? 0.78 : 0.86))));
        painter->setFont(font);
        painter->setPen(QColor(0x3a, 0x26, 0x12));
        painter->drawText(digits, Qt::AlignCenter, text);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new DayIconEngine(m_day); }
    QString key() const override { return QStringLiteral("KestravaDayIcon"); }

private:
    int m_day;
};

} // namespace

QIcon dayIcon(int day)
{
    return QIcon(new DayIconEngine(qBound(1, day, 31)));
}

} // namespace daily
