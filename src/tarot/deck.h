#pragma once

#include <QString>

// The 78-card tarot deck: the Major Arcana 0 to 21, then Wands, Cups, Swords
// and Pentacles, fourteen cards each from the Ace to the King.
namespace tarot {

inline constexpr int kDeckSize = 78;

struct DeckCard
{
    QString name;        // "Ace of Wands"
    QString keywords;    // seven keywords, ending in a full stop
    QString description; // one paragraph
    QString picture;     // the key of its picture ("ace of wands")
};

// Card 0 to 77, or null for any other number.
const DeckCard *deckCard(int number);

// The resource of a card's picture: the deck's SVG files are compiled in as
// ":/images/tarot/<key>.svg", blanks of the key written as hyphens.  A deck
// is that folder; another deck replaces its files.
QString cardPicturePath(const QString &pictureKey);

} // namespace tarot
