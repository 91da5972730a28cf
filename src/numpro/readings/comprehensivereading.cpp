#include "numpro/readings/comprehensivereading.h"

#include "numpro/readings/corereadings.h"

#include <array>

using namespace Qt::StringLiterals;
using richtext::crlf;

namespace numpro {

namespace {

using DocumentReading = ReadingResult (*)(const BirthInputs &, ResultState &, OutputMode);

// The readings of the document, in its order: Life Path, Destiny, Soul Urge,
// Inner Dreams, Birthday, Challenge, Personal Year, Personal Day, Personal
// Month, Life Path Periods, Maturity, Essence, Planes of Expression, Pinnacle
// Phases, Hidden Passion, Karmic Lessons, Balance, Karmic Debt, Subconscious
// Self, L/E Bridge, H/P Bridge, Rational Thought.  Each reading takes its place
// in this table.
constexpr std::array<DocumentReading, 6> kDocumentOrder = {
    lifePathReading,
    destinyReading,
    soulUrgeReading,
    innerDreamsReading,
    birthDayReading,
    maturityReading,
};

// A piece of the document that is no reading; it leaves the caption alone.
ReadingResult documentPiece(const QString &text)
{
    ReadingResult piece;
    piece.text.append(text);
    piece.keepCaption = true;
    return piece;
}

} // namespace

QList<ReadingResult> comprehensiveReading(const BirthInputs &inputs, ResultState &state)
{
    state.writingToDocument = true;

    QList<ReadingResult> items;
    // The fields as typed: an empty middle name leaves two blanks.
    items.append(documentPiece(u"Name: "_s + inputs.firstName + u' ' + inputs.middleName + u' '
                               + inputs.lastName + crlf() + u"Date of Birth: "_s + inputs.month
                               + u' ' + inputs.day + u", "_s + inputs.year + crlf(2) + crlf(3)));
    for (DocumentReading reading : kDocumentOrder) {
        ReadingResult result = reading(inputs, state, OutputMode::Document);
        if (!result.text.isEmpty())
            items.append(std::move(result));
    }
    items.append(documentPiece(crlf(2)));

    state.writingToDocument = false;
    return items;
}

} // namespace numpro
