#include "report/reporttext.h"

#include <QHash>
#include <QObject>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace report {

namespace {

// A line that is all bold and at most this long is a heading; a longer one is
// a paragraph the window happens to show in bold.
constexpr qsizetype kLongestHeading = 90;

// The windows' captions join words or drop a letter where the report, read
// as a document, must not.
struct WordFix
{
    QStringView window;
    QStringView report;
};
// A paragraph at least this long is a reading's text, said once in a report;
// shorter lines ("Lucky Day: Friday") may well come again.
constexpr qsizetype kShortestRepeat = 120;

constexpr WordFix kWordFixes[] = {
    {u"LifePath", u"Life Path"},
    {u"InnerDream", u"Inner Dream"},
    {u"BirthDay", u"Birthday"},
    {u"You Lucky", u"Your Lucky"},
    {u"How will your Day Be", u"How Your Day Will Be"},
};

struct Segment
{
    QString text;
    richtext::Format format;
};
using Line = QList<Segment>;

bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

QString collapsedBlanks(QString text)
{
    static const QRegularExpression blanks(u"[ \\t]{2,}"_s);
    text.replace(u'\t', u' ');
    return text.replace(blanks, u" "_s);
}

// The runs cut at their line breaks: a list of lines, each its segments.
QList<Line> linesOf(const QList<richtext::Composition> &parts)
{
    static const QRegularExpression lineBreak(u"\r\n|\r|\n"_s);
    QList<Line> lines{Line()};
    for (const richtext::Composition &part : parts) {
        for (const richtext::Run &run : part.runs()) {
            const QStringList pieces = run.text.split(lineBreak);
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (i > 0)
                    lines.append(Line());
                if (!pieces[i].isEmpty())
                    lines.last().append({pieces[i], run.format});
            }
        }
    }
    return lines;
}

// The line's segments with their outer blanks gone and blanks inside
// collapsed, neighbours of one weight joined.
QList<TextSpan> spansOf(const Line &line, bool keepBold)
{
    QList<TextSpan> spans;
    for (const Segment &segment : line) {
        const bool bold = keepBold && segment.format.bold;
        if (!spans.isEmpty() && spans.last().bold == bold)
            spans.last().text += segment.text;
        else
            spans.append({segment.text, bold});
    }
    for (TextSpan &span : spans)
        span.text = collapsedBlanks(span.text);
    // Blanks where two spans meet count once.
    for (qsizetype i = 1; i < spans.size(); ++i) {
        if (spans[i - 1].text.endsWith(u' ') && spans[i].text.startsWith(u' '))
            spans[i].text.remove(0, 1);
    }
    while (!spans.isEmpty() && isBlank(spans.first().text))
        spans.removeFirst();
    while (!spans.isEmpty() && isBlank(spans.last().text))
        spans.removeLast();
    if (!spans.isEmpty()) {
        while (spans.first().text.startsWith(u' '))
            spans.first().text.remove(0, 1);
        while (spans.last().text.endsWith(u' '))
            spans.last().text.chop(1);
    }
    spans.erase(std::remove_if(spans.begin(), spans.end(), [](const TextSpan &s) { return s.text.isEmpty(); }),
                spans.end());
    return spans;
}

} // namespace

QString TextBlock::plainText() const
{
    QString text;
    for (const TextSpan &span : spans)
        text += span.text;
    return text;
}

QString headingText(const QString &caption)
{
    static const QRegularExpression colon(u"(?<=\\p{L}):(?=[^\\s:/])"_s);
    QString text = collapsedBlanks(caption).trimmed();
    text.replace(colon, u": "_s);
    for (const WordFix &fix : kWordFixes)
        text.replace(fix.window.toString(), fix.report.toString());
    return text;
}

QList<TextBlock> textBlocks(const QList<richtext::Composition> &parts)
{
    QList<TextBlock> blocks;
    bool space = false;
    for (const Line &line : linesOf(parts)) {
        QString whole;
        bool allBold = true;
        bool underlined = false;
        for (const Segment &segment : line) {
            whole += segment.text;
            if (!isBlank(segment.text))
                allBold = allBold && segment.format.bold;
            underlined = underlined || segment.format.underline;
        }
        if (isBlank(whole)) {
            // A line of underlined blanks is the readings' rule; any other
            // blank line a pause before what follows.
            if (underlined && !whole.isEmpty() && !blocks.isEmpty())
                blocks.append({BlockRole::Rule, {}, space});
            else
                space = !blocks.isEmpty();
            if (underlined && !whole.isEmpty())
                space = false;
            continue;
        }
        TextBlock block;
        block.spaceBefore = space;
        // Alignment is the paragraph's: its last run decides it.
        block.centred = line.last().format.align == richtext::Align::Centre;
        space = false;
        const QString trimmed = collapsedBlanks(whole).trimmed();
        if (allBold && trimmed.size() <= kLongestHeading) {
            block.role = BlockRole::Heading;
            block.spans = {{headingText(trimmed), false}};
        } else {
            // A paragraph the window shows all in bold reads as plain text;
            // bold words among plain ones (a label and its value) stay bold.
            block.spans = spansOf(line, !allBold);
            // One window's text runs two sentences together ("creatively.You").
            static const QRegularExpression sentences(u"(?<=\\p{Ll}[.!?])(?=\\p{Lu}\\p{Ll})"_s);
            for (TextSpan &span : block.spans) {
                for (const WordFix &fix : kWordFixes)
                    span.text.replace(fix.window.toString(), fix.report.toString());
                span.text.replace(sentences, u" "_s);
            }
        }
        blocks.append(block);
    }
    // A rule at the end draws a line under nothing.
    while (!blocks.isEmpty() && blocks.last().role == BlockRole::Rule)
        blocks.removeLast();
    return blocks;
}

QString TextBlock::sayingText() const
{
    QString text;
    for (const TextSpan &span : spans) {
        if (!span.bold)
            text += span.text;
    }
    return text.trimmed();
}

void referRepeats(QList<SectionText> &sections)
{
    struct Place
    {
        qsizetype section = 0;
        QString heading;
        bool operator==(const Place &) const = default;
    };
    QHash<QString, Place> said;
    for (qsizetype s = 0; s < sections.size(); ++s) {
        QList<TextBlock> kept;
        QString heading = sections[s].heading;
        std::optional<Place> referred; // where the line before sent the reader
        for (const TextBlock &block : std::as_const(sections[s].blocks)) {
            if (block.role == BlockRole::Heading)
                heading = block.plainText();
            const QString text = block.sayingText();
            if (block.role != BlockRole::Paragraph || text.size() < kShortestRepeat) {
                kept.append(block);
                referred.reset();
                continue;
            }
            const auto earlier = said.constFind(text);
            if (earlier == said.constEnd()) {
                said.insert(text, {s, heading});
                kept.append(block);
                referred.reset();
                continue;
            }
            // A label ("Card Description: ") stays, and says what the line
            // refers to; unlabelled paragraphs in a row need one line.
            TextBlock reference;
            reference.spaceBefore = block.spaceBefore;
            for (const TextSpan &span : block.spans) {
                if (!span.bold)
                    break;
                reference.spans.append(span);
            }
            if (reference.spans.isEmpty() && referred == *earlier)
                continue;
            referred = *earlier;
            const QString where = earlier->section == s
                                      ? QObject::tr("The same as under \u201c%1\u201d above.").arg(earlier->heading)
                                      : QObject::tr("The same as under \u201c%1\u201d in the %2.")
                                            .arg(earlier->heading, sections[earlier->section].heading);
            reference.spans.append({reference.spans.isEmpty() ? where : u' ' + where, false});
            kept.append(reference);
        }
        sections[s].blocks = kept;
    }
}

} // namespace report
