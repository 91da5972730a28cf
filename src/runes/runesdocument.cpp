#include "runes/runesdocument.h"

#include "common/brand.h"
#include "common/numerology.h"
#include "runes/runes.h"

#include <QObject>

namespace runes {

namespace {

using namespace richtext;

// A tab of the result page as a heading: its caption with the line the tab
// shows in 14-point bold (the number, the stone).
void appendPart(Composition &c, const QString &caption, const QString &big)
{
    c.bold(true).size(14).append(caption + QStringLiteral(": ") + big + crlf());
}

// A framed text: the frame's caption in bold over the text.
void appendFramed(Composition &c, const QString &caption, const QString &text)
{
    c.bold(true).size(0).append(caption + crlf());
    c.bold(false).append(text + crlf(2));
}

} // namespace

QString numerologyCaption()
{
    return QObject::tr("Numerology");
}

QString runesCaption()
{
    return QObject::tr("Runes");
}

QString significanceCaption()
{
    return QObject::tr("Significance");
}

QString interpretationCaption()
{
    return QObject::tr("Interpretation");
}

QString keywordsCaption()
{
    return QObject::tr("Keywords");
}

QString noLettersText()
{
    return QObject::tr("The name holds no letters A to Z, so it has no destiny number and no rune to read.");
}

richtext::Composition readingDocument(const QString &name, kestrava::TitleBlock titleBlock)
{
    const QString person = kestrava::trimBlanks(name);
    const qint16 number = runesNumber(person);
    const RuneRow *row = runeRow(number);

    Composition c;
    const QString program = kestrava::programName(kestrava::ProgramId::Runes);
    // A name of blanks reads as one without letters; the heading then names no one.
    c.setTitle(person.isEmpty() ? QObject::tr("%1 Reading").arg(program)
                                : QObject::tr("%1 Reading: %2").arg(program, person));
    if (titleBlock == kestrava::TitleBlock::Shown)
        appendTitleBlock(c, person, std::nullopt);
    if (const QString uncounted = kestrava::unvaluedLettersSentence(kestrava::unvaluedLetters(person));
        !uncounted.isEmpty())
        c.bold(false).append(uncounted + crlf(2));

    appendPart(c, numerologyCaption(), QString::number(number));
    appendFramed(c, significanceCaption(), significanceText());
    appendFramed(c, interpretationCaption(), row ? row->numberText : noLettersText());
    if (!row || row->rune.isEmpty())
        return c;
    appendPart(c, runesCaption(), row->rune);
    appendFramed(c, keywordsCaption(), row->keywords);
    appendFramed(c, interpretationCaption(), row->text);
    return c;
}

} // namespace runes
