#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <memory>

class QPaintEngine;

namespace numpro {

// A paint device that writes what is painted on it as an SVG document:
// rectangles, lines, paths and polygons with their pen and brush, and text as
// text (so it stays searchable and sharp).  Pictures are drawn once for the
// screen, a PNG, a PDF and this, by the same painting code; the suite keeps
// Qt SVG out of its start-up, so the little this needs is written here.
class SvgRecorder : public QPaintDevice
{
public:
    explicit SvgRecorder(QSize size);
    ~SvgRecorder() override;

    QPaintEngine *paintEngine() const override;
    // The whole document, once the painter has ended.
    QByteArray document() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<QPaintEngine> m_engine;
};

} // namespace numpro
