#include "numpro/forecast/picture/svgrecorder.h"

#include <QColor>
#include <QFont>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTextItem>
#include <QTransform>

namespace numpro {

namespace {

constexpr int kDpi = 96;

QByteArray number(qreal value)
{
    return QByteArray::number(value, 'g', 6);
}

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray colourAttributes(const char *name, const QColor &colour)
{
    QByteArray out = ' ' + QByteArray(name) + "=\"" + colour.name(QColor::HexRgb).toLatin1() + '"';
    if (colour.alpha() < 255)
        out += ' ' + QByteArray(name) + "-opacity=\"" + number(colour.alphaF()) + '"';
    return out;
}

class SvgEngine final : public QPaintEngine
{
public:
    SvgEngine()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }

    QByteArray body;

    bool begin(QPaintDevice *) override
    {
        body.clear();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags flags = state.state();
        if (flags & DirtyPen)
            m_pen = state.pen();
        if (flags & DirtyBrush)
            m_brush = state.brush();
        if (flags & DirtyFont)
            m_font = state.font();
        if (flags & DirtyTransform)
            m_transform = state.transform();
    }

    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF &r = rects[i];
            body += "<rect x=\"" + number(r.x()) + "\" y=\"" + number(r.y()) + "\" width=\"" + number(r.width())
                    + "\" height=\"" + number(r.height()) + '"' + paint(true) + transform() + "/>\n";
        }
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF r(rects[i]);
            drawRects(&r, 1);
        }
    }

    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QLineF &l = lines[i];
            body += "<line x1=\"" + number(l.x1()) + "\" y1=\"" + number(l.y1()) + "\" x2=\"" + number(l.x2())
                    + "\" y2=\"" + number(l.y2()) + '"' + paint(false) + transform() + "/>\n";
        }
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QLineF l(lines[i]);
            drawLines(&l, 1);
        }
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        QByteArray list;
        for (int i = 0; i < count; ++i)
            list += (i ? " " : "") + number(points[i].x()) + ',' + number(points[i].y());
        const bool open = mode == PolylineMode;
        body += (open ? "<polyline points=\"" : "<polygon points=\"") + list + '"' + paint(!open) + transform()
                + "/>\n";
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        QList<QPointF> converted;
        for (int i = 0; i < count; ++i)
            converted.append(points[i]);
        drawPolygon(converted.constData(), count, mode);
    }

    void drawPath(const QPainterPath &path) override
    {
        QByteArray d;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement: d += " M" + number(e.x) + ',' + number(e.y); break;
            case QPainterPath::LineToElement: d += " L" + number(e.x) + ',' + number(e.y); break;
            case QPainterPath::CurveToElement: d += " C" + number(e.x) + ',' + number(e.y); break;
            case QPainterPath::CurveToDataElement: d += ' ' + number(e.x) + ',' + number(e.y); break;
            }
        }
        const QByteArray rule = path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd";
        body += "<path d=\"" + d.trimmed() + "\" fill-rule=\"" + rule + '"' + paint(true) + transform() + "/>\n";
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QFont &font = item.font();
        const qreal size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDpi / 72.0;
        body += "<text x=\"" + number(p.x()) + "\" y=\"" + number(p.y()) + "\" font-family=\""
                + escaped(font.family()) + ", sans-serif\" font-size=\"" + number(size) + '"';
        if (font.bold())
            body += " font-weight=\"bold\"";
        if (font.italic())
            body += " font-style=\"italic\"";
        body += colourAttributes("fill", m_pen.color()) + transform() + " xml:space=\"preserve\">"
                + escaped(item.text()) + "</text>\n";
    }

    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override
    {
        // The pictures drawn here are made of shapes and text only.
    }

private:
    // The fill (for shapes that have one) and the outline of the pen.
    QByteArray paint(bool filled) const
    {
        QByteArray out;
        if (filled && m_brush.style() != Qt::NoBrush)
            out += colourAttributes("fill", m_brush.color());
        else
            out += " fill=\"none\"";
        if (m_pen.style() == Qt::NoPen) {
            out += " stroke=\"none\"";
        } else {
            out += colourAttributes("stroke", m_pen.color());
            out += " stroke-width=\"" + number(m_pen.widthF() > 0 ? m_pen.widthF() : 1) + '"';
            if (m_pen.style() == Qt::DashLine)
                out += " stroke-dasharray=\"4,3\"";
            else if (m_pen.style() == Qt::DotLine)
                out += " stroke-dasharray=\"1,2\"";
        }
        return out;
    }
    QByteArray transform() const
    {
        if (m_transform.isIdentity())
            return {};
        const QTransform &t = m_transform;
        return " transform=\"matrix(" + number(t.m11()) + ' ' + number(t.m12()) + ' ' + number(t.m21()) + ' '
               + number(t.m22()) + ' ' + number(t.dx()) + ' ' + number(t.dy()) + ")\"";
    }

    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
};

} // namespace

SvgRecorder::SvgRecorder(QSize size)
    : m_size(size)
    , m_engine(std::make_unique<SvgEngine>())
{
}

SvgRecorder::~SvgRecorder() = default;

QPaintEngine *SvgRecorder::paintEngine() const
{
    return m_engine.get();
}

QByteArray SvgRecorder::document() const
{
    const QByteArray w = QByteArray::number(m_size.width());
    const QByteArray h = QByteArray::number(m_size.height());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
           "width=\""
           + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n"
           + static_cast<SvgEngine *>(m_engine.get())->body + "</svg>\n";
}

int SvgRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / kDpi);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / kDpi);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
    }
}

} // namespace numpro
