#include "daily/dailynumber.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DailyNumber, WorkedExamples)
{
    const struct
    {
        const char *day, *month;
        QDate today;
        int number;
        const char *word;
    } rows[] = {
        {"23", "June", {2025, 12, 9}, 5, "Five"},
        {"29", "November", {2029, 11, 29}, 3, "Three"},
        {"9", "September", {2000, 1, 1}, 4, "Four"},
        {"31", "December", {1999, 12, 31}, 6, "Six"},
        {"1", "January", {2011, 1, 1}, 8, "Eight"},
        // Blanks around the texts are ignored; a month that is no month name counts 0.
        {" 23 ", " June ", {2025, 12, 9}, 5, "Five"},
        {"23", "june", {2025, 12, 9}, 8, "Eight"},
        {"", "June", {2025, 12, 9}, 9, "Nine"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.day) + " " + row.month + " " + row.today.toString(Qt::ISODate).toStdString());
        const qint16 n = daily::dailyNumber(QString::fromLatin1(row.day), QString::fromLatin1(row.month), row.today);
        EXPECT_EQ(n, row.number);
        EXPECT_EQ(daily::dailyWord(n), QString::fromLatin1(row.word));
    }
    // Only day and month enter: 5 + 2 + 1 + 3 + 1 = 12, folded to 3.
    EXPECT_EQ(daily::dailyNumber(u"14", u"February", {2026, 12, 10}), 3);
}

TEST(DailyNumber, ReduceKeepsNoMasterNumber)
{
    const struct
    {
        const char *digits;
        int reduced;
    } rows[] = {{"", 0}, {"0", 0}, {"7", 7}, {"11", 2}, {"22", 4}, {"29", 2}, {"1999", 1}, {"2029", 4},
                {"10", 1}, {"12", 3}, {"45", 9}, {"99999999999", 9}};
    for (const auto &row : rows)
        EXPECT_EQ(daily::dailyReduce(QString::fromLatin1(row.digits)), row.reduced) << row.digits;

    // Every birth day, month and date of a year gives a number from 1 to 9.
    for (QDate today(2026, 1, 1); today.year() == 2026; today = today.addDays(1)) {
        for (int day = 1; day <= 31; day += 3) {
            const qint16 n = daily::dailyNumber(QString::number(day), u"October", today);
            ASSERT_TRUE(n >= 1 && n <= 9) << today.toString(Qt::ISODate).toStdString();
        }
    }
}

TEST(DailyNumber, BirthDatesTheCheckRefuses)
{
    EXPECT_TRUE(daily::birthDateExists(29, 2));
    EXPECT_TRUE(daily::birthDateExists(31, 1));
    EXPECT_TRUE(daily::birthDateExists(30, 4));
    EXPECT_TRUE(daily::birthDateExists(31, 12));
    for (const auto &[day, month] : {std::pair{30, 2}, {31, 2}, {31, 4}, {31, 6}, {31, 9}, {31, 11}})
        EXPECT_FALSE(daily::birthDateExists(day, month)) << day << "/" << month;
}

TEST(DailyNumber, NineDistinctParagraphs)
{
    QSet<QString> texts;
    for (int n = 1; n <= 9; ++n) {
        const QString text = daily::dailyText(n);
        EXPECT_GE(text.size(), 200) << n;
        EXPECT_LE(text.size(), 500) << n;
        EXPECT_FALSE(text.contains(u'\n')) << n;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 9);
    EXPECT_TRUE(daily::dailyText(1).startsWith(
        u"This is the day when your primary concern is about yourself, your personal goals and desires."_s));
    EXPECT_TRUE(daily::dailyWord(0).isEmpty());
    EXPECT_TRUE(daily::dailyText(10).isEmpty());
}
