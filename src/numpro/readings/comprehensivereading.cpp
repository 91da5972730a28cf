#include "numpro/readings/comprehensivereading.h"

#include "numpro/readings/readinglist.h"

using namespace Qt::StringLiterals;
using richtext::crlf;

namespace numpro {

namespace {

// A piece of the document that is no reading; it leaves the caption alone.
ReadingResult documentPiece(const QString &text)
{
    ReadingResult piece;
    piece.text.append(text);
    piece.keepCaption = true;
    return piece;
}

} // namespace

QList<ReadingResult> comprehensiveReading(const ReadingInputs &inputs, ResultState &state,
                                         kestrava::TitleBlock titleBlock)
{
    QList<ReadingResult> items;
    // The fields as typed: an empty middle name leaves two blanks.
    if (titleBlock == kestrava::TitleBlock::Shown)
        items.append(documentPiece(u"Name: "_s + inputs.firstName + u' ' + inputs.middleName + u' '
                               + inputs.lastName + crlf() + u"Date of Birth: "_s + inputs.month
                               + u' ' + inputs.day + u", "_s + inputs.year + crlf(2) + crlf(3)));
    if (const QString sentence = uncountedLettersSentence(inputs); !sentence.isEmpty())
        items.append(documentPiece(sentence + crlf(2)));
    for (const Reading &reading : readingList()) {
        ReadingResult result = runReading(reading, inputs, state, OutputMode::Document);
        if (!result.text.isEmpty())
            items.append(std::move(result));
    }
    items.append(documentPiece(crlf(2)));
    return items;
}

} // namespace numpro
