#include "richtext/textdocumentrenderer.h"

#include <QRegularExpression>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <algorithm>

namespace richtext {

namespace {

QTextCharFormat charFormat(const Format &format, const QColor &defaultColour, qreal defaultPointSize)
{
    QTextCharFormat result;
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontUnderline(format.underline);
    if (format.colour)
        result.setForeground(QColor(format.colour->r, format.colour->g, format.colour->b));
    else
        result.setForeground(defaultColour);
    result.setFontPointSize(format.pointSize > 0 ? format.pointSize : defaultPointSize);
    return result;
}

Qt::Alignment alignment(Align align)
{
    switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// A line of underlined blanks is how the readings draw a horizontal rule;
// the view would draw nothing for blanks that overflow the line, so it gets
// a real rule across the view.
bool isBlankRule(const QString &line)
{
    return !line.isEmpty() && std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

void drawRule(QTextCursor &cursor)
{
    QTextBlockFormat block = cursor.blockFormat();
    block.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                      QTextLength(QTextLength::PercentageLength, 100));
    cursor.setBlockFormat(block);
}

} // namespace

void insertComposition(QTextCursor &cursor, const Composition &composition, const QColor &defaultColour,
                       qreal defaultPointSize)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const Run &run : composition.runs()) {
        const QTextCharFormat format = charFormat(run.format, defaultColour, defaultPointSize);
        QTextBlockFormat block = cursor.blockFormat();
        if (block.alignment() != alignment(run.format.align)) {
            block.setAlignment(alignment(run.format.align));
            cursor.setBlockFormat(block);
        }
        const QStringList lines = run.text.split(lineBreak);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                // A rule belongs to its own line only.
                QTextBlockFormat next = cursor.blockFormat();
                next.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
                cursor.insertBlock(next, format);
            }
            if (run.format.underline && isBlankRule(lines[i]))
                drawRule(cursor);
            else if (!lines[i].isEmpty())
                cursor.insertText(lines[i], format);
        }
    }
}

} // namespace richtext
