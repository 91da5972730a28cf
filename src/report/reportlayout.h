#pragma once

#include "report/pdfmarks.h"
#include "report/reportcontent.h"

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QString>

#include <memory>

class QPainter;

// The report laid out on pages: the title page, the table of contents, then
// each section from a new page, with the running header (the client's name
// and the report's title) and footer ("page N of M") on every page but the
// title page.  The same layout paints the preview, the printed pages and the
// PDF.
namespace report {

class ReportLayout
{
public:
    explicit ReportLayout(const Report &report);
    ~ReportLayout();
    ReportLayout(const ReportLayout &) = delete;
    ReportLayout &operator=(const ReportLayout &) = delete;

    const Report &report() const;
    // The paper and margins of the practitioner's paper size, in points.
    QPageLayout pageLayout() const;
    int pageCount() const;

    // Where each section begins: its heading, its page (from 0) and how far
    // down that page its heading stands, in points.
    struct Entry
    {
        QString heading;
        int page = 0;
        qreal top = 0;
    };
    QList<Entry> contents() const;

    // The table of contents' lines as links to their sections.
    QList<PdfLink> contentsLinks() const;

    // The lines of text a page shows under its running header, top to
    // bottom: what a reader of that page reads (a screen reader's text of
    // the preview), and where each line stands in its paragraph.
    struct Line
    {
        QString text;
        bool heading = false;
        int block = 0;     // the paragraph's number in its section
        int index = 0;     // the line's number in its paragraph, from 0
        int lineCount = 1; // its paragraph's lines
    };
    QList<Line> pageLines(int page) const;

    // Paints one page (from 0) with the painter's unit as one point and the
    // page's top left corner at (0, 0).
    void paintPage(QPainter &painter, int page) const;

    // One page as pixels, at that many dots per inch, on white.
    QImage pageImage(int page, qreal dotsPerInch) const;

    struct Private;

private:
    std::unique_ptr<Private> d;
};

// The "page N of M" text of the footer (pages counted from 1).
QString pageFooter(int page, int pageCount);

// The report as a PDF document: its pages, the outline of its sections and
// the table of contents linked to them.
QByteArray reportPdf(const ReportLayout &layout);

} // namespace report
