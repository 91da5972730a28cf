#include "richtext/composition.h"

#include <QObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace richtext {

namespace {

// Splits a run's text at its line breaks.  CR LF, a lone CR and a lone LF each
// end a line, as in the rich-text view, so every renderer breaks where the view
// does.  A text ending in a break yields an empty last line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            lines.append(line);
            line.clear();
        } else {
            line.append(c);
        }
    }
    lines.append(line);
    return lines;
}

QString cssColour(Rgb c)
{
    return QString::asprintf("#%02x%02x%02x", c.r, c.g, c.b);
}

QString htmlSpan(const Run &run)
{
    const Format &f = run.format;
    QString html = run.text.toHtmlEscaped();
    if (f.underline)
        html = u"<u>"_s + html + u"</u>"_s;
    if (f.bold)
        html = u"<b>"_s + html + u"</b>"_s;
    QStringList style;
    if (f.colour)
        style.append(u"color:"_s + cssColour(*f.colour));
    if (f.pointSize > 0)
        style.append(u"font-size:"_s + QString::number(f.pointSize) + u"pt"_s);
    if (!style.isEmpty())
        html = u"<span style=\""_s + style.join(u';') + u"\">"_s + html + u"</span>"_s;
    return html;
}

struct Paragraph
{
    QList<Run> pieces;
    Align align = Align::Left;
};

QString htmlParagraph(const Paragraph &p)
{
    // Blocks of the rich-text view have no margins and keep every blank.
    QString style = u"margin:0;white-space:pre-wrap"_s;
    if (p.align == Align::Centre)
        style += u";text-align:center"_s;
    else if (p.align == Align::Right)
        style += u";text-align:right"_s;
    QString body;
    for (const Run &piece : p.pieces)
        body += htmlSpan(piece);
    if (body.isEmpty())
        body = u"<br/>"_s; // an empty paragraph still takes a line
    return u"<p style=\""_s + style + u"\">"_s + body + u"</p>"_s;
}

} // namespace

QString crlf(int n)
{
    return QStringLiteral("\r\n").repeated(qMax(n, 0));
}

Composition &Composition::bold(bool on)
{
    m_format.bold = on;
    return *this;
}

Composition &Composition::colour(Rgb colour)
{
    m_format.colour = colour;
    return *this;
}

Composition &Composition::defaultColour()
{
    m_format.colour.reset();
    return *this;
}

Composition &Composition::size(qreal pointSize)
{
    m_format.pointSize = pointSize > 0 ? pointSize : 0;
    return *this;
}

Composition &Composition::underline(bool on)
{
    m_format.underline = on;
    return *this;
}

Composition &Composition::align(Align align)
{
    m_format.align = align;
    return *this;
}

Composition &Composition::append(const QString &text)
{
    appendRun(text, m_format);
    return *this;
}

Composition &Composition::append(const Composition &other)
{
    for (const Run &run : other.m_runs)
        appendRun(run.text, run.format);
    return *this;
}

Composition Composition::without(const QString &text) const
{
    Composition kept;
    kept.m_title = m_title;
    kept.m_format = m_format;
    for (const Run &run : m_runs) {
        QString remaining = run.text;
        if (!text.isEmpty())
            remaining.remove(text);
        kept.appendRun(remaining, run.format);
    }
    return kept;
}

QString Composition::plainText() const
{
    QString text;
    for (const Run &run : m_runs)
        text += run.text;
    return text;
}

void Composition::appendRun(const QString &text, const Format &format)
{
    if (text.isEmpty())
        return;
    if (!m_runs.isEmpty() && m_runs.last().format == format)
        m_runs.last().text += text;
    else
        m_runs.append(Run{text, format});
}

QString toPlainText(const Composition &composition)
{
    QString text;
    for (const Run &run : composition.runs())
        text += splitLines(run.text).join(u'\n');
    return text;
}

QString toHtmlPage(const QString &title, const QList<Composition> &parts)
{
    static const QRegularExpression address(u"(?:https?://|www\\.)[^\\s<>\"]+"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    QString body;
    for (const Composition &part : parts)
        body += toHtml(part);
    // Web addresses become links; sentence punctuation after one stays outside.
    QString linked;
    qsizetype done = 0;
    for (auto it = address.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString text = match.captured();
        while (!text.isEmpty() && u".,;:!?)"_s.contains(text.back()))
            text.chop(1);
        const QString href = text.startsWith(u"www."_s, Qt::CaseInsensitive) ? u"https://"_s + text : text;
        linked += body.mid(done, match.capturedStart() - done) + u"<a href=\""_s + href + u"\">"_s + text + u"</a>"_s;
        done = match.capturedStart() + text.size();
    }
    linked += body.mid(done);
    return u"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>"_s
           + title.toHtmlEscaped() + u"</title>\n</head>\n<body>\n"_s + linked + u"</body>\n</html>\n"_s;
}

QString toHtml(const Composition &composition)
{
    QList<Paragraph> paragraphs;
    paragraphs.append(Paragraph{});
    bool endsWithBreak = false;
    for (const Run &run : composition.runs()) {
        const QStringList lines = splitLines(run.text);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                // A new line starts with the alignment of the run that broke it.
                paragraphs.append(Paragraph{{}, run.format.align});
            }
            Paragraph &current = paragraphs.last();
            // A run that reaches into a paragraph, even with just its line
            // break, sets that paragraph's alignment.
            if (!lines[i].isEmpty() || i + 1 < lines.size())
                current.align = run.format.align;
            if (!lines[i].isEmpty())
                current.pieces.append(Run{lines[i], run.format});
        }
        endsWithBreak = lines.size() > 1 && lines.last().isEmpty();
    }
    // The line after a closing break holds nothing yet; it is not a paragraph.
    if (composition.isEmpty() || endsWithBreak)
        paragraphs.removeLast();

    QString html;
    for (const Paragraph &p : paragraphs)
        html += htmlParagraph(p) + u'\n';
    return html;
}

void appendTitleBlock(Composition &c, const QString &name, const std::optional<QString> &birthDate)
{
    c.bold(true).size(16).append(c.title() + crlf(2)).size(0);
    if (!name.isEmpty()) {
        c.append(QObject::tr("Name: "));
        c.bold(false).append(name + crlf(birthDate ? 1 : 2));
    }
    if (birthDate) {
        c.bold(true).append(QObject::tr("Date of Birth: "));
        c.bold(false).append(*birthDate + crlf(2));
    }
}

} // namespace richtext
