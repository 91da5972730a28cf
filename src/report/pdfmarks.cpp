#include "report/pdfmarks.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace report {

namespace {

// Only the few values the update touches are understood; every other value is
// carried over as the bytes it was written with, so nothing Qt wrote is lost
// or reformatted.

struct Ref
{
    int number = 0;
    int generation = 0;
};

bool isWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/'
           || c == '%';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A cursor over the file's bytes that reads PDF tokens and skips whole values.
class Scanner
{
public:
    Scanner(const QByteArray &bytes, qsizetype pos)
        : m_bytes(bytes)
        , m_pos(pos)
    {
    }

    qsizetype pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    char peek() const { return atEnd() ? '\0' : m_bytes.at(m_pos); }

    void skipSpace()
    {
        while (!atEnd()) {
            const char c = m_bytes.at(m_pos);
            if (isWhite(c)) {
                ++m_pos;
            } else if (c == '%') {
                while (!atEnd() && m_bytes.at(m_pos) != '\n' && m_bytes.at(m_pos) != '\r')
                    ++m_pos;
            } else {
                break;
            }
        }
    }

    // A run of regular characters: a number, a keyword such as obj or R.
    QByteArray word()
    {
        skipSpace();
        const qsizetype start = m_pos;
        while (!atEnd() && !isWhite(m_bytes.at(m_pos)) && !isDelimiter(m_bytes.at(m_pos)))
            ++m_pos;
        return m_bytes.mid(start, m_pos - start);
    }

    std::optional<qint64> integer()
    {
        const QByteArray text = word();
        if (text.isEmpty() || !std::all_of(text.begin(), text.end(), isDigit))
            return std::nullopt;
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        return ok ? std::optional<qint64>(value) : std::nullopt;
    }

    bool keyword(const char *expected)
    {
        return word() == expected;
    }

    // Skips one complete value (a reference "n g R" counts as one) and
    // returns its bytes; nothing when the bytes are not a value.
    std::optional<QByteArray> value(int depth = 0)
    {
        if (depth > 64)
            return std::nullopt;
        skipSpace();
        if (atEnd())
            return std::nullopt;
        const qsizetype start = m_pos;
        const char c = peek();
        if (c == '<' && m_pos + 1 < m_bytes.size() && m_bytes.at(m_pos + 1) == '<') {
            m_pos += 2;
            for (;;) {
                skipSpace();
                if (atEnd())
                    return std::nullopt;
                if (m_bytes.mid(m_pos, 2) == ">>") {
                    m_pos += 2;
                    break;
                }
                if (!name() || !value(depth + 1))
                    return std::nullopt;
            }
        } else if (c == '[') {
            ++m_pos;
            for (;;) {
                skipSpace();
                if (atEnd())
                    return std::nullopt;
                if (peek() == ']') {
                    ++m_pos;
                    break;
                }
                if (!value(depth + 1))
                    return std::nullopt;
            }
        } else if (c == '(') {
            if (!literalString())
                return std::nullopt;
        } else if (c == '<') {
            const qsizetype close = m_bytes.indexOf('>', m_pos);
            if (close < 0)
                return std::nullopt;
            m_pos = close + 1;
        } else if (c == '/') {
            if (!name())
                return std::nullopt;
        } else {
            const QByteArray first = word();
            if (first.isEmpty())
                return std::nullopt;
            if (std::all_of(first.begin(), first.end(), isDigit)) {
                // Two unsigned integers and R make a reference.
                const qsizetype afterFirst = m_pos;
                const QByteArray second = word();
                if (!second.isEmpty() && std::all_of(second.begin(), second.end(), isDigit) && word() == "R")
                    return m_bytes.mid(start, m_pos - start);
                m_pos = afterFirst;
            }
        }
        return m_bytes.mid(start, m_pos - start);
    }

    std::optional<QByteArray> name()
    {
        skipSpace();
        if (peek() != '/')
            return std::nullopt;
        const qsizetype start = m_pos++;
        while (!atEnd() && !isWhite(m_bytes.at(m_pos)) && !isDelimiter(m_bytes.at(m_pos)))
            ++m_pos;
        return m_bytes.mid(start, m_pos - start);
    }

private:
    bool literalString()
    {
        int open = 0;
        while (!atEnd()) {
            const char c = m_bytes.at(m_pos++);
            if (c == '\\')
                ++m_pos;
            else if (c == '(')
                ++open;
            else if (c == ')' && --open == 0)
                return m_pos <= m_bytes.size();
        }
        return false;
    }

    const QByteArray &m_bytes;
    qsizetype m_pos;
};

using Dictionary = QList<std::pair<QByteArray, QByteArray>>; // key (with its slash), value bytes

std::optional<Dictionary> dictionaryEntries(const QByteArray &bytes)
{
    Scanner scanner(bytes, 0);
    scanner.skipSpace();
    if (!bytes.mid(scanner.pos()).startsWith("<<"))
        return std::nullopt;
    Scanner inside(bytes, scanner.pos() + 2);
    Dictionary entries;
    for (;;) {
        inside.skipSpace();
        if (inside.atEnd())
            return std::nullopt;
        if (bytes.mid(inside.pos(), 2) == ">>")
            return entries;
        const auto key = inside.name();
        if (!key)
            return std::nullopt;
        const auto value = inside.value();
        if (!value)
            return std::nullopt;
        entries.append({*key, *value});
    }
}

std::optional<QByteArray> entry(const Dictionary &dictionary, const char *key)
{
    for (const auto &[name, value] : dictionary) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

std::optional<QList<QByteArray>> arrayItems(const QByteArray &bytes)
{
    Scanner scanner(bytes, 0);
    scanner.skipSpace();
    if (scanner.peek() != '[')
        return std::nullopt;
    Scanner inside(bytes, scanner.pos() + 1);
    QList<QByteArray> items;
    for (;;) {
        inside.skipSpace();
        if (inside.atEnd())
            return std::nullopt;
        if (inside.peek() == ']')
            return items;
        const auto item = inside.value();
        if (!item)
            return std::nullopt;
        items.append(*item);
    }
}

std::optional<Ref> asRef(const QByteArray &bytes)
{
    Scanner scanner(bytes, 0);
    const auto number = scanner.integer();
    const auto generation = scanner.integer();
    if (!number || !generation || *number > std::numeric_limits<int>::max() || *generation > 65535
        || !scanner.keyword("R"))
        return std::nullopt;
    scanner.skipSpace();
    if (!scanner.atEnd())
        return std::nullopt;
    return Ref{int(*number), int(*generation)};
}

std::optional<qreal> asNumber(const QByteArray &bytes)
{
    bool ok = false;
    const qreal value = bytes.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<qreal>(value) : std::nullopt;
}

QByteArray refText(int number, int generation = 0)
{
    return QByteArray::number(number) + ' ' + QByteArray::number(generation) + " R";
}

QByteArray numberText(qreal value)
{
    QByteArray text = QByteArray::number(value, 'f', 3);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

// A title as a PDF text string: plain ASCII stays readable with its
// delimiters escaped; anything else is UTF-16BE with its byte order mark.
QByteArray textString(const QString &text)
{
    const bool plain =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
    if (plain) {
        QByteArray literal = "(";
        for (const QChar c : text) {
            const char ascii = char(c.unicode());
            if (ascii == '(' || ascii == ')' || ascii == '\\')
                literal += '\\';
            literal += ascii;
        }
        return literal + ')';
    }
    QByteArray utf16 = "\xfe\xff";
    for (const QChar c : text) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xff);
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

struct XrefEntry
{
    qint64 offset = 0;
    int generation = 0;
};

struct Page
{
    Ref ref;
    Dictionary dictionary;
    qreal left = 0;
    qreal top = 0; // the upper edge of the media box, from the bottom
};

class Document
{
public:
    explicit Document(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    bool read()
    {
        if (!m_bytes.startsWith("%PDF-"))
            return false;
        const qsizetype eof = m_bytes.lastIndexOf("%%EOF");
        const qsizetype startxref = m_bytes.lastIndexOf("startxref", eof);
        if (eof < 0 || startxref < 0)
            return false;
        Scanner scanner(m_bytes, startxref + 9);
        const auto offset = scanner.integer();
        if (!offset)
            return false;
        m_startxref = *offset;
        return readXrefSections(m_startxref) && readPages();
    }

    qint64 startxref() const { return m_startxref; }
    int size() const { return m_size; }
    const Dictionary &trailer() const { return m_trailer; }
    const Dictionary &catalog() const { return m_catalog; }
    Ref catalogRef() const { return m_catalogRef; }
    const QList<Page> &pages() const { return m_pages; }

    // The value an object holds (streams are never needed here).
    std::optional<QByteArray> object(Ref ref) const
    {
        const auto found = m_xref.constFind(ref.number);
        if (found == m_xref.constEnd() || found->generation != ref.generation || found->offset >= m_bytes.size())
            return std::nullopt;
        Scanner scanner(m_bytes, found->offset);
        if (scanner.integer() != ref.number || scanner.integer() != ref.generation || !scanner.keyword("obj"))
            return std::nullopt;
        return scanner.value();
    }

    // A value, or the object it refers to.
    std::optional<QByteArray> resolve(const QByteArray &value) const
    {
        const auto ref = asRef(value);
        return ref ? object(*ref) : std::optional<QByteArray>(value);
    }

    std::optional<Dictionary> dictionary(const QByteArray &value) const
    {
        const auto resolved = resolve(value);
        return resolved ? dictionaryEntries(*resolved) : std::nullopt;
    }

private:
    // The newest section first; an entry a newer section gave stays.
    bool readXrefSections(qint64 offset)
    {
        QSet<qint64> seen;
        bool newest = true;
        while (true) {
            if (offset < 0 || offset >= m_bytes.size() || seen.contains(offset))
                return false;
            seen.insert(offset);
            Scanner scanner(m_bytes, offset);
            if (!scanner.keyword("xref"))
                return false;
            for (;;) {
                scanner.skipSpace();
                if (scanner.peek() == 't')
                    break;
                const auto first = scanner.integer();
                const auto count = scanner.integer();
                // Each entry takes twenty bytes: a count beyond the file is garbage.
                if (!first || !count || *first > std::numeric_limits<int>::max() - *count
                    || *count > (m_bytes.size() - scanner.pos()) / 20)
                    return false;
                for (qint64 i = 0; i < *count; ++i) {
                    const auto entryOffset = scanner.integer();
                    const auto generation = scanner.integer();
                    const QByteArray kind = scanner.word();
                    if (!entryOffset || !generation || *generation > 65535 || (kind != "n" && kind != "f"))
                        return false;
                    const int number = int(*first + i);
                    if (!m_xref.contains(number) && !m_freed.contains(number)) {
                        if (kind == "n")
                            m_xref.insert(number, {*entryOffset, int(*generation)});
                        else
                            m_freed.insert(number);
                    }
                }
            }
            if (!scanner.keyword("trailer"))
                return false;
            const auto trailerBytes = scanner.value();
            const auto trailer = trailerBytes ? dictionaryEntries(*trailerBytes) : std::nullopt;
            if (!trailer)
                return false;
            const auto size = entry(*trailer, "/Size");
            if (!size)
                return false;
            const qreal sizeValue = asNumber(*size).value_or(0);
            // Far more objects than any file holds: not a count at all.
            if (sizeValue < 1 || sizeValue > 8388607)
                return false;
            m_size = std::max(m_size, int(sizeValue));
            if (newest) {
                m_trailer = *trailer;
                newest = false;
            }
            const auto previous = entry(*trailer, "/Prev");
            if (!previous)
                return true;
            const auto previousOffset = asNumber(*previous);
            if (!previousOffset)
                return false;
            offset = qint64(*previousOffset);
        }
    }

    bool readPages()
    {
        // Strings the update writes would be read through an encryption the
        // update knows nothing of.
        if (entry(m_trailer, "/Encrypt"))
            return false;
        const auto root = entry(m_trailer, "/Root");
        const auto rootRef = root ? asRef(*root) : std::nullopt;
        if (!rootRef)
            return false;
        m_catalogRef = *rootRef;
        const auto catalog = dictionary(*root);
        if (!catalog)
            return false;
        m_catalog = *catalog;
        const auto pages = entry(m_catalog, "/Pages");
        QSet<int> visited;
        return pages && collectPages(*pages, std::nullopt, visited);
    }

    // Pages in document order; the media box is inherited down the tree.
    bool collectPages(const QByteArray &nodeValue, std::optional<QByteArray> mediaBox, QSet<int> &visited)
    {
        const auto ref = asRef(nodeValue);
        if (!ref || visited.contains(ref->number))
            return false;
        visited.insert(ref->number);
        const auto node = dictionary(nodeValue);
        if (!node)
            return false;
        if (const auto own = entry(*node, "/MediaBox"))
            mediaBox = *own;
        if (const auto kids = entry(*node, "/Kids")) {
            if (entry(*node, "/Type").value_or("/Pages") != "/Pages")
                return false;
            const auto resolved = resolve(*kids);
            const auto items = resolved ? arrayItems(*resolved) : std::nullopt;
            if (!items)
                return false;
            for (const QByteArray &kid : *items) {
                if (!collectPages(kid, mediaBox, visited))
                    return false;
            }
            return true;
        }
        if (entry(*node, "/Type") != "/Page" || !mediaBox)
            return false;
        const auto box = resolve(*mediaBox);
        const auto corners = box ? arrayItems(*box) : std::nullopt;
        if (!corners || corners->size() != 4)
            return false;
        std::array<qreal, 4> values{};
        for (int i = 0; i < 4; ++i) {
            const auto value = asNumber(corners->at(i));
            if (!value)
                return false;
            values[i] = *value;
        }
        m_pages.append({*ref, *node, std::min(values[0], values[2]), std::max(values[1], values[3])});
        return true;
    }

    const QByteArray &m_bytes;
    qint64 m_startxref = 0;
    int m_size = 0;
    QHash<int, XrefEntry> m_xref;
    QSet<int> m_freed;
    Dictionary m_trailer;
    Ref m_catalogRef;
    Dictionary m_catalog;
    QList<Page> m_pages;
};

QByteArray destination(const Page &page, qreal top)
{
    return '[' + refText(page.ref.number, page.ref.generation) + " /XYZ " + numberText(page.left) + ' '
           + numberText(page.top - top) + " null]";
}

QByteArray dictionaryText(const Dictionary &entries)
{
    QByteArray text = "<<\n";
    for (const auto &[key, value] : entries)
        text += key + ' ' + value + '\n';
    return text + ">>";
}

// A dictionary with some entries replaced or added, the others as they were.
Dictionary withEntries(const Dictionary &dictionary, const Dictionary &changes)
{
    Dictionary result;
    for (const auto &[key, value] : dictionary) {
        if (!entry(changes, key.constData()))
            result.append({key, value});
    }
    result.append(changes);
    return result;
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

// The file's bytes with the objects, a cross-reference section for them and a
// trailer that leads back to the file's own section.
QByteArray withUpdate(const QByteArray &pdf, const Document &document, QList<std::pair<Ref, QByteArray>> objects,
                      int size)
{
    QByteArray update = pdf;
    if (!update.endsWith('\n') && !update.endsWith('\r'))
        update += '\n';
    // One subsection for each run of consecutive numbers.
    std::sort(objects.begin(), objects.end(),
              [](const auto &a, const auto &b) { return a.first.number < b.first.number; });
    QList<std::pair<Ref, qint64>> offsets;
    for (const auto &[ref, body] : objects) {
        offsets.append({ref, update.size()});
        update += QByteArray::number(ref.number) + ' ' + QByteArray::number(ref.generation) + " obj\n" + body
                  + "\nendobj\n";
    }

    const qint64 xref = update.size();
    update += "xref\n";
    for (qsizetype i = 0; i < offsets.size();) {
        qsizetype end = i + 1;
        while (end < offsets.size() && offsets.at(end).first.number == offsets.at(end - 1).first.number + 1)
            ++end;
        update += QByteArray::number(offsets.at(i).first.number) + ' ' + QByteArray::number(end - i) + '\n';
        for (; i < end; ++i) {
            update += QByteArray::number(offsets.at(i).second).rightJustified(10, '0') + ' '
                      + QByteArray::number(offsets.at(i).first.generation).rightJustified(5, '0') + " n \n";
        }
    }
    const Ref catalog = document.catalogRef();
    Dictionary trailer{{"/Size", QByteArray::number(size)}, {"/Root", refText(catalog.number, catalog.generation)}};
    for (const char *kept : {"/Info", "/ID"}) {
        if (const auto value = entry(document.trailer(), kept))
            trailer.append({kept, *value});
    }
    trailer.append({"/Prev", QByteArray::number(document.startxref())});
    update += "trailer\n" + dictionaryText(trailer) + "\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return update;
}

} // namespace

std::optional<QByteArray> addBookmarksAndLinks(const QByteArray &pdf, const QList<PdfBookmark> &bookmarks,
                                               const QList<PdfLink> &links)
{
    Document document(pdf);
    if (!document.read())
        return std::nullopt;
    const QList<Page> &pages = document.pages();
    if (!marksFitPages(int(pages.size()), bookmarks, links))
        return std::nullopt;
    if (bookmarks.isEmpty() && links.isEmpty())
        return pdf;

    const Ref catalog = document.catalogRef();
    int nextNumber = document.size();
    QList<std::pair<Ref, QByteArray>> objects;

    if (!bookmarks.isEmpty()) {
        const int rootNumber = nextNumber++;
        const int first = nextNumber;
        nextNumber += int(bookmarks.size());
        const Outline outline = outlineTree(bookmarks);
        const auto numberOf = [&](int index) { return index < 0 ? rootNumber : first + index; };
        const int rootIndex = int(bookmarks.size());
        const QList<int> &top = outline.kids.at(rootIndex);
        objects.append({{rootNumber, 0},
                        dictionaryText({{"/Type", "/Outlines"},
                                        {"/First", refText(numberOf(top.first()))},
                                        {"/Last", refText(numberOf(top.last()))},
                                        {"/Count", QByteArray::number(descendants(outline, rootIndex))}})});
        for (int i = 0; i < bookmarks.size(); ++i) {
            const PdfBookmark &bookmark = bookmarks.at(i);
            const int parent = outline.parent.at(i);
            const QList<int> &siblings = outline.kids.at(parent < 0 ? rootIndex : parent);
            const qsizetype place = siblings.indexOf(i);
            Dictionary item{{"/Title", textString(bookmark.title)}, {"/Parent", refText(numberOf(parent))}};
            if (place > 0)
                item.append({"/Prev", refText(numberOf(siblings.at(place - 1)))});
            if (place + 1 < siblings.size())
                item.append({"/Next", refText(numberOf(siblings.at(place + 1)))});
            const QList<int> &kids = outline.kids.at(i);
            if (!kids.isEmpty()) {
                item.append({"/First", refText(numberOf(kids.first()))});
                item.append({"/Last", refText(numberOf(kids.last()))});
                item.append({"/Count", QByteArray::number(descendants(outline, i))});
            }
            item.append({"/Dest", destination(pages.at(bookmark.page), bookmark.top)});
            objects.append({{numberOf(i), 0}, dictionaryText(item)});
        }
        objects.append({catalog, dictionaryText(withEntries(document.catalog(), {{"/Outlines", refText(rootNumber)},
                                                                                  {"/PageMode", "/UseOutlines"}}))});
    }

    // Pages in order, each with the links on it.
    QMap<int, QList<QByteArray>> annotations;
    for (const PdfLink &link : links) {
        const Page &page = pages.at(link.page);
        const QRectF area = link.area.normalized();
        const QByteArray rect = '[' + numberText(page.left + area.left()) + ' ' + numberText(page.top - area.bottom())
                                + ' ' + numberText(page.left + area.right()) + ' '
                                + numberText(page.top - area.top()) + ']';
        const int number = nextNumber++;
        objects.append({{number, 0},
                        dictionaryText({{"/Type", "/Annot"},
                                        {"/Subtype", "/Link"},
                                        {"/Rect", rect},
                                        {"/Border", "[0 0 0]"},
                                        {"/Dest", destination(pages.at(link.targetPage), link.targetTop)}})});
        annotations[link.page].append(refText(number));
    }
    for (auto it = annotations.cbegin(); it != annotations.cend(); ++it) {
        const Page &page = pages.at(it.key());
        // The web links Qt wrote stay beside the new ones.
        QList<QByteArray> annots;
        if (const auto existing = entry(page.dictionary, "/Annots")) {
            const auto resolved = document.resolve(*existing);
            const auto items = resolved ? arrayItems(*resolved) : std::nullopt;
            if (!items)
                return std::nullopt;
            annots = *items;
        }
        annots.append(it.value());
        objects.append(
            {page.ref, dictionaryText(withEntries(page.dictionary, {{"/Annots", '[' + annots.join(' ') + ']'}}))});
    }

    return withUpdate(pdf, document, objects, nextNumber);
}

} // namespace report
