#pragma once

#include "richtext/composition.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace kestrava {
class RandomSource;
}

// The numerology spread: nine cards of the deck laid out in a three-by-three
// grid, one for each of the numbers 1 to 9.
namespace tarot {

inline constexpr int kNumerologySpread = 14; // the only spread this program deals
inline constexpr int kSpreadSize = 9;

// The card dealt to each position, position 1 first; pairwise different.
using SpreadCards = std::array<qint16, kSpreadSize>;

// Nine different cards, each uniform over the deck: a card already dealt is
// drawn again until it differs from every earlier position.
SpreadCards dealNumerologySpread(kestrava::RandomSource &random);

// The deal for a spread type; nothing for a type this program does not deal.
std::optional<SpreadCards> dealSpread(int spreadType, kestrava::RandomSource &random);

QString spreadName();        // "Numerology Grid"
QString spreadDescription();
// "Card 1 - You see yourself as an Innovator." for position 1 to 9.
QString positionMeaning(int position);

// The reading of a deal as the spread page shows it: the forum and visit
// lines, the spread's name and description, the nine position blocks and
// the closing line.
richtext::Composition spreadText(const SpreadCards &cards);

// Appends the nine position blocks, each ending with `endOfDescription`
// line breaks after the card's description; the text's format afterwards is
// that of the last description.
void appendPositionBlocks(richtext::Composition &text, const SpreadCards &cards, int endOfDescription);

} // namespace tarot
