#include "report/reportlayout.h"

#include "common/brand.h"
#include "report/logo.h"
#include "report/reporttext.h"
#include "numpro/forecast/picture/timelinepicture.h"
#include "richtext/textdocumentrenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextObjectInterface>
#include <QTextTable>

#include <cmath>

using namespace Qt::StringLiterals;

namespace report {

namespace {

// Points: the unit of the whole layout (72 to the inch).
constexpr qreal kPointsPerInch = 72;
constexpr qreal kSideMargin = 56;
constexpr qreal kTopMargin = 72;
constexpr qreal kBottomMargin = 64;
constexpr qreal kHeaderBaseline = 38;
constexpr qreal kFooterFromBottom = 30;
constexpr qreal kBodyPointSize = 10;
constexpr qreal kHeadingPointSize = 18;

// The text objects the life timeline's picture and the spread's cards stand
// in the text as, and the property naming their section.
constexpr int kTimelineObject = QTextFormat::UserObject + 1;
constexpr int kCardsObject = QTextFormat::UserObject + 2;
constexpr int kSectionProperty = QTextFormat::UserProperty + 1;

// The spread's cards three to a row, each over its caption.
constexpr int kCardColumns = 3;
constexpr qreal kCardWidth = 104;
constexpr qreal kCardHeight = kCardWidth * 250 / 142; // the deck's proportions
constexpr qreal kCardCaption = 26;
constexpr qreal kCardGap = 12;

QColor accentColour(const Practitioner &practitioner)
{
    return QColor(practitioner.accent.r, practitioner.accent.g, practitioner.accent.b);
}

QFont bodyFont(qreal pointSize = kBodyPointSize)
{
    QFont font(u"DejaVu Sans"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

// The timeline under its section heading: no name over it, the report's dates.
numpro::TimelineLabels reportLabels(const Report &report)
{
    const QLocale locale = report.locale;
    return {false, [locale](QDate date) { return longDate(date, locale); }};
}

// A device whose unit is the point: the documents are laid out on it, so
// that what they measure is what the page shows.
class PointDevice
{
public:
    PointDevice() : m_image(1, 1, QImage::Format_RGB32)
    {
        const int dotsPerMetre = qRound(kPointsPerInch / 0.0254);
        m_image.setDotsPerMeterX(dotsPerMetre);
        m_image.setDotsPerMeterY(dotsPerMetre);
    }
    QPaintDevice *device() const { return &m_image; }

private:
    mutable QImage m_image;
};

// A picture of one section drawn in the text, at the text's width: the
// character format names the section it belongs to.
class SectionObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    SectionObject(const Report &report, qreal width, QObject *parent)
        : QObject(parent), m_report(report), m_width(width)
    {
    }

protected:
    // The section the format names, or null.
    const ReportSection *section(const QTextFormat &format) const
    {
        const qsizetype index = format.property(kSectionProperty).toLongLong();
        return index >= 0 && index < m_report.sections.size() ? &m_report.sections[index] : nullptr;
    }

    const Report &m_report;
    qreal m_width;
};

// The life timeline, its height in proportion to the width.
class TimelineObject : public SectionObject
{
    Q_OBJECT

public:
    using SectionObject::SectionObject;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &) override
    {
        const QSize natural = numpro::TimelinePicture::naturalSize();
        return {m_width, m_width * natural.height() / natural.width()};
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &format) override
    {
        const ReportSection *shown = section(format);
        if (!shown || !shown->timeline)
            return;
        const QSize natural = numpro::TimelinePicture::naturalSize();
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / natural.width(), rect.height() / natural.height());
        numpro::TimelinePicture(*shown->timeline, reportLabels(m_report)).paint(*painter, QRectF(QPointF(), natural));
        painter->restore();
    }
};

// The spread's cards: rows of three, each card over its caption, as vector
// pictures.
class CardsObject : public SectionObject
{
    Q_OBJECT

public:
    using SectionObject::SectionObject;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const qsizetype count = cardsOf(format).size();
        const qsizetype rows = (count + kCardColumns - 1) / kCardColumns;
        return {m_width, kCardGap + rows * (kCardHeight + kCardCaption + kCardGap)};
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &format) override
    {
        const QList<ReportCard> cards = cardsOf(format);
        const qreal cell = rect.width() / kCardColumns;
        painter->save();
        painter->setFont(bodyFont(8.5));
        painter->setPen(Qt::black);
        for (qsizetype i = 0; i < cards.size(); ++i) {
            const qreal left = rect.left() + (i % kCardColumns) * cell + (cell - kCardWidth) / 2;
            // A gap above the first row too: a frame's stroke on the page's
            // first line would show at the foot of the page before.
            const qreal top = rect.top() + kCardGap + (i / kCardColumns) * (kCardHeight + kCardCaption + kCardGap);
            const QRectF card(left, top, kCardWidth, kCardHeight);
            QSvgRenderer picture(cards[i].picture);
            if (picture.isValid())
                picture.render(painter, card);
            painter->setPen(QPen(QColor(150, 150, 150), 0.5));
            painter->drawRect(card);
            painter->setPen(Qt::black);
            painter->drawText(QRectF(left - (cell - kCardWidth) / 2 + 4, top + kCardHeight + 3, cell - 8, kCardCaption),
                              Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, cards[i].caption);
        }
        painter->restore();
    }

private:
    QList<ReportCard> cardsOf(const QTextFormat &format) const
    {
        const ReportSection *shown = section(format);
        return shown ? shown->cards : QList<ReportCard>();
    }
};

} // namespace

struct ReportLayout::Private
{
    // One section's text, on pages of its own: a section always starts a
    // page, so each lays out alone and a change in one moves no other.
    struct Flow
    {
        std::unique_ptr<QTextDocument> document;
        int firstPage = 0; // of the report
        int pages = 1;
    };

    Report report;
    QPageLayout page;
    PointDevice device;
    QRectF body; // on the page, in points
    QTextDocument contents;
    int contentsPages = 1;
    std::vector<Flow> flows;
    QList<Entry> entries;
    QList<QTextBlock> contentsRows;

    int firstContentsPage() const { return 1; }
    int firstTextPage() const { return 1 + contentsPages; }

    void setUp(QTextDocument &document) const
    {
        document.documentLayout()->setPaintDevice(device.device());
        document.setUseDesignMetrics(true);
        document.setDocumentMargin(0);
        document.setDefaultFont(bodyFont());
        document.setPageSize(body.size());
    }

    // The page (of the document, from 0) a point of it lies on.
    int pageAt(qreal y) const { return std::max(0, int(std::floor(y / body.height() + 1e-6))); }
    static qreal lineTop(const QTextBlock &block, const QTextLine &line)
    {
        return block.layout()->position().y() + line.y();
    }
    // The pages a document fills: up to its last line, not to the blank
    // space a page break or a margin leaves after it.
    int pagesOf(const QTextDocument &document) const;

    void layOutSection(qsizetype index);
    void keepHeadingsWithText(QTextDocument &document) const;
    void layOutContents();
    void paintTitlePage(QPainter &painter) const;
    void paintRunning(QPainter &painter, int index, int pageCount) const;
    void paintContentsNumbers(QPainter &painter, int index) const;
    void paintLogo(QPainter &painter, const QRectF &area) const;
    void paintText(QPainter &painter, const QTextDocument &document, int index) const;

    std::optional<Logo> logo; // read once: the file may change or go while the report is shown
};

int ReportLayout::Private::pagesOf(const QTextDocument &document) const
{
    int last = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (layout && layout->lineCount() > 0)
            last = std::max(last, pageAt(lineTop(block, layout->lineAt(layout->lineCount() - 1))));
    }
    return last + 1;
}

namespace {

// The block property marking a heading, which keeps with the lines after it,
// and the one marking a rule, drawn across the text.
constexpr int kHeadingProperty = QTextFormat::UserProperty + 2;
constexpr int kRuleProperty = QTextFormat::UserProperty + 3;

constexpr QColor kBodyColour(34, 34, 34);
constexpr qreal kSubheadingPointSize = 11;
constexpr qreal kParagraphGap = 7;

QTextCharFormat textFormat(qreal pointSize, bool bold, const QColor &colour)
{
    QTextCharFormat format;
    format.setFont(bodyFont(pointSize));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(colour);
    return format;
}

} // namespace

void ReportLayout::Private::layOutSection(qsizetype index)
{
    const ReportSection &section = report.sections[index];
    Flow flow;
    flow.document = std::make_unique<QTextDocument>();
    QTextDocument &text = *flow.document;
    setUp(text);
    text.documentLayout()->registerHandler(kTimelineObject, new TimelineObject(report, body.width(), &text));
    text.documentLayout()->registerHandler(kCardsObject, new CardsObject(report, body.width(), &text));

    const QColor accent = accentColour(report.practitioner);
    QTextCursor cursor(&text);
    QTextBlockFormat headingBlock;
    headingBlock.setBottomMargin(12);
    headingBlock.setHeadingLevel(1);
    headingBlock.setProperty(kHeadingProperty, true);
    const QTextCharFormat heading = textFormat(kHeadingPointSize, true, accent);
    cursor.setBlockFormat(headingBlock);
    cursor.setCharFormat(heading);
    cursor.insertText(section.heading, heading);

    const QTextCharFormat plain = textFormat(kBodyPointSize, false, kBodyColour);
    if (section.timeline) {
        QTextCharFormat picture;
        picture.setObjectType(kTimelineObject);
        picture.setProperty(kSectionProperty, qlonglong(index));
        QTextBlockFormat pictureBlock;
        pictureBlock.setBottomMargin(kParagraphGap);
        cursor.insertBlock(pictureBlock, plain);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), picture);
    }
    const QTextCharFormat subheading = textFormat(kSubheadingPointSize, true, accent);
    const QTextCharFormat bold = textFormat(kBodyPointSize, true, kBodyColour);
    for (const TextBlock &block : section.text) {
        QTextBlockFormat format;
        format.setAlignment(block.centred ? Qt::AlignHCenter : Qt::AlignLeft);
        switch (block.role) {
        case BlockRole::Heading:
            format.setTopMargin(block.spaceBefore ? kParagraphGap + 3 : 4);
            format.setBottomMargin(2);
            format.setHeadingLevel(2);
            format.setProperty(kHeadingProperty, true);
            cursor.insertBlock(format, subheading);
            cursor.insertText(block.plainText(), subheading);
            break;
        case BlockRole::Paragraph:
            format.setTopMargin(block.spaceBefore ? kParagraphGap : 0);
            cursor.insertBlock(format, plain);
            for (const TextSpan &span : block.spans)
                cursor.insertText(span.text, span.bold ? bold : plain);
            break;
        case BlockRole::Rule: {
            format.setTopMargin(block.spaceBefore ? kParagraphGap : 2);
            format.setBottomMargin(2);
            format.setProperty(kRuleProperty, true);
            cursor.insertBlock(format, textFormat(4, false, kBodyColour));
            break;
        }
        }
    }
    if (!section.cards.isEmpty()) {
        // The cards take most of a page: they start one rather than being
        // pushed over a page's end.
        QTextBlockFormat cardsBlock;
        cardsBlock.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(cardsBlock, plain);
        QTextCharFormat cards;
        cards.setObjectType(kCardsObject);
        cards.setProperty(kSectionProperty, qlonglong(index));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), cards);
    }
    keepHeadingsWithText(text);
    flow.pages = pagesOf(text);
    flows.push_back(std::move(flow));
}

void ReportLayout::Private::keepHeadingsWithText(QTextDocument &document) const
{
    // Top to bottom: a heading moved to the next page moves only what comes
    // after it, so the headings already seen stay where they are.
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    QTextBlock block = document.begin();
    while (block.isValid()) {
        if (!block.blockFormat().hasProperty(kHeadingProperty)) {
            block = block.next();
            continue;
        }
        // Headings that follow each other go together, with the first two
        // lines of the text under the last.
        QTextBlock follower = block.next();
        while (follower.isValid() && follower.blockFormat().hasProperty(kHeadingProperty))
            follower = follower.next();
        if (!follower.isValid())
            break;
        layout->blockBoundingRect(follower); // lays the text out that far
        const QTextLayout *lines = follower.layout();
        const QTextLayout *first = block.layout();
        if (lines->lineCount() > 0 && first->lineCount() > 0) {
            const int kept = std::min(2, lines->lineCount());
            const qreal top = lineTop(block, first->lineAt(0));
            const int headingPage = pageAt(top);
            const QTextLine last = lines->lineAt(kept - 1);
            // Nothing above it on its page: moving it would only leave a page blank.
            const bool atPageTop = top - headingPage * body.height() < block.blockFormat().topMargin() + 1;
            if (pageAt(lineTop(follower, last)) != headingPage && !atPageTop) {
                QTextBlockFormat format = block.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).setBlockFormat(format);
            }
        }
        block = follower;
    }
}

void ReportLayout::Private::layOutContents()
{
    setUp(contents);
    QTextCursor cursor(&contents);
    QTextCharFormat title;
    title.setFont(bodyFont(kHeadingPointSize));
    title.setFontWeight(QFont::Bold);
    title.setForeground(accentColour(report.practitioner));
    QTextBlockFormat titleBlock;
    titleBlock.setBottomMargin(18);
    titleBlock.setHeadingLevel(1);
    cursor.setBlockFormat(titleBlock);
    cursor.insertText(QObject::tr("Contents"), title);

    QTextCharFormat row;
    row.setFont(bodyFont(12));
    row.setForeground(kBodyColour);
    for (qsizetype i = 0; i < report.sections.size(); ++i) {
        QTextBlockFormat rowBlock;
        rowBlock.setBottomMargin(8);
        // Room for the page number, which paintContentsNumbers() sets at the
        // right edge once the text is laid out.
        rowBlock.setRightMargin(48);
        cursor.insertBlock(rowBlock, row);
        contentsRows.append(cursor.block());
        cursor.insertText(report.sections[i].heading, row);
    }
    contentsPages = pagesOf(contents);
}

ReportLayout::ReportLayout(const Report &report) : d(std::make_unique<Private>())
{
    d->report = report;
    if (!report.practitioner.logoFile.isEmpty()) {
        const std::variant<Logo, QString> logo = readLogo(report.practitioner.logoFile);
        if (const Logo *read = std::get_if<Logo>(&logo))
            d->logo = *read;
    }
    const QPageSize paper(report.practitioner.paper == kestrava::Paper::Letter ? QPageSize::Letter : QPageSize::A4);
    d->page = QPageLayout(paper, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
    const QRectF full = paper.rect(QPageSize::Point);
    d->body = QRectF(kSideMargin, kTopMargin, full.width() - 2 * kSideMargin,
                     full.height() - kTopMargin - kBottomMargin);

    d->layOutContents();
    int next = d->firstTextPage();
    for (qsizetype i = 0; i < d->report.sections.size(); ++i) {
        d->layOutSection(i);
        Private::Flow &flow = d->flows.back();
        flow.firstPage = next;
        next += flow.pages;
        // Each section's heading opens its first page.
        d->entries.append({d->report.sections[i].heading, flow.firstPage, d->body.top()});
    }
}

ReportLayout::~ReportLayout() = default;

const Report &ReportLayout::report() const
{
    return d->report;
}

QPageLayout ReportLayout::pageLayout() const
{
    return d->page;
}

int ReportLayout::pageCount() const
{
    return d->flows.empty() ? d->firstTextPage() : d->flows.back().firstPage + d->flows.back().pages;
}

QList<ReportLayout::Entry> ReportLayout::contents() const
{
    return d->entries;
}

QList<PdfLink> ReportLayout::contentsLinks() const
{
    QList<PdfLink> links;
    const qreal height = d->body.height();
    for (qsizetype i = 0; i < d->contentsRows.size(); ++i) {
        const QRectF row = d->contents.documentLayout()->blockBoundingRect(d->contentsRows[i]);
        const int page = int(std::floor(row.top() / height + 1e-6));
        const QRectF onPage(d->body.left(), d->body.top() + row.top() - page * height, d->body.width(),
                            row.height());
        links.append({d->firstContentsPage() + page, onPage, d->entries[i].page, d->entries[i].top});
    }
    return links;
}

void ReportLayout::Private::paintLogo(QPainter &painter, const QRectF &area) const
{
    if (!logo)
        return;
    const QSizeF size = QSizeF(logo->size).scaled(area.size(), Qt::KeepAspectRatio);
    const QRectF target(area.center().x() - size.width() / 2, area.top(), size.width(), size.height());
    // A PNG is kept at the print's resolution, not the file's.
    drawLogo(painter, *logo, target, 300 / kPointsPerInch);
}

void ReportLayout::Private::paintTitlePage(QPainter &painter) const
{
    const QRectF full = page.fullRect(QPageLayout::Point);
    const QColor accent = accentColour(report.practitioner);
    const qreal width = full.width() - 2 * kSideMargin;
    qreal y = 64;

    // The practitioner: logo, name and contact, centred at the top.
    paintLogo(painter, QRectF(kSideMargin, y, width, 96));
    if (logo)
        y += 112;
    auto centred = [&](const QString &text, const QFont &font, const QColor &colour) {
        painter.setFont(font);
        painter.setPen(colour);
        const QRectF bounds = painter.boundingRect(QRectF(kSideMargin, y, width, 1000),
                                                   Qt::AlignHCenter | Qt::TextWordWrap, text);
        painter.drawText(bounds, Qt::AlignHCenter | Qt::TextWordWrap, text);
        y += bounds.height();
    };
    QFont nameFont = bodyFont(15);
    nameFont.setBold(true);
    if (!report.practitioner.name.trimmed().isEmpty())
        centred(report.practitioner.name.trimmed(), nameFont, Qt::black);
    y += 4;
    if (!report.practitioner.contact.trimmed().isEmpty())
        centred(report.practitioner.contact.trimmed(), bodyFont(10), QColor(70, 70, 70));

    // The report itself, a third of the way down.
    y = std::max(y + 48, full.height() * 0.36);
    painter.fillRect(QRectF(kSideMargin, y, width, 3), accent);
    y += 28;
    QFont titleFont = bodyFont(28);
    titleFont.setBold(true);
    centred(report.title, titleFont, accent);
    y += 28;
    const TitleLines lines = titleLines(report);
    centred(lines.preparedFor, bodyFont(12), QColor(90, 90, 90));
    y += 6;
    QFont clientFont = bodyFont(22);
    clientFont.setBold(true);
    centred(report.clientName, clientFont, Qt::black);
    y += 8;
    centred(lines.born, bodyFont(12), Qt::black);
    y += 28;
    painter.fillRect(QRectF(kSideMargin, y, width, 3), accent);

    // The date of the report at the foot of the page.
    painter.setFont(bodyFont(11));
    painter.setPen(QColor(70, 70, 70));
    painter.drawText(QRectF(kSideMargin, full.height() - 110, width, 20), Qt::AlignHCenter,
                     lines.reportDate);
}

void ReportLayout::Private::paintRunning(QPainter &painter, int index, int pageCount) const
{
    const QRectF full = page.fullRect(QPageLayout::Point);
    const qreal width = full.width() - 2 * kSideMargin;
    const QColor accent = accentColour(report.practitioner);
    painter.setFont(bodyFont(8.5));
    painter.setPen(QColor(80, 80, 80));
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(kSideMargin, kHeaderBaseline), report.clientName);
    const QString title = metrics.elidedText(report.title, Qt::ElideRight, width / 2);
    painter.drawText(QPointF(kSideMargin + width - metrics.horizontalAdvance(title), kHeaderBaseline), title);
    painter.fillRect(QRectF(kSideMargin, kHeaderBaseline + 6, width, 0.8), accent);

    const qreal footer = full.height() - kFooterFromBottom;
    painter.fillRect(QRectF(kSideMargin, footer - 14, width, 0.5), QColor(160, 160, 160));
    const QString name = metrics.elidedText(report.practitioner.name.trimmed(), Qt::ElideRight, width / 2);
    painter.drawText(QPointF(kSideMargin, footer), name);
    const QString number = pageFooter(index + 1, pageCount);
    painter.drawText(QPointF(kSideMargin + width - metrics.horizontalAdvance(number), footer), number);
}

void ReportLayout::Private::paintContentsNumbers(QPainter &painter, int index) const
{
    // Each line's page number on the line's last baseline, at the right edge.
    painter.save();
    painter.setFont(bodyFont(12));
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), device.device());
    for (qsizetype i = 0; i < contentsRows.size(); ++i) {
        const QRectF row = contents.documentLayout()->blockBoundingRect(contentsRows[i]);
        if (int(std::floor(row.top() / body.height() + 1e-6)) != index)
            continue;
        const QTextLayout *lines = contentsRows[i].layout();
        const QTextLine last = lines->lineAt(lines->lineCount() - 1);
        const qreal baseline = row.top() + last.y() + last.ascent() - index * body.height();
        const QString number = QString::number(entries[i].page + 1);
        painter.drawText(QPointF(body.right() - metrics.horizontalAdvance(number), body.top() + baseline), number);
    }
    painter.restore();
}

void ReportLayout::Private::paintText(QPainter &painter, const QTextDocument &document, int index) const
{
    // Line by line, each on the one page it was laid out on.  (The document
    // layout's own drawing, clipped to the page, would still write the lines
    // beside the page into a PDF: invisible, yet found by search and copy.)
    painter.save();
    painter.translate(body.left(), body.top() - index * body.height());
    painter.setPen(kBodyColour);
    const QColor accent = accentColour(report.practitioner);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (pageAt(lineTop(block, line)) != index)
                continue;
            if (block.blockFormat().hasProperty(kRuleProperty)) {
                const qreal y = lineTop(block, line) + line.height() / 2;
                painter.fillRect(QRectF(0, y - 0.4, body.width(), 0.8), accent);
                continue;
            }
            line.draw(&painter, layout->position());
        }
    }
    painter.restore();
}

QList<ReportLayout::Line> ReportLayout::pageLines(int page) const
{
    const QTextDocument *document = nullptr;
    int index = 0;
    if (page >= d->firstContentsPage() && page < d->firstTextPage()) {
        document = &d->contents;
        index = page - d->firstContentsPage();
    }
    for (const Private::Flow &flow : d->flows) {
        if (page >= flow.firstPage && page < flow.firstPage + flow.pages) {
            document = flow.document.get();
            index = page - flow.firstPage;
        }
    }
    QList<Line> lines;
    if (!document)
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout || block.blockFormat().hasProperty(kRuleProperty))
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (d->pageAt(Private::lineTop(block, line)) != index)
                continue;
            lines.append({block.text().mid(line.textStart(), line.textLength()).trimmed(),
                          block.blockFormat().hasProperty(kHeadingProperty), block.blockNumber(), i,
                          layout->lineCount()});
        }
    }
    return lines;
}

void ReportLayout::paintPage(QPainter &painter, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    if (page == 0) {
        d->paintTitlePage(painter);
        painter.restore();
        return;
    }
    d->paintRunning(painter, page, pageCount());
    if (page < d->firstTextPage()) {
        d->paintContentsNumbers(painter, page - d->firstContentsPage());
        d->paintText(painter, d->contents, page - d->firstContentsPage());
    } else {
        for (const Private::Flow &flow : d->flows) {
            if (page >= flow.firstPage && page < flow.firstPage + flow.pages)
                d->paintText(painter, *flow.document, page - flow.firstPage);
        }
    }
    painter.restore();
}

QImage ReportLayout::pageImage(int page, qreal dotsPerInch) const
{
    const QSizeF points = d->page.fullRect(QPageLayout::Point).size();
    const qreal scale = dotsPerInch / kPointsPerInch;
    QImage image((points * scale).toSize(), QImage::Format_RGB32);
    // The image counts in points, as the layout does; the painter's scale
    // makes the pixels.  (At the image's own resolution its fonts would
    // grow twice.)
    const int dotsPerMetre = qRound(kPointsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    paintPage(painter, page);
    return image;
}

QString pageFooter(int page, int pageCount)
{
    return QObject::tr("page %1 of %2").arg(page).arg(pageCount);
}

QByteArray reportPdf(const ReportLayout &layout)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(int(kPointsPerInch));
        writer.setPageLayout(layout.pageLayout());
        writer.setTitle(layout.report().title + u" \u2014 "_s + layout.report().clientName);
        writer.setCreator(kestrava::productTitle());
        QPainter painter(&writer);
        for (int page = 0; page < layout.pageCount(); ++page) {
            if (page > 0)
                writer.newPage();
            layout.paintPage(painter, page);
        }
    }
    QList<PdfBookmark> bookmarks;
    bookmarks.append({QObject::tr("Contents"), 1, kTopMargin, 0});
    for (const ReportLayout::Entry &entry : layout.contents())
        bookmarks.append({entry.heading, entry.page, entry.top, 0});
    return addBookmarksAndLinks(pdf, bookmarks, layout.contentsLinks()).value_or(pdf);
}

} // namespace report

#include "reportlayout.moc"
