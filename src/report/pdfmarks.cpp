#include "report/pdfmarks.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QMap>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace report {

namespace {

// A page and where its top left corner is in the page's own coordinates,
// which count upwards from the lower edge of its media box.
struct Page
{
    QPDFObjectHandle object;
    qreal left = 0;
    qreal top = 0;
};

// The media box may sit on the page or on any node above it in the page tree.
std::optional<Page> pageOf(QPDFObjectHandle object)
{
    QPDFObjectHandle box = QPDFPageObjectHelper(object).getMediaBox();
    if (!box.isRectangle())
        return std::nullopt;
    const QPDFObjectHandle::Rectangle corners = box.getArrayAsRectangle();
    if (!std::isfinite(corners.llx) || !std::isfinite(corners.lly) || !std::isfinite(corners.urx)
        || !std::isfinite(corners.ury))
        return std::nullopt;
    return Page{object, std::min(corners.llx, corners.urx), std::max(corners.lly, corners.ury)};
}

// Positions to a thousandth of a point, whole numbers without a fraction.
QPDFObjectHandle number(qreal value)
{
    const qreal rounded = std::round(value * 1000) / 1000;
    if (rounded == std::trunc(rounded) && std::abs(rounded) < 1e15)
        return QPDFObjectHandle::newInteger(static_cast<long long>(rounded));
    return QPDFObjectHandle::newReal(rounded, 3, true);
}

// A title as a PDF text string: plain ASCII as it is, anything else as
// UTF-16BE with its byte order mark, which every reader takes.
QPDFObjectHandle textString(const QString &text)
{
    const bool plain =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
    if (plain)
        return QPDFObjectHandle::newString(text.toLatin1().toStdString());
    std::string utf16 = "\xfe\xff";
    utf16.reserve(2 + 2 * size_t(text.size()));
    for (const QChar c : text) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xff);
    }
    return QPDFObjectHandle::newString(utf16);
}

// The place at the given distance from the page's top, at its left edge,
// keeping the reader's zoom.
QPDFObjectHandle destination(const Page &page, qreal top)
{
    return QPDFObjectHandle::newArray({page.object, QPDFObjectHandle::newName("/XYZ"), number(page.left),
                                       number(page.top - top), QPDFObjectHandle::newNull()});
}

// Every place is on one of the document's pages and is a finite number.
bool marksFitPages(int pageCount, const QList<PdfBookmark> &bookmarks, const QList<PdfLink> &links)
{
    const auto onPage = [&](int page) { return page >= 0 && page < pageCount; };
    for (const PdfBookmark &bookmark : bookmarks) {
        if (!onPage(bookmark.page) || !std::isfinite(bookmark.top))
            return false;
    }
    for (const PdfLink &link : links) {
        const QRectF &area = link.area;
        if (!onPage(link.page) || !onPage(link.targetPage) || !std::isfinite(link.targetTop)
            || !std::isfinite(area.left()) || !std::isfinite(area.top()) || !std::isfinite(area.right())
            || !std::isfinite(area.bottom()))
            return false;
    }
    return true;
}

struct Outline
{
    QList<int> parent;      // index of the parent entry, -1 for the outline root
    QList<QList<int>> kids; // children of each entry; the last list is the root's
};

// Each level hangs under the last entry one level up; a level that jumps
// further than that is taken as the next one down.
Outline outlineTree(const QList<PdfBookmark> &bookmarks)
{
    Outline outline;
    outline.kids.resize(bookmarks.size() + 1);
    const int root = int(bookmarks.size());
    QList<int> open; // the last entry at each level so far
    for (int i = 0; i < bookmarks.size(); ++i) {
        const int level = std::clamp(bookmarks.at(i).level, 0, int(open.size()));
        open.resize(level);
        const int parent = level == 0 ? root : open.at(level - 1);
        outline.parent.append(parent == root ? -1 : parent);
        outline.kids[parent].append(i);
        open.append(i);
    }
    return outline;
}

// Every entry shows open, so an entry's count is all the entries under it.
int descendants(const Outline &outline, int index)
{
    int count = 0;
    for (const int kid : outline.kids.at(index))
        count += 1 + descendants(outline, kid);
    return count;
}

// The outline's entries linked to their parents, siblings and children, and
// the catalog pointing at it so the reader opens with it shown.
void addOutline(QPDF &document, const std::vector<Page> &pages, const QList<PdfBookmark> &bookmarks)
{
    const Outline outline = outlineTree(bookmarks);
    const int rootIndex = int(bookmarks.size());
    // All the objects first: entries refer to ones that come after them.
    std::vector<QPDFObjectHandle> items;
    items.reserve(size_t(rootIndex) + 1);
    for (int i = 0; i <= rootIndex; ++i)
        items.push_back(document.makeIndirectObject(QPDFObjectHandle::newDictionary()));
    const auto itemOf = [&](int index) { return items.at(size_t(index < 0 ? rootIndex : index)); };

    const auto addKids = [&](QPDFObjectHandle item, int index) {
        const QList<int> &kids = outline.kids.at(index);
        if (kids.isEmpty())
            return;
        item.replaceKey("/First", itemOf(kids.first()));
        item.replaceKey("/Last", itemOf(kids.last()));
        item.replaceKey("/Count", QPDFObjectHandle::newInteger(descendants(outline, index)));
    };
    QPDFObjectHandle root = items.back();
    root.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    addKids(root, rootIndex);
    for (int i = 0; i < rootIndex; ++i) {
        const PdfBookmark &bookmark = bookmarks.at(i);
        const int parent = outline.parent.at(i);
        const QList<int> &siblings = outline.kids.at(parent < 0 ? rootIndex : parent);
        const qsizetype place = siblings.indexOf(i);
        QPDFObjectHandle item = items.at(size_t(i));
        item.replaceKey("/Title", textString(bookmark.title));
        item.replaceKey("/Parent", itemOf(parent));
        if (place > 0)
            item.replaceKey("/Prev", itemOf(siblings.at(place - 1)));
        if (place + 1 < siblings.size())
            item.replaceKey("/Next", itemOf(siblings.at(place + 1)));
        addKids(item, i);
        item.replaceKey("/Dest", destination(pages.at(size_t(bookmark.page)), bookmark.top));
    }

    QPDFObjectHandle catalog = document.getRoot();
    catalog.replaceKey("/Outlines", root);
    catalog.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

// False when a page's annotations are something other than a list.
bool addLinks(QPDF &document, const std::vector<Page> &pages, const QList<PdfLink> &links)
{
    // Pages in order, each with the links on it.
    QMap<int, std::vector<QPDFObjectHandle>> annotations;
    for (const PdfLink &link : links) {
        const Page &page = pages.at(size_t(link.page));
        const QRectF area = link.area.normalized();
        QPDFObjectHandle annotation = QPDFObjectHandle::newDictionary();
        annotation.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
        annotation.replaceKey("/Subtype", QPDFObjectHandle::newName("/Link"));
        annotation.replaceKey("/Rect", QPDFObjectHandle::newArray({number(page.left + area.left()),
                                                                   number(page.top - area.bottom()),
                                                                   number(page.left + area.right()),
                                                                   number(page.top - area.top())}));
        annotation.replaceKey("/Border", QPDFObjectHandle::newArray({QPDFObjectHandle::newInteger(0),
                                                                     QPDFObjectHandle::newInteger(0),
                                                                     QPDFObjectHandle::newInteger(0)}));
        annotation.replaceKey("/Dest", destination(pages.at(size_t(link.targetPage)), link.targetTop));
        annotations[link.page].push_back(document.makeIndirectObject(annotation));
    }
    for (auto it = annotations.cbegin(); it != annotations.cend(); ++it) {
        QPDFObjectHandle page = pages.at(size_t(it.key())).object;
        // The web links Qt wrote stay beside the new ones.  A fresh list, so
        // that an array another page shares is left as it is.
        QPDFObjectHandle annots = QPDFObjectHandle::newArray();
        QPDFObjectHandle existing = page.getKey("/Annots");
        if (existing.isArray()) {
            for (const QPDFObjectHandle &item : existing.getArrayAsVector())
                annots.appendItem(item);
        } else if (!existing.isNull()) {
            return false;
        }
        for (const QPDFObjectHandle &annotation : it.value())
            annots.appendItem(annotation);
        page.replaceKey("/Annots", annots);
    }
    return true;
}

} // namespace

std::optional<QByteArray> addBookmarksAndLinks(const QByteArray &pdf, const QList<PdfBookmark> &bookmarks,
                                               const QList<PdfLink> &links)
{
    // A writer that stopped part way leaves no end mark; what is there may
    // still parse, but it is not the whole document.
    if (!QByteArrayView(pdf).trimmed().endsWith("%%EOF"))
        return std::nullopt;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        // A file that needs repairing is kept as it is rather than guessed at.
        document.setAttemptRecovery(false);
        document.processMemoryFile("report", pdf.constData(), size_t(pdf.size()));

        std::vector<Page> pages;
        for (const QPDFObjectHandle &object : document.getAllPages()) {
            const auto page = pageOf(object);
            if (!page)
                return std::nullopt;
            pages.push_back(*page);
        }
        if (!marksFitPages(int(pages.size()), bookmarks, links) || document.anyWarnings())
            return std::nullopt;
        if (bookmarks.isEmpty() && links.isEmpty())
            return pdf;

        if (!bookmarks.isEmpty())
            addOutline(document, pages, bookmarks);
        if (!addLinks(document, pages, links))
            return std::nullopt;

        QPDFWriter writer(document);
        writer.setOutputMemory();
        // Qt's streams (page content, fonts, pictures) go out exactly as
        // they came in: nothing is decoded, nothing compressed again.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
        writer.write();
        if (document.anyWarnings())
            return std::nullopt;
        const std::shared_ptr<Buffer> output = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(output->getBuffer()), qsizetype(output->getSize()));
    } catch (const std::exception &) {
        // Damaged beyond what the library reads without repairs.
        return std::nullopt;
    }
}

} // namespace report
