#include "report/reporthtml.h"

#include "common/brand.h"
#include "numpro/forecast/picture/timelinepicture.h"
#include "report/logo.h"
#include "report/practitioner.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace report {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A text as a CSS string, for the running headers and footers.  Every
// character but a plain letter or digit is written as a hex escape: then no
// character of a name can end the string (a quote, a backslash, a line or
// form feed), end the style element (<), or be read differently by HTML and
// XML.  The space after each escape ends it, as the following character
// could be a hex digit.
QString cssString(const QString &text)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const bool plain = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
        if (plain)
            out += QChar(char16_t(c));
        else
            out += u"\\%1 "_s.arg(quint32(c == 0 ? 0xFFFD : c), 0, 16);
    }
    return u'"' + out + u'"';
}

// The template with each of its placeholders (words in capitals) replaced
// by its value, all in one pass: a value is never searched for placeholders
// itself.
QString filled(const QString &pattern, const QHash<QString, QString> &values)
{
    static const QRegularExpression word(u"\\b[A-Z]{4,}\\b"_s);
    QString out;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = word.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const auto value = values.constFind(match.captured());
        if (value == values.constEnd())
            continue;
        out += QStringView(pattern).sliced(done, match.capturedStart() - done);
        out += *value;
        done = match.capturedEnd();
    }
    out += QStringView(pattern).sliced(done);
    return out;
}

// The logo as an image element with a data address, so that the page needs
// no other file, drawn at the size it is shown at: a PNG at twice that
// (sharp in print), an SVG as its own cleaned document while that is small.
// As an <img>, an SVG cannot run anything.
QString logoElement(const QString &file)
{
    if (file.isEmpty())
        return {};
    const std::variant<Logo, QString> read = readLogo(file);
    const Logo *logo = std::get_if<Logo>(&read);
    if (!logo)
        return {};
    // The most the style sheet lets a logo take (96pt high), in CSS pixels.
    const QSize shown = logo->size.scaled(QSize(480, 128), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QString address;
    if (logo->format == "svg" && logo->data.size() <= 256 * 1024) {
        address = u"data:image/svg+xml;base64,"_s + QString::fromLatin1(logo->data.toBase64());
    } else {
        QSize pixels = shown * 2;
        if (logo->format == "png")
            pixels = pixels.boundedTo(logo->size);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!logoImage(*logo, pixels).save(&buffer, "PNG"))
            return {};
        address = u"data:image/png;base64,"_s + QString::fromLatin1(png.toBase64());
    }
    return u"<img class=\"logo\" alt=\"\" width=\"%1\" height=\"%2\" src=\""_s.arg(shown.width()).arg(shown.height())
           + address + u"\"/>\n"_s;
}

// A picture of the suite's own (an SVG resource) as a data address.
QString pictureAddress(const QString &resource)
{
    QFile in(resource);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return u"data:image/svg+xml;base64,"_s + QString::fromLatin1(in.readAll().toBase64());
}

// The picture's SVG document as an element of the page: without its XML
// declaration, and stretching to the page's width.
QString inlineSvg(const numpro::LifeTimeline &timeline, const QLocale &locale)
{
    const numpro::TimelineLabels labels{false, [locale](QDate date) { return longDate(date, locale); }};
    QString svg = QString::fromUtf8(numpro::timelineSvg(timeline, labels));
    const qsizetype start = svg.indexOf(u"<svg"_s);
    if (start < 0)
        return {};
    svg = svg.mid(start);
    svg.insert(4, u" class=\"timeline\" role=\"img\""_s);
    return svg;
}

// The section's text in the report's own typography: headings, paragraphs
// with their bold words, rules.
QString textHtml(const QList<TextBlock> &blocks)
{
    QString html;
    for (const TextBlock &block : blocks) {
        QStringList classes;
        if (block.spaceBefore)
            classes << u"gap"_s;
        if (block.centred)
            classes << u"centred"_s;
        const QString attributes = classes.isEmpty() ? QString() : u" class=\""_s + classes.join(u' ') + u'"';
        switch (block.role) {
        case BlockRole::Heading:
            html += u"<h2"_s + attributes + u'>' + escaped(block.plainText()) + u"</h2>\n"_s;
            break;
        case BlockRole::Paragraph:
            html += u"<p"_s + attributes + u'>';
            for (const TextSpan &span : block.spans)
                html += span.bold ? u"<b>"_s + escaped(span.text) + u"</b>"_s : escaped(span.text);
            html += u"</p>\n"_s;
            break;
        case BlockRole::Rule:
            html += u"<hr"_s + attributes + u"/>\n"_s;
            break;
        }
    }
    return html;
}

QString styleSheet(const Report &report)
{
    const QString accent = colourName(report.practitioner.accent);
    const QString paper = paperName(report.practitioner.paper);
    const QString css = uR"(
:root { --accent: ACCENT; }
* { box-sizing: border-box; }
body { font-family: "DejaVu Sans", Verdana, sans-serif; font-size: 10pt; color: #222; background: #fff;
       margin: 0 auto; max-width: 52em; padding: 2em 1.5em; line-height: 1.35; }
.title-page { text-align: center; padding: 2em 0 3em; }
.title-page .logo { max-width: 60%; height: auto; }
.title-page .practitioner { font-size: 15pt; font-weight: bold; margin: 0.6em 0 0.2em; }
.title-page .contact { white-space: pre-line; color: #464646; margin: 0; }
.title-page .rule { border: 0; border-top: 3px solid var(--accent); margin: 2.5em 0; }
.title-page .report-title { font-size: 28pt; font-weight: bold; color: var(--accent); margin: 0 0 0.8em; }
.title-page .prepared { color: #5a5a5a; font-size: 12pt; margin: 0; }
.title-page .client { font-size: 22pt; font-weight: bold; margin: 0.2em 0; }
.title-page .born, .title-page .date { font-size: 12pt; margin: 0.2em 0; }
.title-page .date { color: #464646; margin-top: 3em; }
nav.contents h2, section.report-section h1 { color: var(--accent); font-size: 18pt; margin: 0 0 0.7em; }
nav.contents ol { list-style: none; padding: 0; font-size: 12pt; }
nav.contents li { margin: 0 0 0.5em; }
nav.contents a { color: inherit; text-decoration: none; }
nav.contents a:hover { text-decoration: underline; }
section.report-section { margin-top: 3em; }
section.report-section h2 { color: var(--accent); font-size: 11pt; margin: 0.35em 0 0.15em; break-after: avoid; }
section.report-section h2.gap { margin-top: 0.9em; }
section.report-section p { margin: 0; orphans: 2; widows: 2; }
section.report-section p.gap { margin-top: 0.6em; }
section.report-section .centred { text-align: center; }
section.report-section hr { border: 0; border-top: 0.8pt solid var(--accent); margin: 0.3em 0; }
section.report-section hr.gap { margin-top: 0.7em; }
svg.timeline { display: block; width: 100%; height: auto; margin: 0 0 1em; }
.cards { display: grid; grid-template-columns: repeat(3, 1fr); gap: 1em 1.5em; margin: 1.5em 0; }
.cards figure { margin: 0; text-align: center; break-inside: avoid; }
.cards img { width: 100%; max-width: 10em; height: auto; border: 0.5px solid #969696; }
.cards figcaption { font-size: 8.5pt; margin-top: 0.3em; }
@media screen {
  nav.contents, section.report-section { border-top: 1px solid #ccc; padding-top: 1.5em; }
}
@page { size: PAPER; margin: 25mm 20mm 23mm;
  @top-left { content: CLIENT; font: 8.5pt "DejaVu Sans", sans-serif; color: #505050; }
  @top-right { content: TITLE; font: 8.5pt "DejaVu Sans", sans-serif; color: #505050; }
  @bottom-left { content: PRACTITIONER; font: 8.5pt "DejaVu Sans", sans-serif; color: #505050; }
  @bottom-right { content: "page " counter(page) " of " counter(pages); font: 8.5pt "DejaVu Sans", sans-serif;
                  color: #505050; }
}
@page :first { @top-left { content: none; } @top-right { content: none; } @bottom-left { content: none; }
               @bottom-right { content: none; } }
@media print {
  body { max-width: none; padding: 0; }
  .title-page { break-after: page; padding-top: 0; }
  nav.contents { break-after: page; }
  section.report-section { margin-top: 0; }
  section.report-section + section.report-section { break-before: page; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)"_s;
    return filled(css, {{u"ACCENT"_s, accent},
                        {u"PAPER"_s, paper},
                        {u"CLIENT"_s, cssString(report.clientName)},
                        {u"TITLE"_s, cssString(report.title)},
                        {u"PRACTITIONER"_s, cssString(report.practitioner.name.trimmed())}});
}

QString titlePage(const Report &report)
{
    QString html = u"<header class=\"title-page\">\n"_s;
    html += logoElement(report.practitioner.logoFile);
    if (!report.practitioner.name.trimmed().isEmpty())
        html += u"<p class=\"practitioner\">"_s + escaped(report.practitioner.name.trimmed()) + u"</p>\n"_s;
    if (!report.practitioner.contact.trimmed().isEmpty())
        html += u"<p class=\"contact\">"_s + escaped(report.practitioner.contact.trimmed()) + u"</p>\n"_s;
    html += u"<hr class=\"rule\"/>\n<p class=\"report-title\">"_s + escaped(report.title) + u"</p>\n"_s;
    const TitleLines lines = titleLines(report);
    html += u"<p class=\"prepared\">"_s + escaped(lines.preparedFor) + u"</p>\n"_s;
    html += u"<p class=\"client\">"_s + escaped(report.clientName) + u"</p>\n"_s;
    html += u"<p class=\"born\">"_s + escaped(lines.born)
            + u"</p>\n<hr class=\"rule\"/>\n"_s;
    html += u"<p class=\"date\">"_s + escaped(lines.reportDate)
            + u"</p>\n</header>\n"_s;
    return html;
}

} // namespace

QString reportHtml(const Report &report)
{
    QString html = u"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"_s;
    // Nothing outside the page may load: no script, no address but data ones.
    html += u"<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
            "style-src 'unsafe-inline'\"/>\n"_s;
    html += u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"_s;
    html += u"<meta name=\"generator\" content=\""_s + escaped(kestrava::productTitle()) + u"\"/>\n"_s;
    html += u"<title>"_s + escaped(report.title + u" \u2014 "_s + report.clientName) + u"</title>\n"_s;
    html += u"<style>"_s + styleSheet(report) + u"</style>\n</head>\n<body>\n"_s;
    html += titlePage(report);

    html += u"<nav class=\"contents\">\n<h2>"_s + escaped(QObject::tr("Contents")) + u"</h2>\n<ol>\n"_s;
    for (const ReportSection &section : report.sections) {
        html += u"<li><a href=\"#"_s + sectionKey(section.kind) + u"\">"_s + escaped(section.heading)
                + u"</a></li>\n"_s;
    }
    html += u"</ol>\n</nav>\n"_s;

    for (const ReportSection &section : report.sections) {
        html += u"<section class=\"report-section\" id=\""_s + sectionKey(section.kind) + u"\">\n<h1>"_s
                + escaped(section.heading) + u"</h1>\n"_s;
        if (section.timeline)
            html += inlineSvg(*section.timeline, report.locale);
        html += textHtml(section.text);
        if (!section.cards.isEmpty()) {
            html += u"<div class=\"cards\">\n"_s;
            for (const ReportCard &card : section.cards) {
                html += u"<figure><img class=\"card\" alt=\""_s + escaped(card.caption) + u"\" src=\""_s
                        + pictureAddress(card.picture) + u"\"/><figcaption>"_s + escaped(card.caption)
                        + u"</figcaption></figure>\n"_s;
            }
            html += u"</div>\n"_s;
        }
        html += u"</section>\n"_s;
    }
    html += u"</body>\n</html>\n"_s;
    return html;
}

} // namespace report
