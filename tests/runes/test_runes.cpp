#include "runes/runes.h"
#include "runes/runesdocument.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Runes, WorkedExamples)
{
    const struct
    {
        const char *name;
        int total, number;
        const char *rune;
    } rows[] = {
        {"John Smith", 44, 8, "Ehwas"}, {"Mary", 21, 3, "Wunjo"},      {"Anna Maria", 36, 9, "Eihwas"},
        {"Sarah Jones", 38, 11, "Fehu"}, {"Jade", 11, 2, "Gebo"},       {"jade", 11, 2, "Gebo"},
        {"J.A.D.E.", 11, 2, "Gebo"},     {"Peter", 28, 1, "Algiz"},     {"   ", 0, 0, nullptr},
        {"123 !?", 0, 0, nullptr},       {"  Peter  ", 28, 1, "Algiz"}, {"Jos\xc3\xa9", 13, 4, "Othala"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromUtf8(row.name);
        EXPECT_EQ(runes::nameTotal(name), row.total);
        EXPECT_EQ(runes::runesNumber(name), row.number);
        const runes::RuneRow *r = runes::runeRow(row.number);
        if (row.rune) {
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->rune, QString::fromLatin1(row.rune));
        } else {
            EXPECT_EQ(r, nullptr);
        }
    }
}

TEST(Runes, ReduceByDigitSumsKeepsOnlyMasterDigitSums)
{
    const struct
    {
        int total, number;
    } rows[] = {{0, 0},   {7, 7},   {11, 2},  {22, 4},  {29, 11}, {38, 11}, {47, 11}, {92, 11},
                {191, 11}, {195, 6}, {499, 22}, {10, 1},  {99, 9},  {32767, 7}};
    for (const auto &row : rows)
        EXPECT_EQ(runes::reduceByDigitSums(row.total), row.number) << row.total;
}

TEST(Runes, TheTableAndItsJoins)
{
    const char *names[] = {"Algiz", "Gebo", "Wunjo", "Othala", "Uruz", "Perthro", "Berkano", "Ehwas", "Eihwas"};
    QSet<QString> texts;
    for (int n = 1; n <= 9; ++n) {
        const runes::RuneRow *row = runes::runeRow(n);
        ASSERT_NE(row, nullptr) << n;
        EXPECT_EQ(row->rune, QString::fromLatin1(names[n - 1]));
        EXPECT_FALSE(row->keywords.isEmpty());
        EXPECT_FALSE(row->text.isEmpty());
        texts.insert(row->text);
        // Strengths, a line break, negative traits (4 has a third paragraph).
        EXPECT_EQ(row->numberText.count(u"\r\n"_s), n == 4 ? 2 : 1) << n;
    }
    EXPECT_EQ(texts.size(), 9);
    EXPECT_EQ(runes::runeRow(3)->keywords, u"Ancestry, Prosperity, Inheritance, Family"_s);
    EXPECT_TRUE(runes::runeRow(1)->numberText.startsWith(u"This tells you are a leader."_s));
    EXPECT_TRUE(runes::runeRow(4)->numberText.contains(u"\r\nAll with Destiny 4, and especially the master number 22/4"_s));

    // 5 is two paragraphs; 11 a paragraph, a line break, a tab and a second one.
    EXPECT_EQ(runes::runeRow(5)->text.count(u"\r\n"_s), 1);
    EXPECT_TRUE(runes::runeRow(5)->text.contains(u"\r\nThis is the rune of inner strength, harmony and peace."_s));
    const runes::RuneRow *eleven = runes::runeRow(11);
    EXPECT_EQ(eleven->rune, u"Fehu"_s);
    EXPECT_TRUE(eleven->text.contains(u"\r\n\tIt also increases intuitive abilities"_s));
    EXPECT_TRUE(eleven->numberText.startsWith(u"The Number Eleven is a highly charged number."_s));

    // 22 has no rune of its own and shows the Fehu stone.
    const runes::RuneRow *twentyTwo = runes::runeRow(22);
    ASSERT_NE(twentyTwo, nullptr);
    EXPECT_TRUE(twentyTwo->rune.isEmpty());
    EXPECT_TRUE(twentyTwo->keywords.isEmpty());
    EXPECT_TRUE(twentyTwo->text.isEmpty());
    EXPECT_EQ(twentyTwo->picture, eleven->picture);
    EXPECT_TRUE(twentyTwo->numberText.startsWith(u"The Number 22 is a constructive and creative figure."_s));
    EXPECT_EQ(runes::runeRow(0), nullptr);
    EXPECT_EQ(runes::runeRow(10), nullptr);
}

TEST(Runes, TheReadingAsADocument)
{
    // The two tabs one after the other; 22 and a name without letters have no stone.
    auto numerologyPart = [](int number, const QString &interpretation) {
        QStringList lines{runes::numerologyCaption() + u": "_s + QString::number(number), runes::significanceCaption(), runes::significanceText(), QString(),
                          runes::interpretationCaption()};
        lines += interpretation.split(u"\r\n"_s);
        return lines << QString();
    };
    auto runesPart = [](const runes::RuneRow &row) {
        QStringList lines{runes::runesCaption() + u": "_s + row.rune, runes::keywordsCaption(), row.keywords, QString(),
                          runes::interpretationCaption()};
        lines += row.text.split(u"\r\n"_s);
        return lines << QString();
    };
    const runes::RuneRow *ehwas = runes::runeRow(8);
    const runes::RuneRow *fehu = runes::runeRow(11);
    const runes::RuneRow *master = runes::runeRow(22);
    ASSERT_TRUE(ehwas && fehu && master);
    const QString heading = u"Dudov Aduradudav Reading"_s;
    const QString longName = QString(55, u'R') + u'D'; // 499, whose digits add up to 22
    const struct
    {
        QString name;
        QStringList lines;
    } cases[] = {
        {u" John Smith "_s, QStringList{heading + u": John Smith"_s, QString(), u"Name: John Smith"_s, QString()}
                                + numerologyPart(8, ehwas->numberText) + runesPart(*ehwas)},
        {u"Sarah Jones"_s, QStringList{heading + u": Sarah Jones"_s, QString(), u"Name: Sarah Jones"_s, QString()}
                               + numerologyPart(11, fehu->numberText) + runesPart(*fehu)},
        {longName, QStringList{heading + u": "_s + longName, QString(), u"Name: "_s + longName, QString()}
                       + numerologyPart(22, master->numberText)},
        {u"123 !?"_s, QStringList{heading + u": 123 !?"_s, QString(), u"Name: 123 !?"_s, QString()}
                          + numerologyPart(0, runes::noLettersText())},
        {u"   "_s, QStringList{heading, QString()} + numerologyPart(0, runes::noLettersText())},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.name.toStdString());
        const richtext::Composition c = runes::readingDocument(row.name);
        EXPECT_EQ(c.title(), row.lines.first());
        // The document ends with an empty line after the last text.
        EXPECT_EQ(richtext::toPlainText(c).split(u'\n'), row.lines + QStringList{QString()});
    }

    // The number and the stone 14-point bold, as on their tabs; the framed texts plain.
    const richtext::Composition c = runes::readingDocument(u"John Smith"_s);
    auto formatOf = [&c](const QString &text) -> richtext::Format {
        for (const richtext::Run &run : c.runs())
            if (run.text.startsWith(text))
                return run.format;
        ADD_FAILURE() << "no run starts with " << text.toStdString();
        return {};
    };
    EXPECT_EQ(formatOf(runes::numerologyCaption() + u": 8\r\n"_s), (richtext::Format{true, std::nullopt, 14}));
    EXPECT_EQ(formatOf(runes::runesCaption() + u": "_s + ehwas->rune), (richtext::Format{true, std::nullopt, 14}));
    EXPECT_TRUE(formatOf(runes::significanceCaption()).bold);
    EXPECT_TRUE(formatOf(runes::keywordsCaption()).bold);
    for (const QString &text : {runes::significanceText(), ehwas->numberText, ehwas->keywords, ehwas->text})
        EXPECT_FALSE(formatOf(text).bold) << text.left(30).toStdString();
}
