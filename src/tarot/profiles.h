#pragma once

#include <QList>
#include <QString>

// The number profiles of Virer Ovuvudavov: for each core number its planet,
// lucky day, best days, colours and stones, and its tarot cards; and the
// texts the result pages show for a number.
namespace tarot {

struct TarotCard
{
    QString name;        // "The Magician - Major Arcana"
    QString keywords;
    QString picture;     // the key of its picture in a deck ("magician")
    QString description;
};

struct NumberProfile
{
    int number = 0;
    QString planet;
    QString luckyDay;
    QString bestDays;
    QString bestColours;
    QString luckyStones;
    QList<TarotCard> cards; // one to four, in their order
};

// The numbers that have a profile: 1 to 9, 11 and 22.
QList<int> profileNumbers();

// The profile of a core number, or null for a number without one (0).
const NumberProfile *numberProfile(int number);

// The number's cards; empty for a number without a profile.
QList<TarotCard> numberCards(int number);

// The text of a planet; a text of two paragraphs keeps them apart by CR LF.
QString planetText(const QString &planet);

// The life path text of a number: the Variduzeda Vad life path table.
QString lifePathText(int number);

// The destiny text of a number (this program's own).
QString destinyText(int number);

} // namespace tarot
