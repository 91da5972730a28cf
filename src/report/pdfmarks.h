#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

// Bookmarks and internal links for a PDF that Qt's PDF writer made: Qt writes
// pages, text and pictures but neither an outline nor a link to a place in
// the same document, so they are added afterwards with libqpdf, which reads
// the file and writes it out again with its streams carried over unchanged.
namespace report {

// An entry of the outline: a title that takes the reader to a place on a
// page.  Pages count from 0; positions are in points from the page's top.
struct PdfBookmark
{
    QString title;
    int page = 0;
    qreal top = 0;
    // 0: top level; n: under the last entry of level n - 1.  A level more
    // than one below the entry before it is taken as one below.
    int level = 0;
};

// A clickable area on one page (points, from the page's top left corner)
// that takes the reader to a place on a page.
struct PdfLink
{
    int page = 0;
    QRectF area;
    int targetPage = 0;
    qreal targetTop = 0;
};

// The PDF with the outline (shown open) and the links added; nothing when the
// bytes are not a whole, sound PDF (one the library would have to repair, or
// cut short of its end mark), or a page number is out of range, or a position
// is not a finite number.
std::optional<QByteArray> addBookmarksAndLinks(const QByteArray &pdf, const QList<PdfBookmark> &bookmarks,
                                               const QList<PdfLink> &links);

} // namespace report
