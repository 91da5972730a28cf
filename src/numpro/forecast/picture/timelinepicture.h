#pragma once

#include "common/failure.h"
#include "numpro/forecast/lifetimeline.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <functional>

class QPainter;

// The life timeline as a picture: drawn with a painter on any device (a
// window, an image, a PDF page, an SVG document), as vector shapes and text,
// so it is sharp at any scale.
namespace numpro {

// The tint a number's cells take (essence, personal years, personal days):
// light enough for dark text, one hue per number 1 to 9, the master numbers
// their own; 0 and others grey.
QColor numberColour(int number);

// What the picture writes besides its drawing.  A picture of its own names
// its subject over it; one set under a heading that names the person (as
// in the practitioner's report) leaves that out and writes its dates as the
// document around it does.
struct TimelineLabels
{
    bool subjectLine = true;
    std::function<QString(QDate)> dateText; // empty: "11 December 2026"
};

class TimelinePicture
{
public:
    explicit TimelinePicture(LifeTimeline timeline, TimelineLabels labels = {});

    const LifeTimeline &timeline() const { return m_timeline; }

    // The size the picture is laid out for; it stretches to other widths, its
    // height is fixed.
    static QSize naturalSize();
    static constexpr int kMinimumWidth = 640;

    // Paints the whole picture into the area (logical pixels), with the band
    // of that index (in timeline().bands) outlined, or none for -1.
    void paint(QPainter &painter, const QRectF &area, qsizetype highlighted = -1) const;

    // Where a band lies in a picture painted into the area; the index of the
    // band at a point, or -1.
    QRectF bandRect(const QRectF &area, qsizetype index) const;
    qsizetype bandAt(const QRectF &area, QPointF point) const;

private:
    qreal xOfAge(const QRectF &area, qreal age) const;
    QRectF rowRect(const QRectF &area, TimelineRow row) const;

    LifeTimeline m_timeline;
    TimelineLabels m_labels;
};

// The picture at its natural size, on white, as PNG pixels at the scale
// (2: twice as many pixels each way), as an SVG document, and as a one-page
// PDF document of the picture's size.
QImage timelineImage(const LifeTimeline &timeline, qreal scale = 2);
QByteArray timelineSvg(const LifeTimeline &timeline, const TimelineLabels &labels = {});
QByteArray timelinePdf(const LifeTimeline &timeline);

// Writes the picture to the file in the format its ending names (.png, .svg
// or .pdf, in any case).  The file takes the old one's place only when
// complete; a failure leaves an existing file as it was.
kestrava::MaybeFailure writeTimeline(const LifeTimeline &timeline, const QString &path);

} // namespace numpro
