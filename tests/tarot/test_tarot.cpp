#include "tarot/profiles.h"
#include "tarot/tarotnumbers.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tarot;

TEST(TarotNumbers, WorkedExamples)
{
    const struct
    {
        const char *day, *month, *year;
        int lifePath;
    } dates[] = {
        {"15", "March", "1980", 9},  {"29", "November", "1999", 5}, {"1", "January", "1980", 11},
        {"27", "September", "1966", 22}, {"9", "March", "1999", 22}, {"1", "January", "1999", 3},
        {"31", "February", "1980", 6}, // impossible dates are computed like any other
    };
    for (const auto &row : dates) {
        EXPECT_EQ(lifePathNumber(QString::fromLatin1(row.day), QString::fromLatin1(row.month),
                                 QString::fromLatin1(row.year)),
                  row.lifePath)
            << row.day << " " << row.month << " " << row.year;
    }

    const struct
    {
        const char *name;
        int destiny;
    } names[] = {
        {"John Smith", 8}, {"john smith", 8}, {"JOHN SMITH", 8}, {"mary jones", 3}, {"Emma Hall", 11},
        {"Susan Adams", 22}, {"123", 0}, {"", 0},
        // An accented capital counts as its base letter, small or capital as typed.
        {"Jos\xc3\xa9", 4}, {"JOS\xc3\x89", 4}, {"JOSE", 4},
    };
    for (const auto &row : names)
        EXPECT_EQ(destinyNumber(QString::fromUtf8(row.name)), row.destiny) << row.name;
    // A letter without a value counts nothing; the others count as ever.
    EXPECT_EQ(destinyNumber(u"Bj\u00f8rn \u00d8deg\u00e5rd"), destinyNumber(u"BJRN DEGARD"));
}

TEST(TarotProfiles, RowsCardsAndTexts)
{
    EXPECT_EQ(profileNumbers(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 22}));
    EXPECT_EQ(numberProfile(0), nullptr);
    EXPECT_TRUE(numberCards(0).isEmpty());

    const struct
    {
        int number;
        const char *planet, *day, *bestDays, *colours, *stones;
        int cards;
    } rows[] = {
        {2, "Moon", "Monday", "2nd, 11th, 20th, 29th", "Cream, White And Green", "Pearl, Jade, Moonstone", 3},
        {4, "Sun", "Sunday", "4th, 13th, 22nd, 31st", "Blue, Grey", "Sapphire", 3},
        {9, "Sun", "Tuesday", "3rd, 6th, 9th, 12th, 15th, 18th, 21st, 24th, 27th, 30th", "Red", "Ruby, Garnet", 3},
        {11, "Saturn", "Saturday", "11th, 29th", "Indigo Blue", "Amethyst", 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.number);
        const NumberProfile *p = numberProfile(row.number);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->planet, QString::fromLatin1(row.planet));
        EXPECT_EQ(p->luckyDay, QString::fromLatin1(row.day));
        EXPECT_EQ(p->bestDays, QString::fromLatin1(row.bestDays));
        EXPECT_EQ(p->bestColours, QString::fromLatin1(row.colours));
        EXPECT_EQ(p->luckyStones, QString::fromLatin1(row.stones));
        EXPECT_EQ(p->cards.size(), row.cards);
    }

    // Every number's cards, thirty cards in all (The High Priestess serves 2 and 5).
    const QList<int> counts = {4, 3, 4, 3, 3, 3, 3, 3, 3, 1, 1};
    QSet<QString> distinct;
    for (qsizetype i = 0; i < counts.size(); ++i) {
        const int number = profileNumbers()[i];
        EXPECT_EQ(numberCards(number).size(), counts[i]) << number;
        for (const TarotCard &card : numberCards(number)) {
            distinct.insert(card.name);
            EXPECT_FALSE(card.keywords.isEmpty());
            EXPECT_FALSE(card.picture.isEmpty());
            EXPECT_FALSE(card.description.isEmpty()) << card.name.toStdString();
        }
        EXPECT_FALSE(lifePathText(number).isEmpty()) << number;
        EXPECT_FALSE(destinyText(number).isEmpty()) << number;
        EXPECT_FALSE(planetText(numberProfile(number)->planet).isEmpty()) << number;
    }
    EXPECT_EQ(distinct.size(), 30);
    const QList<TarotCard> one = numberCards(1);
    EXPECT_EQ(one[0].name, u"The Magician - Major Arcana"_s);
    EXPECT_TRUE(one[0].description.startsWith(u"This card signifies a strong personality with willpower, skill and creativity."_s));
    EXPECT_EQ(one[3].picture, u"ace of cups"_s);
    EXPECT_EQ(numberCards(2)[2].picture, u"page of cups"_s);

    // The texts' fixed openings and their paragraphs.
    EXPECT_TRUE(lifePathText(1).startsWith(u"Your main purpose should be attaining independency."_s));
    EXPECT_TRUE(lifePathText(11).startsWith(u"This is a master number and is associated with spiritual awareness."_s));
    EXPECT_TRUE(destinyText(1).startsWith(u"This tells you are a leader."_s));
    const QStringList destinyFour = destinyText(4).split(u"\r\n"_s);
    ASSERT_EQ(destinyFour.size(), 2);
    EXPECT_TRUE(destinyFour[1].startsWith(u"The negative trait of 4 often produces arrogant and dominating individuals."_s));
    EXPECT_TRUE(planetText(u"Sun"_s).startsWith(u"Sun is the parent of the solar system."_s));
    const QStringList moon = planetText(u"Moon"_s).split(u"\r\n"_s);
    ASSERT_EQ(moon.size(), 2);
    EXPECT_TRUE(moon[0].startsWith(u"The Moon expresses personality and rules over the sign of Cancer."_s));
    EXPECT_TRUE(moon[1].startsWith(u"Moon people are very much adaptable and charming."_s));
}
