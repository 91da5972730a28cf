#include "astrology/astrologydocument.h"
#include "astrology/fadic.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Fadic, WorkedExamples)
{
    const struct
    {
        int month, day, year;
        int combined, fadic;
        const char *planet, *sign;
    } rows[] = {
        {5, 15, 1986, 35, 8, "Saturn", "Capricorn"},    {5, 15, 1987, 36, 9, "Mars", "Aries"},
        {9, 29, 1999, 48, 3, "Jupiter", "Sagittarius"}, {1, 1, 1900, 12, 3, "Jupiter", "Sagittarius"},
        {1, 1, 2000, 4, 4, "Rahu", "Aquarius"},         {10, 10, 2010, 5, 5, "Mercury", "Gemini"},
        {12, 31, 2050, 14, 5, "Mercury", "Gemini"},     {2, 31, 2001, 9, 9, "Mars", "Aries"},
        // No master numbers: 11, 22, 29 and 38 are taken down to one digit.
        {1, 9, 1900, 20, 2, "Moon", "Cancer"},          {9, 29, 1909, 39, 3, "Jupiter", "Sagittarius"},
        {2, 9, 1900, 21, 3, "Jupiter", "Sagittarius"},  {1, 19, 1900, 21, 3, "Jupiter", "Sagittarius"},
        {9, 19, 1939, 41, 5, "Mercury", "Gemini"},      {8, 1, 1910, 20, 2, "Moon", "Cancer"},
        {1, 1, 1908, 20, 2, "Moon", "Cancer"},          {8, 1, 2000, 11, 2, "Moon", "Cancer"},
        {9, 9, 2022, 24, 6, "Venus", "Libra"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(row.month).arg(row.day).arg(row.year).toStdString());
        EXPECT_EQ(astrology::fadicSum(row.month, row.day, row.year, false), row.combined);
        EXPECT_EQ(astrology::fadicSum(row.month, row.day, row.year, true), row.fadic);
        const astrology::FadicProfile *p = astrology::fadicProfile(row.fadic);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->planet, QString::fromLatin1(row.planet));
        EXPECT_EQ(p->sign, QString::fromLatin1(row.sign));
    }

    // Over the lists, the combined number stays within 4 to 48 and the fadic
    // number is its repeated digit sum.
    for (int year = 1900; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const int combined = astrology::fadicSum(month, day, year, false);
                ASSERT_TRUE(combined >= 4 && combined <= 48);
                ASSERT_EQ(astrology::fadicSum(month, day, year, true), 1 + (combined - 1) % 9);
            }
        }
    }
}

TEST(Fadic, NineProfilesWithTheirTexts)
{
    EXPECT_EQ(astrology::fadicProfile(0), nullptr);
    EXPECT_EQ(astrology::fadicProfile(10), nullptr);
    QSet<QString> texts;
    for (int n = 1; n <= 9; ++n) {
        const astrology::FadicProfile *p = astrology::fadicProfile(n);
        ASSERT_NE(p, nullptr) << n;
        for (const QString &text : {p->fadicText, p->planetText, p->signText}) {
            EXPECT_GE(text.size(), 500) << n;
            EXPECT_LE(text.size(), 800) << n;
            texts.insert(text);
        }
    }
    EXPECT_EQ(texts.size(), 27);
    const astrology::FadicProfile *one = astrology::fadicProfile(1);
    EXPECT_TRUE(one->fadicText.startsWith(
        u"Sun is the ruling lord of Fadic number one. Pragmatic, confident and highly active,"_s));
    EXPECT_TRUE(one->planetText.startsWith(u"The dominant lord of number one is Sun, the most important luminary,"_s));
    EXPECT_TRUE(one->signText.startsWith(u"Number one is related to the zodiac constellation of Leo."_s));
}

TEST(Fadic, TheReadingAsADocument)
{
    using astrology::ResultRow;
    using astrology::caption;
    const astrology::FadicProfile *saturn = astrology::fadicProfile(8);
    ASSERT_NE(saturn, nullptr);
    const QString heading = u"Ruzazeder Uvuvevizoz Reading: "_s;
    const QStringList rows = {caption(ResultRow::Combined) + u": 35"_s,
                              caption(ResultRow::Fadic) + u": 8"_s,
                              saturn->fadicText,
                              QString(),
                              caption(ResultRow::Planet) + u": "_s + saturn->planet,
                              saturn->planetText,
                              QString(),
                              caption(ResultRow::Sign) + u": "_s + saturn->sign,
                              saturn->signText,
                              QString()};
    const struct
    {
        QString name;
        int month, day, year;
        QString title;
        QStringList lines;
    } cases[] = {
        {u"  JOHN SMITH "_s, 5, 15, 1986, heading + u"JOHN SMITH"_s,
         QStringList{heading + u"JOHN SMITH"_s, QString(), u"Name: JOHN SMITH"_s, u"Date of Birth: May 15, 1986"_s,
                     QString()}
             + rows},
        // A name of blanks (or none, from the command line): the date heads the reading.
        {u"   "_s, 5, 15, 1986, heading + u"May 15, 1986"_s,
         QStringList{heading + u"May 15, 1986"_s, QString(), u"Date of Birth: May 15, 1986"_s, QString()} + rows},
        // No profile for a fadic number of 0: the numbers alone.
        {u"X"_s, 0, 0, 0, heading + u"X"_s,
         {heading + u"X"_s, QString(), u"Name: X"_s, u"Date of Birth: 0 0, 0"_s, QString(),
          caption(ResultRow::Combined) + u": 0"_s, caption(ResultRow::Fadic) + u": 0"_s, QString()}},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.title.toStdString());
        const richtext::Composition c = astrology::readingDocument(row.name, row.month, row.day, row.year);
        EXPECT_EQ(c.title(), row.title);
        EXPECT_EQ(richtext::toPlainText(c).split(u'\n'), row.lines);
    }

    // Captions and values bold, as the result view's labels; texts plain.
    const richtext::Composition c = astrology::readingDocument(u"JOHN SMITH"_s, 5, 15, 1986);
    for (const richtext::Run &run : c.runs()) {
        const bool text = run.text.contains(saturn->fadicText) || run.text.contains(saturn->planetText)
                          || run.text.contains(saturn->signText);
        const bool row = run.text.contains(caption(ResultRow::Combined)) || run.text.contains(caption(ResultRow::Sign));
        if (text)
            EXPECT_FALSE(run.format.bold) << run.text.left(40).toStdString();
        if (row)
            EXPECT_TRUE(run.format.bold) << run.text.left(40).toStdString();
        EXPECT_FALSE(text && row);
    }
    EXPECT_EQ(c.runs().first().format.pointSize, 16);
    EXPECT_TRUE(c.runs().first().format.bold);
}
