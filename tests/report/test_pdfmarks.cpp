#include "report/pdfmarks.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextDocument>

#include <gtest/gtest.h>

using report::PdfBookmark;
using report::PdfLink;

namespace {

// A4 at one device pixel per point and without margins, so a position drawn
// is the position on the page.
QByteArray writePages(const QStringList &texts)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        writer.setResolution(72);
        QPainter painter(&writer);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (i > 0)
                writer.newPage();
            painter.drawText(QPointF(72, 100), texts.at(i));
        }
    }
    return buffer.data();
}

// A printed rich text document, with the web links Qt writes for its anchors.
QByteArray writeRichText(const QString &html)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QTextDocument document;
        document.setHtml(html);
        document.print(&writer);
    }
    return buffer.data();
}

// A file of numbered objects with its cross-reference table, for the shapes
// other writers use and Qt does not (a nested page tree, inherited boxes).
QByteArray writeObjects(const QList<QByteArray> &objects)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

struct ToolRun
{
    int status = -1;
    QString out;
    QString err;
};

ToolRun run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

bool toolsMissing()
{
    for (const char *tool : {"qpdf", "pdfinfo", "pdftotext"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return true;
    }
    return false;
}

// What each page draws, in page order: its content streams' data, decoded.
QStringList pageContents(const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("contents.pdf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    const ToolRun json = run("qpdf", {"--json=2", "--json-key=qpdf", "--json-key=pages", "--json-stream-data=inline",
                                      file.fileName()});
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonObject objects = root.value("qpdf").toArray().at(1).toObject();
    QStringList contents;
    for (const QJsonValue &page : root.value("pages").toArray()) {
        for (const QJsonValue &ref : page.toObject().value("contents").toArray())
            contents.append(
                objects.value("obj:" + ref.toString()).toObject().value("stream").toObject().value("data").toString());
    }
    return contents;
}

QString number(const QJsonValue &value)
{
    return QString::number(value.toDouble());
}

// The document as qpdf reads it: every object as it stands after all the
// updates, the pages in order and the outline.
class Readback
{
public:
    explicit Readback(const QByteArray &pdf)
    {
        m_file.setFileTemplate(m_dir.filePath("XXXXXX.pdf"));
        m_file.open();
        m_file.write(pdf);
        m_file.flush();
        const ToolRun check = run("qpdf", {"--check", m_file.fileName()});
        m_check = check.status == 0 && !check.out.contains("WARNING") && check.err.isEmpty();
        if (!m_check)
            m_checkText = check.out + check.err;
        const ToolRun json = run("qpdf", {"--json=2", "--json-key=qpdf", "--json-key=pages", "--json-key=outlines",
                                      m_file.fileName()});
        const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
        m_objects = root.value("qpdf").toArray().at(1).toObject();
        for (const QJsonValue &page : root.value("pages").toArray())
            m_pages.append(page.toObject().value("object").toString());
        m_outlines = root.value("outlines").toArray();
    }

    QString path() const { return m_file.fileName(); }
    bool checked() const { return m_check; }
    QString checkText() const { return m_checkText; }
    qsizetype pageCount() const { return m_pages.size(); }

    QJsonValue object(const QString &ref) const { return m_objects.value("obj:" + ref).toObject().value("value"); }
    QJsonValue resolved(const QJsonValue &value) const
    {
        return value.isString() && value.toString().endsWith(" R") ? object(value.toString()) : value;
    }

    // Each entry as "title -> page at top", indented by its depth, with the
    // entry's count where it has entries under it.
    QStringList outline() const
    {
        QStringList lines;
        addOutline(m_outlines, 0, lines);
        return lines;
    }

    // The page's annotations: "link [rect] -> page at top" or "uri address".
    QStringList annotations(int page) const
    {
        QStringList lines;
        const QJsonArray annots = resolved(object(m_pages.value(page)).toObject().value("/Annots")).toArray();
        for (const QJsonValue &ref : annots) {
            const QJsonObject annot = resolved(ref).toObject();
            if (annot.value("/Subtype") != "/Link") {
                lines.append("other " + annot.value("/Subtype").toString());
            } else if (annot.contains("/Dest")) {
                const QJsonArray rect = annot.value("/Rect").toArray();
                lines.append(QStringLiteral("link [%1 %2 %3 %4] -> %5")
                                 .arg(number(rect.at(0)), number(rect.at(1)), number(rect.at(2)), number(rect.at(3)),
                                      destination(annot.value("/Dest").toArray())));
            } else {
                lines.append("uri " + annot.value("/A").toObject().value("/URI").toString().remove(0, 2));
            }
        }
        return lines;
    }

    QString destination(const QJsonArray &dest) const
    {
        return QStringLiteral("%1 %2 at %3,%4 zoom %5")
            .arg(m_pages.indexOf(dest.at(0).toString()) + 1)
            .arg(dest.at(1).toString(), number(dest.at(2)), number(dest.at(3)),
                 dest.at(4).isNull() ? "kept" : number(dest.at(4)));
    }

    QJsonObject catalog() const
    {
        return object(m_objects.value("trailer").toObject().value("value").toObject().value("/Root").toString())
            .toObject();
    }

private:
    void addOutline(const QJsonArray &items, int depth, QStringList &lines) const
    {
        for (const QJsonValue &value : items) {
            const QJsonObject item = value.toObject();
            QString line = QString(depth * 2, ' ') + item.value("title").toString() + " -> "
                           + destination(item.value("dest").toArray());
            const QJsonArray kids = item.value("kids").toArray();
            if (!kids.isEmpty())
                line += " (" + number(object(item.value("object").toString()).toObject().value("/Count")) + ")";
            lines.append(line);
            addOutline(kids, depth + 1, lines);
        }
    }

    QTemporaryDir m_dir;
    QTemporaryFile m_file;
    bool m_check = false;
    QString m_checkText;
    QJsonObject m_objects;
    QStringList m_pages;
    QJsonArray m_outlines;
};

} // namespace

TEST(PdfMarks, TheOutlineAndTheLinksReadBackInIndependentReaders)
{
    if (toolsMissing())
        GTEST_SKIP() << "qpdf and poppler-utils are needed";
    const QByteArray pdf = writePages({"Kestrava report", "Table of contents", "Numerology section"});
    const QList<PdfBookmark> bookmarks = {
        {"Title page", 0, 0, 0},
        {"Contents", 1, 40, 0},
        {"Numerology", 2, 60, 0},
        {"Life Path (the birth date's number) \\ 22", 2, 90, 1},
        {QString::fromUtf8("Größe – Zahl ✓ 𝟕"), 2, 400, 2},
        {"Expression", 2, 500, 1},
        {"Soul Urge", 2, 560, 3}, // two levels below the last entry: taken as one
        {"Closing words", 2, 800, 0},
    };
    const QList<PdfLink> links = {
        {1, QRectF(72, 86, 200, 16), 2, 60}, // over the text drawn on the page
        {1, QRectF(72, 120, 200, 16), 2, 800},
        {2, QRectF(500, 20, 60, 12), 1, 0},
    };
    const auto marked = report::addBookmarksAndLinks(pdf, bookmarks, links);
    ASSERT_TRUE(marked);
    // What the writer drew stays as it was, page for page.
    const QStringList drawn = pageContents(pdf);
    EXPECT_EQ(drawn.size(), 3);
    EXPECT_EQ(pageContents(*marked), drawn);

    const Readback back(*marked);
    EXPECT_TRUE(back.checked()) << back.checkText().toStdString();
    EXPECT_EQ(back.outline(), (QStringList{
                                  "Title page -> 1 /XYZ at 0,842 zoom kept",
                                  "Contents -> 2 /XYZ at 0,802 zoom kept",
                                  "Numerology -> 3 /XYZ at 0,782 zoom kept (4)",
                                  "  Life Path (the birth date's number) \\ 22 -> 3 /XYZ at 0,752 zoom kept (1)",
                                  QString::fromUtf8("    Größe – Zahl ✓ 𝟕 -> 3 /XYZ at 0,442 zoom kept"),
                                  "  Expression -> 3 /XYZ at 0,342 zoom kept (1)",
                                  "    Soul Urge -> 3 /XYZ at 0,282 zoom kept",
                                  "Closing words -> 3 /XYZ at 0,42 zoom kept",
                              }));
    const QJsonObject catalog = back.catalog();
    EXPECT_EQ(catalog.value("/PageMode"), "/UseOutlines");
    EXPECT_EQ(back.object(catalog.value("/Outlines").toString()).toObject().value("/Count"), 8);
    EXPECT_EQ(back.annotations(0), QStringList());
    EXPECT_EQ(back.annotations(1), (QStringList{"link [72 740 272 756] -> 3 /XYZ at 0,782 zoom kept",
                                                "link [72 706 272 722] -> 3 /XYZ at 0,42 zoom kept"}));
    EXPECT_EQ(back.annotations(2), QStringList{"link [500 810 560 822] -> 2 /XYZ at 0,842 zoom kept"});

    // Poppler reads the same file without repairing it, all pages and text.
    const ToolRun info = run("pdfinfo", {back.path()});
    EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.out.toStdString();
    EXPECT_EQ(info.err, QString());
    const ToolRun text = run("pdftotext", {back.path(), "-"});
    for (const char *expected : {"Kestrava report", "Table of contents", "Numerology section"})
        EXPECT_TRUE(text.out.contains(expected)) << text.out.toStdString();
    // Poppler's own outline and links, where its link sits over the text drawn there.
    const ToolRun xml = run("pdftohtml", {"-xml", "-i", "-stdout", back.path()});
    EXPECT_TRUE(xml.out.contains(QString::fromUtf8("<item page=\"3\">Größe – Zahl ✓ 𝟕</item>")))
        << xml.out.toStdString();
    EXPECT_TRUE(xml.out.contains(QRegularExpression("<a href=\"[^\"]*#3\">Table of contents</a>")))
        << xml.out.toStdString();
}

TEST(PdfMarks, LinksAlreadyOnAPageKeepWorkingBesideTheNewOnes)
{
    if (toolsMissing())
        GTEST_SKIP() << "qpdf and poppler-utils are needed";
    // Qt keeps a page's web links in an array object of its own.
    const QByteArray pdf = writeRichText("<p>See <a href=\"https://example.com/numbers\">the numbers</a></p>"
                                         "<p style=\"page-break-before: always\">Or <a href=\"https://example.org/\">"
                                         "write</a></p>");
    const auto once = report::addBookmarksAndLinks(pdf, {}, {{0, QRectF(10, 10, 100, 20), 1, 0}});
    ASSERT_TRUE(once);
    // A second update reads through the first, whose page keeps its links inline.
    const auto twice =
        report::addBookmarksAndLinks(*once, {{"Start", 0, 0, 0}}, {{0, QRectF(10, 40, 100, 20), 0, 400}});
    ASSERT_TRUE(twice);
    const QStringList drawn = pageContents(pdf);
    EXPECT_EQ(drawn.size(), 2);
    EXPECT_EQ(pageContents(*twice), drawn);

    const Readback back(*twice);
    EXPECT_TRUE(back.checked()) << back.checkText().toStdString();
    EXPECT_EQ(back.annotations(0), (QStringList{"uri https://example.com/numbers",
                                                "link [10 812 110 832] -> 2 /XYZ at 0,842 zoom kept",
                                                "link [10 782 110 802] -> 1 /XYZ at 0,442 zoom kept"}));
    EXPECT_EQ(back.annotations(1), QStringList{"uri https://example.org/"});
    EXPECT_EQ(back.outline(), QStringList{"Start -> 1 /XYZ at 0,842 zoom kept"});
    const ToolRun urls = run("pdfinfo", {"-url", back.path()});
    EXPECT_TRUE(urls.out.contains(QRegularExpression("1\\s+Annotation\\s+https://example.com/numbers")))
        << urls.out.toStdString();
    EXPECT_TRUE(urls.out.contains(QRegularExpression("2\\s+Annotation\\s+https://example.org/")))
        << urls.out.toStdString();
    EXPECT_EQ(urls.err, QString());
}

TEST(PdfMarks, PagesComeFromTheWholeTreeWithTheirInheritedBoxes)
{
    if (toolsMissing())
        GTEST_SKIP() << "qpdf and poppler-utils are needed";
    const QByteArray pdf = writeObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 3 /MediaBox [0 0 612 792] /Resources << >> >>",
        "<< /Type /Pages /Parent 2 0 R /Kids [4 0 R 5 0 R] /Count 2 /MediaBox [0 0 200 300] >>",
        "<< /Type /Page /Parent 3 0 R >>",
        "<< /Type /Page /Parent 3 0 R /MediaBox [50 100 400 500] /Annots [] >>",
        "<< /Type /Page /Parent 2 0 R >>",
    });
    const auto marked = report::addBookmarksAndLinks(
        pdf, {{"One", 0, 50, 0}, {"Two", 1, 50, 0}, {"Three", 2, 50, 0}}, {{1, QRectF(10, 10, 20, 20), 2, 92}});
    ASSERT_TRUE(marked);
    const Readback back(*marked);
    EXPECT_TRUE(back.checked()) << back.checkText().toStdString();
    EXPECT_EQ(back.outline(), (QStringList{"One -> 1 /XYZ at 0,250 zoom kept", "Two -> 2 /XYZ at 50,450 zoom kept",
                                           "Three -> 3 /XYZ at 0,742 zoom kept"}));
    EXPECT_EQ(back.annotations(1), QStringList{"link [60 470 80 490] -> 3 /XYZ at 0,700 zoom kept"});
}

TEST(PdfMarks, BytesItCannotUpdateSafelyGiveNothing)
{
    const QByteArray pdf = writePages({"One", "Two", "Three"});
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QList<PdfBookmark> bookmarks;
        QList<PdfLink> links;
        bool updated;
    };
    const Case cases[] = {
        {"the writer's file", pdf, {{"Two", 1, 0, 0}}, {{0, QRectF(0, 0, 10, 10), 2, 0}}, true},
        {"nothing", QByteArray(), {{"Two", 1, 0, 0}}, {}, false},
        {"not a PDF", QByteArray("Your LifePath Number is: 22\n").repeated(40), {{"Two", 1, 0, 0}}, {}, false},
        {"cut in half", pdf.left(pdf.size() / 2), {{"Two", 1, 0, 0}}, {}, false},
        {"cut before its end mark", pdf.left(pdf.lastIndexOf("%%EOF")), {{"Two", 1, 0, 0}}, {}, false},
        {"no table where startxref points", pdf.left(startxref) + "startxref\n9\n%%EOF\n", {{"Two", 1, 0, 0}}, {},
         false},
        {"no startxref", pdf.left(startxref) + "%%EOF\n", {{"Two", 1, 0, 0}}, {}, false},
        {"a bookmark past the last page", pdf, {{"Four", 3, 0, 0}}, {}, false},
        {"a bookmark before the first page", pdf, {{"Zero", -1, 0, 0}}, {}, false},
        {"a link on a page past the last", pdf, {}, {{3, QRectF(0, 0, 10, 10), 0, 0}}, false},
        {"a link to a page past the last", pdf, {}, {{0, QRectF(0, 0, 10, 10), 3, 0}}, false},
        {"a place that is no number", pdf, {{"Two", 1, qQNaN(), 0}}, {}, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(report::addBookmarksAndLinks(test.bytes, test.bookmarks, test.links).has_value(), test.updated);
    }
}
