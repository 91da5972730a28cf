#include "daily/dailydocument.h"
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

TEST(DailyNumber, TheReadingPageAsADocument)
{
    const struct
    {
        const char *day, *month;
        QDate today;
        const char *date, *birth;
        int number;
    } rows[] = {
        {"23", "June", {2025, 12, 9}, "9 December 2025", "23 June", 5},
        {" 1 ", "January", {2011, 1, 1}, "1 January 2011", "1 January", 8},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.date);
        const richtext::Composition c =
            daily::readingDocument(QString::fromLatin1(row.day), QString::fromLatin1(row.month), row.today);
        const QString title = daily::readingCaption() + u": "_s + QString::fromLatin1(row.date);
        EXPECT_EQ(c.title(), title);
        EXPECT_TRUE(title.startsWith(u"Vavov Uvarevuvir Reading"_s));
        const QStringList lines{title,
                                QString(),
                                daily::birthDateCaption() + u": "_s + QString::fromLatin1(row.birth),
                                QString(),
                                QString::number(row.number),
                                daily::luckyNumberCaption(),
                                daily::dailyWord(row.number),
                                QString(),
                                daily::dayCaption(),
                                daily::dailyText(row.number),
                                QString()};
        EXPECT_EQ(richtext::toPlainText(c).split(u'\n'), lines);
    }

    // The emphasis of the page: the number 72-point bold dark red, the word
    // 12-point bold, both centred with their caption; the paragraph plain.
    const richtext::Composition c = daily::readingDocument(u"23"_s, u"June"_s, QDate(2025, 12, 9));
    auto runOf = [&c](const QString &text) -> richtext::Format {
        for (const richtext::Run &run : c.runs())
            if (run.text.startsWith(text))
                return run.format;
        ADD_FAILURE() << "no run starts with " << text.toStdString();
        return {};
    };
    EXPECT_TRUE(runOf(c.title()).bold);
    EXPECT_GT(runOf(c.title()).pointSize, 12);
    const richtext::Format number = runOf(u"5\r\n"_s);
    EXPECT_EQ(number, (richtext::Format{true, richtext::kDarkRed, 72, false, richtext::Align::Centre}));
    EXPECT_EQ(runOf(daily::luckyNumberCaption()).align, richtext::Align::Centre);
    EXPECT_FALSE(runOf(daily::luckyNumberCaption()).bold);
    const richtext::Format word = runOf(daily::dailyWord(5));
    EXPECT_EQ(word, (richtext::Format{true, std::nullopt, 12, false, richtext::Align::Centre}));
    EXPECT_TRUE(runOf(daily::dayCaption()).bold);
    EXPECT_EQ(runOf(daily::dayCaption()).align, richtext::Align::Left);
    EXPECT_FALSE(runOf(daily::dailyText(5)).bold);
}
