#include "common/siteaddress.h"
#include "report/logo.h"
#include "report/reportfiles.h"
#include "report/reporthtml.h"
#include "report/reportlayout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace report;

namespace {

const kestrava::Person kMary{u"MARY"_s, u"ANN"_s, u"SMITH"_s, QDate(1979, 8, 6), {}};

class ReportDocument : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A small logo of the practitioner's.
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(QColor(200, 40, 90));
        m_logo = m_dir.filePath(u"logo.png"_s);
        ASSERT_TRUE(logo.save(m_logo));
    }

    Practitioner practitioner(kestrava::Paper paper = kestrava::Paper::A4) const
    {
        Practitioner p;
        p.name = u"Aurelia Venn & Daughters <Readings>"_s;
        p.contact = u"12 Mill Lane, Norwich\naurelia@example.org"_s;
        p.logoFile = m_logo;
        p.reportTitle = u"Numbers for a \"Life\""_s;
        p.accent = {120, 30, 90};
        p.paper = paper;
        return p;
    }

    static ReportRequest request()
    {
        ReportRequest r;
        r.person = kMary;
        r.today = QDate(2026, 12, 11);
        r.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
        r.sections = QList<SectionKind>(std::begin(kSectionKinds), std::end(kSectionKinds));
        r.forecastFrom = 2026;
        r.forecastTo = 2027;
        r.spread = tarot::SpreadCards{3, 14, 25, 36, 47, 58, 69, 70, 1};
        r.partner = kestrava::Person{u"JOHN"_s, {}, u"DOE"_s, QDate(1984, 2, 29), {}};
        return r;
    }

    Report report(kestrava::Paper paper = kestrava::Paper::A4) const
    {
        auto result = composeReport(request(), practitioner(paper));
        return std::get<Report>(result);
    }

    // The text of one page (from 1), or of all pages for 0.
    static QString pdfText(const QString &path, int page = 0)
    {
        QStringList arguments{u"-layout"_s};
        if (page > 0)
            arguments << u"-f"_s << QString::number(page) << u"-l"_s << QString::number(page);
        arguments << path << u"-"_s;
        QProcess tool;
        tool.start(u"pdftotext"_s, arguments);
        tool.waitForFinished(30000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess tool;
        tool.start(program, arguments);
        tool.waitForFinished(30000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    QTemporaryDir m_dir;
    QString m_logo;
};

} // namespace

TEST_F(ReportDocument, TheContentsListEverySectionOnThePageItStartsOn)
{
    const ReportLayout layout(report());
    const QList<ReportLayout::Entry> entries = layout.contents();
    ASSERT_EQ(entries.size(), qsizetype(std::size(kSectionKinds)));
    int previous = 1; // the title page is 0, the contents 1
    for (qsizetype i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].heading.toStdString());
        EXPECT_EQ(entries[i].heading, layout.report().sections[i].heading);
        // Every section starts a page of its own, at the top of the text.
        EXPECT_GT(entries[i].page, previous);
        EXPECT_LT(entries[i].top, 100);
        previous = entries[i].page;
    }
    EXPECT_GT(layout.pageCount(), previous);
    // The contents' lines link to the sections.
    const QList<PdfLink> links = layout.contentsLinks();
    ASSERT_EQ(links.size(), entries.size());
    for (qsizetype i = 0; i < links.size(); ++i) {
        EXPECT_EQ(links[i].page, 1);
        EXPECT_EQ(links[i].targetPage, entries[i].page);
    }
}

TEST_F(ReportDocument, ThePdfHasTheTitlePageContentsRunningHeadersAndFootersAndNoCreditLines)
{
    for (const QString &tool : {u"pdftotext"_s, u"pdfinfo"_s, u"pdftohtml"_s, u"qpdf"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_FAIL() << tool.toStdString() << " (installed by scripts/setup) is missing";
    }
    const Report composed = report();
    const QString path = m_dir.filePath(u"report.pdf"_s);
    ASSERT_FALSE(writeReport(composed, ReportFormat::Pdf, path).has_value());
    const ReportLayout layout(composed);
    const int pages = layout.pageCount();
    EXPECT_TRUE(run(u"pdfinfo"_s, {path}).contains(QRegularExpression(u"Pages:\\s+%1\\n"_s.arg(pages))));

    // The title page: the practitioner's block, the client, the dates; no running header or footer.
    const QString title = pdfText(path, 1);
    for (const QString &expected : {u"Aurelia Venn & Daughters <Readings>"_s, u"12 Mill Lane, Norwich"_s,
                                    u"aurelia@example.org"_s, u"Numbers for a \"Life\""_s, u"MARY ANN SMITH"_s,
                                    u"born Monday, 6 August 1979"_s, u"Report date: Friday, 11 December 2026"_s})
        EXPECT_TRUE(title.contains(expected)) << expected.toStdString();
    EXPECT_FALSE(title.contains(u"page 1 of"_s));

    // Every other page: the client's name above, "page N of M" below.
    for (int page = 2; page <= pages; ++page) {
        SCOPED_TRACE(page);
        const QString text = pdfText(path, page);
        EXPECT_TRUE(text.contains(u"MARY ANN SMITH"_s));
        EXPECT_TRUE(text.contains(u"page %1 of %2"_s.arg(page).arg(pages)));
    }

    // The contents page names each section with the page it is found on.
    const QString contents = pdfText(path, 2);
    for (const ReportLayout::Entry &entry : layout.contents()) {
        SCOPED_TRACE(entry.heading.toStdString());
        const QRegularExpression line(QRegularExpression::escape(entry.heading) + u"[ .]+%1\\b"_s.arg(entry.page + 1));
        EXPECT_TRUE(contents.contains(line));
        EXPECT_TRUE(pdfText(path, entry.page + 1).contains(entry.heading));
    }

    // The contents again as the PDF's bookmarks, and its lines as links, each to its section's page.
    const QJsonObject json = QJsonDocument::fromJson(run(u"qpdf"_s, {u"--json=2"_s, u"--json-key=outlines"_s,
                                                                      u"--json-key=pages"_s, path})
                                                         .toUtf8())
                                 .object();
    const QJsonArray outlines = json.value(u"outlines"_s).toArray();
    ASSERT_EQ(outlines.size(), layout.contents().size() + 1);
    EXPECT_EQ(outlines[0].toObject().value(u"title"_s).toString(), u"Contents"_s);
    EXPECT_EQ(outlines[0].toObject().value(u"destpageposfrom1"_s).toInt(), 2);
    for (qsizetype i = 0; i < layout.contents().size(); ++i) {
        const QJsonObject bookmark = outlines[i + 1].toObject();
        EXPECT_EQ(bookmark.value(u"title"_s).toString(), layout.contents()[i].heading);
        EXPECT_EQ(bookmark.value(u"destpageposfrom1"_s).toInt(), layout.contents()[i].page + 1);
    }
    EXPECT_EQ(run(u"qpdf"_s, {u"--check"_s, path}).count(u"WARNING"_s), 0);
    // A reader follows each line of the contents to its section's page.
    const QString contentsXml = run(u"pdftohtml"_s, {u"-xml"_s, u"-i"_s, u"-stdout"_s, u"-f"_s, u"2"_s, u"-l"_s,
                                                     u"2"_s, path});
    for (const ReportLayout::Entry &entry : layout.contents()) {
        const QString link = u"#%1\">"_s.arg(entry.page + 1) + entry.heading.toHtmlEscaped();
        EXPECT_TRUE(contentsXml.contains(link)) << link.toStdString();
    }

    const QString all = pdfText(path);
    // The spread's cards under their captions, on the tarot section's last page.
    const int lastTarotPage = layout.contents()[4].page; // the page before the next section's
    const QString cardsPage = pdfText(path, lastTarotPage);
    EXPECT_TRUE(cardsPage.contains(u"1. The Empress"_s) && cardsPage.contains(u"9. The Magician"_s));
    EXPECT_FALSE(all.contains(kestrava::siteAddress()));
    EXPECT_FALSE(all.contains(u"Report Generated By"_s));
    EXPECT_FALSE(all.contains(u"forum"_s, Qt::CaseInsensitive));
}

TEST_F(ReportDocument, ThePaperIsThePractitionersChoice)
{
    struct Case
    {
        kestrava::Paper paper;
        const char *size;
    };
    for (const Case &c : {Case{kestrava::Paper::A4, "595 x 842 pts (A4)"}, Case{kestrava::Paper::Letter, "612 x 792 pts (letter)"}}) {
        SCOPED_TRACE(c.size);
        const QString path = m_dir.filePath(u"paper.pdf"_s);
        ASSERT_FALSE(writeReport(report(c.paper), ReportFormat::Pdf, path).has_value());
        EXPECT_TRUE(run(u"pdfinfo"_s, {path}).contains(QString::fromLatin1(c.size)));
    }
}

TEST_F(ReportDocument, TheWebPageIsWellFormedSelfContainedAndHoldsEverySection)
{
    const Report composed = report();
    const QString html = reportHtml(composed);
    QXmlStreamReader xml(html);
    QStringList ids;
    QStringList references;
    QStringList headings;
    int sections = 0;
    bool inHeading = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            EXPECT_NE(name, u"script"_s);
            EXPECT_NE(name, u"link"_s);
            EXPECT_NE(name, u"iframe"_s);
            if (const QString id = xml.attributes().value(u"id"_s).toString(); !id.isEmpty())
                ids.append(id);
            for (const auto &attribute : {u"src"_s, u"href"_s, u"xlink:href"_s}) {
                if (xml.attributes().hasAttribute(attribute))
                    references.append(xml.attributes().value(attribute).toString());
            }
            if (name == u"section"_s && xml.attributes().value(u"class"_s) == u"report-section"_s)
                ++sections;
            inHeading = name == u"h1"_s;
        } else if (xml.isCharacters() && inHeading) {
            headings.append(xml.text().toString());
            inHeading = false;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    EXPECT_EQ(sections, composed.sections.size());
    for (const ReportSection &section : composed.sections)
        EXPECT_TRUE(headings.contains(section.heading)) << section.heading.toStdString();
    // Nothing outside the page: links within it, pictures as data.
    for (const QString &reference : references) {
        SCOPED_TRACE(reference.left(40).toStdString());
        if (reference.startsWith(u'#'))
            EXPECT_TRUE(ids.contains(reference.mid(1)));
        else
            EXPECT_TRUE(reference.startsWith(u"data:image/"_s));
    }
    EXPECT_TRUE(references.contains(u"#timeline"_s));
    EXPECT_TRUE(std::any_of(references.begin(), references.end(),
                            [](const QString &r) { return r.startsWith(u"data:image/png;base64,"_s); }));
    EXPECT_TRUE(html.contains(u"<svg"_s));
    // The spread's nine cards, each picture inside the page.
    EXPECT_EQ(std::count_if(references.begin(), references.end(),
                            [](const QString &r) { return r.startsWith(u"data:image/svg+xml;base64,"_s); }),
              9);
    EXPECT_TRUE(html.contains(u"<figcaption>1. The Empress</figcaption>"_s));
    EXPECT_FALSE(html.contains(u"url("_s));
    EXPECT_FALSE(html.contains(kestrava::siteAddress()));
    EXPECT_FALSE(html.contains(u"Report Generated By"_s));
    // The practitioner's name is text, not markup, in the page and in its print style sheet.
    EXPECT_TRUE(html.contains(u"Aurelia Venn &amp; Daughters &lt;Readings&gt;"_s));
    EXPECT_TRUE(html.contains(u"content: \"Aurelia\\20 Venn\\20 \\26 \\20 Daughters\\20 \\3c Readings\\3e \""_s));
    EXPECT_TRUE(html.contains(u"content: \"Numbers\\20 for\\20 a\\20 \\22 Life\\22 \""_s));
    EXPECT_TRUE(html.contains(u"counter(page) \" of \" counter(pages)"_s));
}

namespace {

// How many pixels of the picture are near the colour.
int pixelsLike(const QImage &picture, QColor colour)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && std::abs(pixel.red() - colour.red()) < 40
                && std::abs(pixel.green() - colour.green()) < 40 && std::abs(pixel.blue() - colour.blue()) < 40)
                ++count;
        }
    }
    return count;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST_F(ReportDocument, AnSvgLogoShowsOnlyWhatItHoldsItselfNeverAnotherFileOfTheComputer)
{
    // A picture beside the logo and one in a folder above it, both green; the
    // logo's own drawing is a red square, and a blue one it holds as data.
    QImage green(40, 40, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"logos"_s));
    const QString beside = m_dir.filePath(u"logos/secret.png"_s);
    const QString above = m_dir.filePath(u"private.png"_s);
    ASSERT_TRUE(green.save(beside) && green.save(above));
    QImage blue(40, 40, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 220));
    const QString blueAddress = u"data:image/png;base64,"_s + QString::fromLatin1(pngBytes(blue).toBase64());
    // An SVG held as data that reaches for the file itself, by its full path.
    const QByteArray inner = u"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                             "width=\"40\" height=\"40\"><image width=\"40\" height=\"40\" xlink:href=\"%1\"/></svg>"_s
                                 .arg(beside)
                                 .toUtf8();
    const QString svg =
        uR"(<?xml version="1.0"?>
<!DOCTYPE svg [ <!ENTITY up "../private.png"> ]>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="240" height="40">
  <rect x="0" y="0" width="40" height="40" fill="#dc0000"/>
  <image x="40" y="0" width="40" height="40" xlink:href="secret.png"/>
  <image x="80" y="0" width="40" height="40" href="&up;"/>
  <image x="120" y="0" width="40" height="40" xlink:href="file://BESIDE"/>
  <image x="160" y="0" width="40" height="40" xlink:href="data:image/svg+xml;base64,INNER"/>
  <image x="200" y="0" width="40" height="40" xlink:href="BLUE"/>
</svg>
)"_s.replace(u"BESIDE"_s, beside)
            .replace(u"INNER"_s, QString::fromLatin1(inner.toBase64()))
            .replace(u"BLUE"_s, blueAddress);
    const QString logoPath = m_dir.filePath(u"logos/logo.svg"_s);
    QFile file(logoPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(svg.toUtf8());
    file.close();

    const QColor red(220, 0, 0), greenColour(0, 200, 0), blueColour(0, 0, 220);
    {
        // Drawn as it stands, the logo does bring in the files beside and above it.
        QSvgRenderer raw(logoPath);
        QImage image(480, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        raw.render(&painter);
        painter.end();
        ASSERT_GT(pixelsLike(image, greenColour), 1000) << "the file no longer shows what it is made to show";
    }
    const std::variant<Logo, QString> read = readLogo(logoPath);
    ASSERT_TRUE(std::holds_alternative<Logo>(read)) << std::get<QString>(read).toStdString();
    const Logo &logo = std::get<Logo>(read);
    EXPECT_EQ(logo.size, QSize(240, 40));
    for (const char *name : {"secret.png", "private.png", "file:"})
        EXPECT_FALSE(logo.data.contains(name)) << name;

    // As Report Settings previews it.
    const QImage preview = logoImage(logo, QSize(480, 80));
    EXPECT_GT(pixelsLike(preview, red), 1000);
    EXPECT_GT(pixelsLike(preview, blueColour), 1000) << "a picture the logo holds as data is drawn";
    EXPECT_EQ(pixelsLike(preview, greenColour), 0);

    // On the report's title page.
    Practitioner p = practitioner();
    p.logoFile = logoPath;
    p.accent = {120, 30, 90};
    ReportRequest r = request();
    r.sections = {SectionKind::Numerology};
    const Report composed = std::get<Report>(composeReport(r, p));
    const QImage titlePage = ReportLayout(composed).pageImage(0, 144);
    EXPECT_GT(pixelsLike(titlePage, red), 1000);
    EXPECT_EQ(pixelsLike(titlePage, greenColour), 0);

    // In the web page: the logo embedded is the cleaned one.
    const QString html = reportHtml(composed);
    const QRegularExpressionMatch embedded =
        QRegularExpression(u"<img class=\"logo\"[^>]* src=\"data:image/svg\\+xml;base64,([^\"]+)\""_s).match(html);
    ASSERT_TRUE(embedded.hasMatch());
    const QByteArray page = QByteArray::fromBase64(embedded.captured(1).toLatin1());
    EXPECT_FALSE(page.contains("secret.png"));
    EXPECT_FALSE(page.contains("private.png"));
    EXPECT_TRUE(page.contains(blueAddress.toLatin1()));
}
