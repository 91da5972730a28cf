#include "tantric/tantricdocument.h"
#include "tantric/tantricnumbers.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tantric;

TEST(Tantric, ReduceOverItsWholeRange)
{
    // 0 to 9 stay, 10 gives 1, 11 stays; otherwise a digit sum of 10 or 11
    // is kept and anything larger is summed again.
    for (int n = 0; n <= 99; ++n) {
        int expected;
        if (n <= 9 || n == 11) {
            expected = n;
        } else if (n == 10) {
            expected = 1;
        } else {
            int sum = n / 10 + n % 10;
            if (sum >= 12)
                sum = sum / 10 + sum % 10;
            expected = sum;
        }
        EXPECT_EQ(tantricReduce(n), expected) << n;
    }
    const struct
    {
        int n, reduced;
    } rows[] = {{19, 10}, {28, 10}, {29, 11}, {38, 11}, {47, 11}, {12, 3}, {20, 2}, {75, 3}, {99, 9}, {33, 6}};
    for (const auto &row : rows)
        EXPECT_EQ(tantricReduce(row.n), row.reduced) << row.n;
}

TEST(Tantric, WorkedExamples)
{
    const struct
    {
        int day, month, year;
        TantricNumbers numbers; // soul, karma, gift, knowledge, path
    } rows[] = {
        {15, 8, 1975, {6, 8, 3, 4, 9}},     {10, 10, 2000, {1, 1, 0, 2, 4}},   {29, 11, 1955, {11, 11, 10, 2, 6}},
        {19, 12, 2011, {10, 3, 11, 4, 8}},  {28, 2, 1999, {10, 2, 9, 10, 4}},  {1, 1, 1900, {1, 1, 0, 1, 3}},
        {11, 11, 2010, {11, 11, 1, 3, 7}},  {31, 2, 2019, {4, 2, 10, 3, 9}},   {29, 11, 1929, {11, 11, 11, 3, 7}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(tantricNumbers(row.day, row.month, row.year), row.numbers)
            << row.day << "/" << row.month << "/" << row.year;
}

TEST(Tantric, FiveTablesOfElevenTexts)
{
    QSet<QString> texts;
    for (Table table : {Table::Soul, Table::Karma, Table::Gift, Table::Knowledge, Table::Path}) {
        EXPECT_TRUE(tantricText(table, 0).isEmpty());
        EXPECT_TRUE(tantricText(table, 12).isEmpty());
        for (int n = 1; n <= 11; ++n) {
            const QString text = tantricText(table, n);
            EXPECT_GE(text.size(), 300) << n;
            EXPECT_FALSE(text.contains(u'\n')) << n;
            texts.insert(text);
        }
    }
    EXPECT_EQ(texts.size(), 55);
    EXPECT_TRUE(tantricText(Table::Soul, 1).startsWith(
        u"You must keep in mind that the spirit or the soul exists in the innermost recess of your being."_s));
    EXPECT_TRUE(tantricText(Table::Gift, 1).startsWith(u"Number one stands for creative genius and innovativeness."_s));
    EXPECT_TRUE(tantricText(Table::Gift, 11).startsWith(u"person with a gift number eleven will be highly energetic."_s));
    EXPECT_TRUE(tantricText(Table::Knowledge, 1).startsWith(
        u"This destiny number refers to the course of action in relation to your previous births."_s));
}

TEST(Tantric, TheChartRunsFiveSectionsInTheirColours)
{
    const richtext::Composition chart = tantricChart(u"Asha Rao"_s, tantricNumbers(15, 8, 1975));
    const QList<richtext::Run> &runs = chart.runs();
    ASSERT_EQ(runs.size(), 6);
    EXPECT_EQ(runs[0].text, u"Orvanel Vorizov Avazodizaz Chart for Asha Rao\r\n\r\n"_s);
    EXPECT_EQ(runs[0].format.pointSize, 12);
    EXPECT_EQ(runs[0].format.colour, richtext::kBlack);
    const struct
    {
        QString heading;
        richtext::Rgb colour;
        Table table;
        int number;
    } sections[] = {
        {u"Path: 9"_s, {128, 0, 128}, Table::Path, 9},      {u"Soul: 6"_s, {0, 0, 128}, Table::Soul, 6},
        {u"Knowledge: 4"_s, {0, 128, 0}, Table::Knowledge, 4}, {u"Gift: 3"_s, {255, 0, 0}, Table::Gift, 3},
        {u"Karma: 8"_s, {128, 0, 0}, Table::Karma, 8},
    };
    for (int i = 0; i < 5; ++i) {
        const richtext::Run &run = runs[i + 1];
        const bool last = i == 4;
        EXPECT_EQ(run.text, sections[i].heading + u"\r\n"_s + tantricText(sections[i].table, sections[i].number)
                                + (last ? QString() : u"\r\n\r\n"_s))
            << i;
        EXPECT_EQ(run.format.colour, sections[i].colour) << i;
        EXPECT_TRUE(run.format.bold);
        EXPECT_EQ(run.format.pointSize, 10);
    }

    // Gift 0: no heading, only its two line breaks in the gift colour.
    const richtext::Composition noGift = tantricChart(u" "_s, tantricNumbers(1, 1, 1900));
    EXPECT_TRUE(noGift.runs()[0].text.startsWith(u"Orvanel Vorizov Avazodizaz Chart for  \r\n"_s));
    EXPECT_EQ(noGift.runs()[4].text, u"\r\n\r\n"_s);
    EXPECT_EQ(noGift.runs()[4].format.colour, (richtext::Rgb{255, 0, 0}));
    EXPECT_FALSE(noGift.plainText().contains(u"Gift:"_s));
}

TEST(Tantric, TheReadingAsADocument)
{
    // The chart's sections as lines: heading and text, an empty line between
    // sections; a gift of 0 leaves no trace.
    auto sections = [](const TantricNumbers &n) {
        QStringList lines;
        const struct
        {
            Table table;
            int number;
        } order[] = {{Table::Path, n.path}, {Table::Soul, n.soul}, {Table::Knowledge, n.knowledge},
                     {Table::Gift, n.gift}, {Table::Karma, n.karma}};
        for (const auto &s : order) {
            if (s.number == 0)
                continue;
            lines << caption(s.table) + u": "_s + QString::number(s.number) << tantricText(s.table, s.number);
            if (s.table != Table::Karma)
                lines << QString();
        }
        return lines;
    };
    const QString heading = u"Vorizov Avazodizaz Reading: "_s;
    const struct
    {
        QString name;
        int day, month, year;
        QStringList lines;
    } cases[] = {
        {u" Asha Rao "_s, 15, 8, 1975,
         QStringList{heading + u"Asha Rao"_s, QString(), u"Name: Asha Rao"_s, u"Date of Birth: 15 August 1975"_s,
                     QString(), u"Path 9"_s, u"Soul 6"_s, u"Knowledge 4"_s, u"Gift 3"_s, u"Karma 8"_s, QString()}
             + sections({6, 8, 3, 4, 9})},
        // A year ending in 00 and no name: no Gift line, the date heads the reading.
        {QString(), 1, 1, 1900,
         QStringList{heading + u"1 January 1900"_s, QString(), u"Date of Birth: 1 January 1900"_s, QString(),
                     u"Path 3"_s, u"Soul 1"_s, u"Knowledge 1"_s, u"Karma 1"_s, QString()}
             + sections({1, 1, 0, 1, 3})},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.lines.first().toStdString());
        const richtext::Composition c = readingDocument(row.name, row.day, row.month, row.year);
        EXPECT_EQ(c.title(), row.lines.first());
        EXPECT_EQ(richtext::toPlainText(c).split(u'\n'), row.lines + QStringList{QString()});
    }

    // Summary captions 14-point and numbers 11-point bold; then the chart's
    // sections in their own formats.
    const richtext::Composition c = readingDocument(u"Asha Rao"_s, 15, 8, 1975);
    const QList<richtext::Run> &runs = c.runs();
    const qsizetype path = runs.indexOf(richtext::Run{u"Path "_s, {true, std::nullopt, 14}});
    ASSERT_GE(path, 0);
    EXPECT_EQ(runs[path + 1], (richtext::Run{u"9\r\n"_s, {true, std::nullopt, 11}}));
    const QList<richtext::Run> chart = chartSections(tantricNumbers(15, 8, 1975)).runs();
    ASSERT_GE(runs.size(), chart.size() + 1);
    EXPECT_EQ(runs.mid(runs.size() - chart.size() - 1, chart.size()), chart);
}
