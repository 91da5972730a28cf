#include "common/randomsource.h"
#include "common/shiftedlines.h"
#include "tarot/deck.h"
#include "tarot/profiles.h"
#include "tarot/spread.h"
#include "tarot/tarotdocument.h"

#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

using namespace Qt::StringLiterals;
using namespace tarot;
using richtext::Format;
using richtext::Rgb;

namespace {

// Hands out the cards it is given, as the uniform numbers that draw them.
class ScriptedRandom final : public kestrava::RandomSource
{
public:
    explicit ScriptedRandom(std::initializer_list<double> values) : m_values(values) {}
    double uniform() override
    {
        const double value = m_values.front();
        m_values.pop_front();
        return value;
    }

private:
    std::deque<double> m_values;
};

double card(int c)
{
    return (c + 0.5) / kDeckSize;
}

Format formatOf(Rgb colour, bool bold = false, bool underline = false)
{
    Format f;
    f.colour = colour;
    f.bold = bold;
    f.underline = underline;
    return f;
}

// The runs whose text is `text`.
QList<richtext::Run> runsWith(const richtext::Composition &c, const QString &text)
{
    QList<richtext::Run> found;
    for (const richtext::Run &run : c.runs()) {
        if (run.text == text)
            found << run;
    }
    return found;
}

} // namespace

TEST(TarotDeck, OrderNamesKeywordsAndSharedCards)
{
    ASSERT_NE(deckCard(0), nullptr);
    ASSERT_NE(deckCard(77), nullptr);
    EXPECT_EQ(deckCard(-1), nullptr);
    EXPECT_EQ(deckCard(78), nullptr);

    const struct
    {
        int number;
        const char *name, *keywords;
    } rows[] = {
        {0, "The Fool", "New Beginnings, Birth, Innocence, Carefree, Unknown, Possibilities, Spontaneity."},
        {5, "The Hierophant", "Government, Society, Religion, Tradition, Teaching, Beliefs, Spiritual."},
        {8, "Justice", "Balance, Justice, Fairness, Aspirations, Decision, Balance, Cause & Effect."},
        {11, "Strength", "Courage, Strength, Determination, Patience, Self Control, Compassion, Acceptance."},
        {21, "The World", nullptr},
        {22, "Ace of Wands", "Inspiration, Power, Beginnings, Enthusiasm, Creation, Energy, Beginnings."},
        {35, "King of Wands", nullptr},
        {36, "Ace of Cups", "Good Karma, Love, Spiritual Fulfillment, Contemplation, New Hope, Birth, Happiness."},
        {50, "Ace of Swords", nullptr},
        {60, "Page of Swords", nullptr},
        {64, "Ace of Pentacles", nullptr},
        {77, "King of Pentacles", "Mature, Patient, Security, Loyal, Influence, Reliable, Enterprising."},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(deckCard(row.number)->name, QString::fromLatin1(row.name));
        if (row.keywords) {
            EXPECT_EQ(deckCard(row.number)->keywords, QString::fromLatin1(row.keywords));
        }
    }
    EXPECT_TRUE(deckCard(0)->description.startsWith(u"This signifies the beginning of a new journey."_s));
    EXPECT_TRUE(deckCard(8)->description.startsWith(u"You may get involved in legal issues."_s));
    EXPECT_TRUE(deckCard(11)->description.startsWith(
        u"You have the courage, determination and will power to achieve your goals."_s));

    QSet<QString> descriptions, pictures;
    for (int c = 0; c < kDeckSize; ++c) {
        const DeckCard &d = *deckCard(c);
        SCOPED_TRACE(d.name.toStdString());
        EXPECT_EQ(d.keywords.split(u", "_s).size(), 7);
        EXPECT_TRUE(d.keywords.endsWith(u'.'));
        EXPECT_GE(d.description.size(), 140);
        EXPECT_LE(d.description.size(), 350);
        descriptions.insert(d.description);
        pictures.insert(d.picture);
    }
    EXPECT_EQ(descriptions.size(), kDeckSize);
    EXPECT_EQ(pictures.size(), kDeckSize);

    // A Major Arcana card of a number's list reads there as in the deck.
    int shared = 0;
    for (int number : profileNumbers()) {
        for (const TarotCard &c : numberCards(number)) {
            if (!c.name.endsWith(u" - Major Arcana"_s))
                continue;
            const QString name = c.name.chopped(15);
            int index = -1;
            for (int i = 0; i < 22; ++i) {
                if (deckCard(i)->name == name)
                    index = i;
            }
            ASSERT_GE(index, 0) << name.toStdString();
            EXPECT_EQ(c.keywords, deckCard(index)->keywords);
            EXPECT_EQ(c.description, deckCard(index)->description);
            EXPECT_EQ(c.picture, deckCard(index)->picture);
            ++shared;
        }
    }
    EXPECT_EQ(shared, 22); // 21 cards, The High Priestess twice
    EXPECT_TRUE(numberCards(1)[0].description.startsWith(
        u"This card signifies a strong personality with willpower, skill and creativity."_s));
}

TEST(TarotSpread, ADuplicateIsDrawnAgainAndComparedFromTheFirstPosition)
{
    // 5; 5 again -> 7; 7 -> 5 -> 9 (the redraw is checked from position 1 again); then 0 to 5 of the rest.
    ScriptedRandom random{card(5), card(5), card(7), card(7), card(5), card(9), card(0), card(1), card(2),
                          card(3), card(4), card(6), 0.9999999999999999};
    EXPECT_EQ(dealNumerologySpread(random), (SpreadCards{5, 7, 9, 0, 1, 2, 3, 4, 6}));

    ScriptedRandom top{0.9999999999999999, 0.0, card(1), card(2), card(3), card(4), card(5), card(6), card(7)};
    EXPECT_EQ(dealNumerologySpread(top), (SpreadCards{77, 0, 1, 2, 3, 4, 5, 6, 7}));

    kestrava::SeededRandom seeded(1);
    EXPECT_FALSE(dealSpread(13, seeded));
    EXPECT_TRUE(dealSpread(kNumerologySpread, seeded));
}

TEST(TarotSpread, SeededDealsAreDistinctAndUniformAtEveryPosition)
{
    constexpr int kDeals = 78 * 300;
    kestrava::SeededRandom random(20261210);
    std::array<std::array<int, kDeckSize>, kSpreadSize> counts{};
    for (int deal = 0; deal < kDeals; ++deal) {
        const SpreadCards cards = dealNumerologySpread(random);
        QSet<qint16> seen;
        for (int p = 0; p < kSpreadSize; ++p) {
            const qint16 c = cards[std::size_t(p)];
            ASSERT_TRUE(c >= 0 && c < kDeckSize);
            ++counts[std::size_t(p)][std::size_t(c)];
            seen.insert(c);
        }
        ASSERT_EQ(seen.size(), kSpreadSize) << "deal " << deal;
    }
    // Chi-square over the 78 cards, 77 degrees of freedom: 124 is exceeded
    // by chance less than once in a thousand honest deals.
    const double expected = double(kDeals) / kDeckSize;
    for (int p = 0; p < kSpreadSize; ++p) {
        double chi = 0;
        for (int count : counts[std::size_t(p)])
            chi += (count - expected) * (count - expected) / expected;
        EXPECT_LT(chi, 124.0) << "position " << p + 1;
        const auto [low, high] = std::minmax_element(counts[std::size_t(p)].begin(), counts[std::size_t(p)].end());
        EXPECT_GT(*low, 0) << "position " << p + 1;
    }

    // The same seed deals the same cards; another seed, others.
    kestrava::SeededRandom a(7), b(7), c(8);
    const SpreadCards first = dealNumerologySpread(a);
    EXPECT_EQ(first, dealNumerologySpread(b));
    EXPECT_NE(first, dealNumerologySpread(c));
}

TEST(TarotSpread, TheSpreadTextsRunsAndFormats)
{
    const SpreadCards cards{0, 22, 77, 36, 8, 11, 50, 64, 35};
    const richtext::Composition text = spreadText(cards);
    const QList<richtext::Run> &runs = text.runs();
    ASSERT_GE(runs.size(), 8);
    const QString site = u"https://www.kestrava.example"_s;

    EXPECT_EQ(runs[0].text, site + u"/forum the most popular online discussion forum. A place to learn, to share "
                                   u"and to make new friends.\r\n\r\n"_s);
    EXPECT_EQ(runs[0].format, formatOf(richtext::kDarkRed, true));
    Format visit = formatOf(richtext::kBlack, true);
    visit.align = richtext::Align::Centre;
    EXPECT_EQ(runs[1].text, u"Visit \r\n"_s + site + u" \r\nNow \r\n"_s);
    EXPECT_EQ(runs[1].format, visit);
    EXPECT_EQ(runs[2].text, QString(512, u' ') + u"\r\n"_s);
    EXPECT_EQ(runs[2].format, formatOf(richtext::kBlack, false, true));
    EXPECT_EQ(runs[3].text, u"\r\nSpread Name: \r\n"_s);
    EXPECT_EQ(runs[3].format, formatOf(richtext::kDarkCyan, true));
    EXPECT_EQ(runs[4].text, u"Numerology Grid\r\n"_s);
    EXPECT_EQ(runs[4].format, formatOf(richtext::kPurple, true));
    EXPECT_EQ(runs[5].text, spreadDescription() + u"\r\n\r\n"_s);
    EXPECT_EQ(runs[5].format, formatOf(richtext::kPurple));

    // Position 1, line by line: teal bold captions, black values.
    const QList<richtext::Run> block(runs.begin() + 6, runs.begin() + 14);
    const QList<richtext::Run> expected = {
        {u"\r\nPosition 1: \r\n"_s, formatOf(richtext::kDarkCyan, true)},
        {u"Card 1 - You see yourself as an Innovator."_s, formatOf(richtext::kBlack)},
        {u"\r\nCard Name: \r\n"_s, formatOf(richtext::kDarkCyan, true)},
        {u"The Fool"_s, formatOf(richtext::kBlack)},
        {u"\r\nKeywords: "_s, formatOf(richtext::kDarkCyan, true)},
        {u"\r\n"_s + deckCard(0)->keywords, formatOf(richtext::kBlack)},
        {u"\r\nDescription: "_s, formatOf(richtext::kDarkCyan, true)},
        {u"\r\n"_s + deckCard(0)->description + u"\r\n\r\n"_s, formatOf(richtext::kBlack)},
    };
    EXPECT_EQ(block, expected);

    // Nine blocks in position order, each with its meaning and its card.
    const QString plain = text.plainText();
    qsizetype from = 0;
    for (int p = 1; p <= kSpreadSize; ++p) {
        const qsizetype at = plain.indexOf(u"\r\nPosition "_s + QString::number(p) + u": \r\n"_s
                                               + positionMeaning(p) + u"\r\nCard Name: \r\n"_s
                                               + deckCard(cards[std::size_t(p - 1)])->name,
                                           from);
        EXPECT_GT(at, from) << "position " << p;
        from = at;
    }
    EXPECT_EQ(positionMeaning(4), u"Card 4 - You see yourself as a Builder."_s);
    EXPECT_EQ(positionMeaning(9), u"Card 9 - You see yourself as a Crusader."_s);
    EXPECT_EQ(plain.count(u"Position "_s), kSpreadSize);

    // Then only the rule and the closing line.
    EXPECT_EQ(runs[runs.size() - 2].text, u"\r\n"_s + QString(512, u' ') + u"\r\n"_s);
    EXPECT_TRUE(runs[runs.size() - 2].format.underline);
    EXPECT_EQ(runs.last().text, u"\r\nThank You for using Pellacor Software. Come spend some time with us online at "_s
                                    + site + u". The best online discussion forum for every esoteric."_s);
    EXPECT_EQ(runs.last().format, formatOf(richtext::kDarkRed, true));
}

TEST(TarotDocument, SectionsInOrderWithTheirCardBlocks)
{
    TarotReading reading;
    reading.name = u"Emma Hall"_s;
    reading.birthDate = u"7 March 1980"_s;
    const SpreadCards cards{3, 1, 4, 15, 9, 26, 53, 58, 70};
    const richtext::Composition doc =
        readingDocument(reading, numberSection(NumberPage::LifePath, 1), numberSection(NumberPage::Destiny, 11), cards);
    const QString plain = doc.plainText();

    const QStringList order = {
        u"Name: Emma Hall\r\n\r\n"_s,
        u"Date of Birth: 7 March 1980\r\n\r\n"_s,
        u"Tarot & Life Path Number\r\nThis is one of the most important numbers."_s,
        u"Life Path Number: 1\r\n"_s + lifePathText(1) + u"\r\n"_s,
        u"Associated Planet: Sun\r\n"_s + planetText(u"Sun"_s) + u"\r\n"_s,
        u"Lucky Day: Sunday\r\nBest Day: 1st, 10th, 19th, 28th\r\nBest Colors: Yellow And Brown\r\n"
        u"Lucky Stones: Topaz And Amber\r\n\r\nCards Use: \r\n"_s,
        u"Card Name: The Magician - Major Arcana\r\n"_s,
        u"Card Name: The Sun - Major Arcana\r\n"_s,
        u"Card Name: Wheel of Fortune - Major Arcana\r\n"_s,
        u"Card Name: The Aces - Minor Arcana\r\n"_s,
        u"Tarot & Destiny Number\r\nThis number describes your vibration"_s,
        u"Destiny Number: 11\r\n"_s + destinyText(11) + u"\r\n"_s,
        u"Cards Use: \r\nCard Name: Justice - Major Arcana\r\nCard Description: "_s + numberCards(11)[0].description
            + u"\r\nCard Keywords: "_s + numberCards(11)[0].keywords + u"\r\n\r\n"_s,
        u"Numerology Spread\r\n"_s + spreadDescription() + u"\r\n"_s,
        u"\r\nPosition 1: \r\nCard 1 - You see yourself as an Innovator.\r\nCard Name: \r\nThe Empress"_s,
        u"\r\nPosition 9: \r\nCard 9 - You see yourself as a Crusader.\r\nCard Name: \r\n"_s + deckCard(70)->name
            + u"\r\nKeywords: \r\n"_s + deckCard(70)->keywords + u"\r\nDescription: \r\n"_s
            + deckCard(70)->description + u"\r\n"_s,
    };
    qsizetype from = 0;
    for (const QString &piece : order) {
        const qsizetype at = plain.indexOf(piece, from);
        EXPECT_GE(at, from) << piece.left(60).toStdString();
        if (at >= 0)
            from = at + piece.size();
    }
    EXPECT_EQ(from, plain.size()); // no closing line
    EXPECT_EQ(plain.count(u"Card Name: "_s), 4 + 1 + kSpreadSize);

    // Card blocks: green bold captions, black values.
    for (const QString &caption : {u"Card Name: "_s, u"Card Description: "_s, u"Card Keywords: "_s}) {
        const QList<richtext::Run> found = runsWith(doc, caption);
        ASSERT_EQ(found.size(), 5) << caption.toStdString();
        for (const richtext::Run &run : found)
            EXPECT_EQ(run.format, formatOf(richtext::kGreen, true));
    }
    const QString spreadHeading = u"Numerology Spread\r\n"_s + spreadDescription() + u"\r\n"_s;
    ASSERT_EQ(runsWith(doc, spreadHeading).size(), 1);
    EXPECT_EQ(runsWith(doc, spreadHeading)[0].format, formatOf(richtext::kPurple, true));
}

TEST(TarotDocument, ADestinyWithoutLettersListsNoCards)
{
    TarotReading reading;
    reading.name = u"123"_s;
    reading.birthDate = u"1 January 1980"_s;
    const NumberSection none = numberSection(NumberPage::Destiny, 0);
    EXPECT_EQ(none.fields[0], u"0"_s);
    for (std::size_t i = 1; i < none.fields.size(); ++i)
        EXPECT_EQ(none.fields[i], QString()) << i;
    EXPECT_EQ(none.numberText, QString());
    EXPECT_EQ(none.planetText, QString());
    EXPECT_EQ(none.cardNumber, 0);
    const QString plain =
        readingDocument(reading, numberSection(NumberPage::LifePath, 11), none, SpreadCards{0, 1, 2, 3, 4, 5, 6, 7, 8})
            .plainText();
    const qsizetype destiny = plain.indexOf(u"Tarot & Destiny Number"_s);
    const qsizetype spread = plain.indexOf(u"Numerology Spread\r\n"_s);
    ASSERT_TRUE(destiny > 0 && spread > destiny);
    const QString section = plain.mid(destiny, spread - destiny);
    EXPECT_TRUE(section.contains(u"Destiny Number: 0\r\n"_s)) << section.toStdString();
    EXPECT_TRUE(section.contains(u"Associated Planet: \r\n"_s)) << section.toStdString();
    EXPECT_TRUE(section.contains(u"Cards Use: \r\n"_s + noCardsText() + u"\r\n"_s)) << section.toStdString();
    EXPECT_EQ(noCardsText(), u"The name holds no letters to read, so no cards belong to it."_s);
    EXPECT_FALSE(section.contains(u"Card Name: "_s));
    // The life path's one card is listed once, in its own section.
    EXPECT_EQ(plain.count(u"Card Name: Justice - Major Arcana"_s), 1);
}

TEST(TarotDocument, PrintReportAndSavedLines)
{
    TarotReading reading;
    reading.name = u"John Smith"_s;
    reading.birthDay = u"7"_s;
    reading.birthMonth = u"March"_s;
    reading.birthYear = u"1980"_s;
    reading.birthDate = u"7 March 1980"_s;
    richtext::Composition doc;
    doc.bold(true).colour(richtext::kPurple).append(u"Name: \r\nJohn"_s);
    const QString credit = u"Report Generated By https://www.kestrava.example"_s;
    EXPECT_EQ(printReport(doc), credit + u"\n\nName: \nJohn\n\n"_s + credit);

    const QByteArray file = kestrava::encodeShiftedLines(tnmLines(reading));
    EXPECT_EQ(file.count("\r\n"), kTnmLineCount);
    EXPECT_EQ(kestrava::decodeShiftedLines(file, kTnmLineCount),
              (QStringList{u"John Smith"_s, u"7"_s, u"March"_s, u"1980"_s}));
}
