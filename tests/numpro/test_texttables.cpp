#include "numpro/readings/texttable.h"

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
    QString openingOfOne;
    int parts = 1;                     // CR LF separated parts of most texts
    std::map<int, int> partsByKey = {}; // texts built differently
};

const std::vector<TableRule> &tableRules()
{
    static const std::vector<TableRule> rules = {
        {u"lifePath"_s, kCoreKeys, u"Your main purpose should be attaining independency."_s},
        {u"destiny"_s, kCoreKeys, u"This tells you are a leader."_s, 2, {{4, 3}}},
        {u"soulUrge"_s, kCoreKeys,
         u"You achieve a sense of gratification when you succeed in any type of competition."_s},
        {u"innerDreams"_s, kCoreKeys, u"Great feeling of importance is what you love."_s},
        {u"birthDay"_s, range(1, 31), u"People associated with 1 prefer their uniqueness."_s},
        {u"maturity"_s, kCoreKeys, u"As you grow older, will love being independent."_s, 3,
         {{3, 4}, {6, 1}, {11, 1}, {22, 1}}},
    };
    return rules;
}

} // namespace

TEST(TextTables, EveryTableHasExactlyItsKeysWithTextsOfTheirShape)
{
    for (const TableRule &rule : tableRules()) {
        SCOPED_TRACE(rule.name.toStdString());
        const TextTable &table = readingTexts(rule.name).table;
        EXPECT_EQ(table.keys(), rule.keys);
        EXPECT_TRUE(table.text(1).startsWith(rule.openingOfOne)) << table.text(1).left(80).toStdString();
        EXPECT_TRUE(table.text(0).isEmpty());
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

TEST(TextTables, NoParagraphStandsUnderTwoKeys)
{
    QHash<QString, QString> seenAt;
    for (const TableRule &rule : tableRules()) {
        const TextTable &table = readingTexts(rule.name).table;
        for (int key : table.keys()) {
            const QString where = rule.name + u' ' + QString::number(key);
            for (const QString &part : table.text(key).split(u"\r\n"_s)) {
                const QString normalised = part.simplified();
                EXPECT_FALSE(seenAt.contains(normalised))
                    << where.toStdString() << " repeats " << seenAt.value(normalised).toStdString() << ": "
                    << normalised.left(60).toStdString();
                seenAt.insert(normalised, where);
            }
        }
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
