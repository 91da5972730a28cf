#pragma once

#include "richtext/composition.h"

#include <QList>
#include <QString>

// The programs' composed texts as the report sets them.  A program's window
// speaks in its own colours and sizes; the report is one document, so it
// keeps only what the words need: which lines are headings, which words are
// bold, where a rule or a pause falls.  Its own typography does the rest.
namespace report {

struct TextSpan
{
    QString text;
    bool bold = false;

    friend bool operator==(const TextSpan &, const TextSpan &) = default;
};

enum class BlockRole { Heading, Paragraph, Rule };

struct TextBlock
{
    BlockRole role = BlockRole::Paragraph;
    QList<TextSpan> spans; // none for a rule
    bool spaceBefore = false; // a blank line stood before it
    bool centred = false;

    QString plainText() const;
    // What the paragraph says, its bold labels left out: the same saying
    // under another label is still the same.
    QString sayingText() const;
};

// The texts' lines as blocks: a line whose words are all bold is a heading,
// a line of underlined blanks a rule, blank lines only a space before what
// follows; none at the start or the end.  Headings read as English ("Your
// Soul Urge Number is: 11", "Your Life Path Number"), whatever the window's
// caption says.
QList<TextBlock> textBlocks(const QList<richtext::Composition> &parts);

// One section's text and its heading, for referRepeats().
struct SectionText
{
    QString heading;
    QList<TextBlock> blocks;
};

// A report says each reading's paragraph once: a paragraph an earlier part of
// the report already holds gives way to a line saying where it was read
// ("The same as under “Your Destiny Number is: 11” in the Numerology
// Reading."), one line for each run of such paragraphs.
void referRepeats(QList<SectionText> &sections);

// A heading as the report writes it: blanks collapsed to one, one blank after
// a colon that follows a word, the windows' joined words apart.
QString headingText(const QString &caption);

} // namespace report
