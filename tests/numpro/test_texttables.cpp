#include "numpro/readings/texttable.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace Qt::StringLiterals;
using namespace numpro;

namespace {

const QList<int> kCoreKeys = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 22};

QList<int> range(int from, int to)
{
    QList<int> keys;
    for (int k = from; k <= to; ++k)
        keys.append(k);
    return keys;
}

// Every table the suite reads, with what its texts must look like.
struct TableRule
{
    QString name;
    QList<int> keys;
    std::map<int, QString> openings;    // key -> the words its text begins with
    int parts = 1;                      // CR LF separated parts of most texts
    std::map<int, int> partsByKey = {}; // texts built differently
};

const std::vector<TableRule> &tableRules()
{
    static const std::vector<TableRule> rules = {
        {u"lifePath"_s, kCoreKeys,
         {{1, u"Your main purpose should be attaining independency."_s},
          {11, u"This is a master number and is associated with spiritual awareness."_s}}},
        {u"destiny"_s, kCoreKeys, {{1, u"This tells you are a leader."_s}}, 2, {{4, 3}}},
        {u"soulUrge"_s, kCoreKeys,
         {{1, u"You achieve a sense of gratification when you succeed in any type of competition."_s}}},
        {u"innerDreams"_s, kCoreKeys, {{1, u"Great feeling of importance is what you love."_s}}},
        {u"birthDay"_s, range(1, 31), {{1, u"People associated with 1 prefer their uniqueness."_s}}},
        {u"maturity"_s, kCoreKeys, {{1, u"As you grow older, will love being independent."_s}}, 3,
         {{3, 4}, {6, 1}, {11, 1}, {22, 1}}},
        {u"pinnacles"_s, kCoreKeys,
         {{1, u"This signifies the period when you will be aiming for independence."_s},
          {2, u"This signifies the period when you"_s},
          {7, u"In this period you would like to come to terms with yourself and find solace in mediation."_s},
          {22, u"This signifies the period when you"_s}}},
        {u"challenges"_s, range(0, 8),
         {{0, u"There is no consistent challenge during this period in particular."_s},
          {1, u"You are expected to learn to be independent."_s}}},
        {u"lifePathPeriods"_s, kCoreKeys,
         {{1, u" It's a time of progress."_s}, {2, u"Slow and steady wins the race."_s},
          {11, u"You will learn to grow spiritually."_s}, {22, u"You have a mammoth task to achieve."_s}}},
        {u"essence"_s, kCoreKeys,
         {{1, u"This is a year of new beginnings."_s},
          {11, u"This is a period of deeper mysticism and possibly even leadership."_s},
          {22, u"You will taste the success and will have fun with your friends and family."_s}}},
        {u"personalYear"_s, kCoreKeys, {{1, u"It's a perfect time to start any new venture."_s}}},
        {u"personalMonth"_s, kCoreKeys, {{1, u"This is a time for new beginnings."_s}}},
        {u"personalDay"_s, kCoreKeys, {{1, u"Personal day is an excellent occasion to think about self"_s}}},
        {u"karmicLessons"_s, range(1, 9),
         {{1, u"In this life span, situations frequently come up that force you to craft your own decisions."_s},
          {9, u"In this life span, you will face bad blows to your emotional side"_s}}},
        {u"karmicDebt"_s, {13, 14, 16, 19},
         {{13, u"People with this number your kitty are hard worker and strugglers."_s},
          {14, u"Be optimistic and goal oriented"_s},
          {16, u"This number is probably the route to attain the real truth of life."_s},
          {19, u"You are a self-made man"_s}}},
        {u"balance"_s, range(1, 9), {{1, u"You should make use of your keen sense of awareness."_s}}},
        {u"rationalThought"_s, kCoreKeys,
         {{1, u"You do not copy ideas but are an innovative thinker."_s},
          {22, u"You combine the methodology of the Number Four with the dreams of the Number Two."_s}}},
        {u"subconsciousSelf"_s, range(3, 9), {{7, u"You are well-balanced person."_s}}},
        {u"hiddenPassion"_s, range(1, 9),
         {{1, u"Originality and individuality are the strong hidden senses for this number."_s}}},
        {u"hpBridge"_s, range(0, 9),
         {{0, u"This is very lucky number and you will make people feel comfortable around you."_s},
          {6, u"You need to spend some good time with your family."_s},
          {7, u"You may need to spend more time alone"_s},
          {8, u"Don't try to find short cuts;"_s}}},
        // 6 to 8 are the H/P bridge's; 9 is its own.
        {u"leBridge"_s, range(0, 5) << 9,
         {{0, u"You will probably experience a great deal of peace in your life."_s}}},
    };
    return rules;
}

// Every paragraph of a reading's file beyond its table: the texts it shows in
// special cases, the period descriptions, the plane descriptions.
QStringList furtherParagraphs(const QString &name)
{
    const ReadingTexts &texts = readingTexts(name);
    QStringList paragraphs;
    for (const char *field : {"thirdPinnacleThree", "futureBirthYear", "noLetters"}) {
        if (!texts.text(QString::fromLatin1(field)).isEmpty())
            paragraphs << texts.text(QString::fromLatin1(field));
    }
    for (const QJsonValue &period : texts.fields.value(u"periods").toArray())
        paragraphs << period.toString();
    const QJsonObject planes = texts.fields.value(u"planes").toObject();
    for (auto it = planes.begin(); it != planes.end(); ++it)
        paragraphs << it.value().toObject().value(u"description").toString();
    return paragraphs;
}

} // namespace

TEST(TextTables, EveryTableHasExactlyItsKeysWithTextsOfTheirShape)
{
    for (const TableRule &rule : tableRules()) {
        SCOPED_TRACE(rule.name.toStdString());
        const TextTable &table = readingTexts(rule.name).table;
        EXPECT_EQ(table.keys(), rule.keys);
        for (const auto &[key, opening] : rule.openings)
            EXPECT_TRUE(table.text(key).startsWith(opening)) << key << ": " << table.text(key).left(80).toStdString();
        EXPECT_TRUE(table.text(rule.keys.first() - 1).isEmpty());
        EXPECT_TRUE(table.text(rule.keys.last() + 1).isEmpty());

        for (int key : rule.keys) {
            SCOPED_TRACE(key);
            const QStringList parts = table.text(key).split(u"\r\n"_s);
            const auto special = rule.partsByKey.find(key);
            EXPECT_EQ(parts.size(), special == rule.partsByKey.end() ? rule.parts : special->second);
            for (const QString &part : parts) {
                EXPECT_FALSE(part.trimmed().isEmpty());
                // A stray CR or LF would break a line where no part ends.
                EXPECT_FALSE(part.contains(u'\r') || part.contains(u'\n'));
            }
        }
    }
    const QStringList destinyFour = readingTexts(u"destiny").table.text(4).split(u"\r\n"_s);
    ASSERT_EQ(destinyFour.size(), 3);
    EXPECT_TRUE(destinyFour.at(1).startsWith(u"All with Destiny 4, and especially the master number 22/4"_s));
}

TEST(TextTables, TheFurtherTextsOfEachReadingAreThere)
{
    // The third pinnacle's 3 is the 3 with no blank after "creatively.".
    const ReadingTexts &pinnacles = readingTexts(u"pinnacles");
    EXPECT_TRUE(pinnacles.table.text(3).contains(u"creatively. You are socially very active"_s));
    EXPECT_EQ(pinnacles.text(u"thirdPinnacleThree"),
              QString(pinnacles.table.text(3)).replace(u"creatively. You"_s, u"creatively.You"_s));
    EXPECT_TRUE(pinnacles.introduction.startsWith(
        u"Pinnacles represent moments in your life in which you understand the goals you have to achieve"_s));

    const ReadingTexts &periods = readingTexts(u"lifePathPeriods");
    EXPECT_TRUE(periods.introduction.startsWith(u"This number describes the general influences on the life of a "
                                                "person. The first cycle helps you know yourself better"_s));
    const QStringList periodOpenings = {
        u"The first Life Path Period begins at birth (early years)."_s,
        u"The second Life Path Period is our most productive time of life and spans till middle age."_s,
        u"The third Life Path Period is a time for introspection."_s};
    const QStringList descriptions = furtherParagraphs(u"lifePathPeriods"_s);
    ASSERT_EQ(descriptions.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(descriptions[i].startsWith(periodOpenings[i]));

    const ReadingTexts &planes = readingTexts(u"planes");
    EXPECT_TRUE(planes.introduction.startsWith(u"These numbers shows a person's temperament and expression. You are "
                                               "described in four planes namely: Mental, Physical, Emotional and "
                                               "Intuitive."_s));
    const std::map<QString, QString> descriptionOpenings = {
        {u"Physical"_s, u"Physical Plane of Expression tells how you react"_s},
        {u"Mental"_s, u"Mental Plane of Expression describes your thought process"_s},
        {u"Emotional"_s, u"Your heart rules your emotional senses."_s},
        {u"Intuitive"_s, u"This plane reveals how sensitive you are about your inner self."_s}};
    for (const auto &[plane, opening] : descriptionOpenings) {
        EXPECT_TRUE(planes.fields.value(u"planes").toObject().value(plane).toObject().value(u"description")
                        .toString().startsWith(opening)) << plane.toStdString();
    }

    EXPECT_FALSE(readingTexts(u"essence").text(u"futureBirthYear").isEmpty());
    // Every reading whose number comes from the name says when it has none
    // to read.
    for (const char *name : {"destiny", "soulUrge", "innerDreams", "maturity", "essence", "planes", "hiddenPassion",
                             "karmicLessons", "balance", "subconsciousSelf", "hpBridge", "leBridge"})
        EXPECT_FALSE(readingTexts(QString::fromLatin1(name)).text(u"noLetters").isEmpty()) << name;
}

TEST(TextTables, NoParagraphStandsUnderTwoKeys)
{
    QHash<QString, QString> seenAt;
    auto see = [&](const QString &where, const QString &paragraph) {
        const QString normalised = paragraph.simplified();
        EXPECT_FALSE(seenAt.contains(normalised)) << where.toStdString() << " repeats "
                                                  << seenAt.value(normalised).toStdString() << ": "
                                                  << normalised.left(60).toStdString();
        seenAt.insert(normalised, where);
    };
    for (const TableRule &rule : tableRules()) {
        const TextTable &table = readingTexts(rule.name).table;
        for (int key : table.keys()) {
            for (const QString &part : table.text(key).split(u"\r\n"_s))
                see(rule.name + u' ' + QString::number(key), part);
        }
        for (const QString &paragraph : furtherParagraphs(rule.name))
            see(rule.name, paragraph);
    }
}

TEST(TextTables, JsonKeepsOnlyEntriesAReadingCanLookUp)
{
    const ReadingTexts texts = ReadingTexts::fromJson(
        R"({"caption": "C", "heading": 7, "texts": {"1": "one", "22": "two parts\r\nsecond", "01": "padded",
            "x": "word", "3": 3, "-4": "minus"}})");
    EXPECT_EQ(texts.caption, u"C"_s);
    EXPECT_TRUE(texts.heading.isEmpty());
    EXPECT_TRUE(texts.introduction.isEmpty());
    EXPECT_EQ(texts.table.keys(), (QList<int>{-4, 1, 22}));
    EXPECT_EQ(texts.table.text(22), u"two parts\r\nsecond"_s);
    EXPECT_TRUE(texts.table.text(3).isEmpty());

    EXPECT_TRUE(ReadingTexts::fromJson("{\"texts\": {\"1\": \"cut off").table.keys().isEmpty());
    EXPECT_TRUE(ReadingTexts::fromJson(R"(["a list"])").table.keys().isEmpty());
    EXPECT_TRUE(readingTexts(u"no-such-reading").table.keys().isEmpty());
}
