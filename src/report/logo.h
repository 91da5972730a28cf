#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <variant>

class QPainter;

// The practitioner's logo: an SVG or PNG file, told by its contents rather
// than its name, checked once and drawn the same way in Report Settings'
// preview, the report's pages and its web page.  An SVG is drawn with nothing
// from outside itself: a logo cannot carry another file of the computer into
// a report.
namespace report {

// A file larger than this is refused before it is read.
inline constexpr qint64 kMaxLogoBytes = 16 * 1024 * 1024;
// A PNG wider or higher than this is refused before it is decoded.
inline constexpr int kMaxLogoSide = 6000;

struct Logo
{
    QByteArray format; // "svg" or "png"
    QByteArray data;   // a PNG's bytes; an SVG's document without references to anything outside it
    QSize size;        // its own size in pixels (an SVG's default size)
};

// The logo in the file, or why the file can be no logo: a sentence for the
// practitioner that names the file.
std::variant<Logo, QString> readLogo(const QString &path);

// The SVG document with every link to anything outside it taken out: each
// href (plain or xlink) that is neither a fragment ("#id") nor a data address
// is dropped, and an SVG held in a data address is cleaned the same way.
// Nothing for a document that is not well-formed XML.
QByteArray withoutOutsideReferences(const QByteArray &svg);

// The logo drawn to fit within the size, its proportions kept; null for an
// empty size.
QImage logoImage(const Logo &logo, QSize fitInto);

// The logo drawn into the rectangle of the painter's units, which `dotsPerUnit`
// turns into pixels for a PNG: the PNG is scaled to that first, so that a
// large picture is not stored whole in a PDF.
void drawLogo(QPainter &painter, const Logo &logo, const QRectF &target, qreal dotsPerUnit);

} // namespace report
