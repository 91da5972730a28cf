#include "numpro/readings/texttable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

// Runs the built kestrava-cli with the arguments and, optionally, standard input.
Result cli(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(KESTRAVA_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

const QStringList kMary = {u"numerology"_s, u"--first"_s, u"MARY"_s, u"--middle"_s, u"ANN"_s, u"--last"_s,
                           u"SMITH"_s, u"--month"_s, u"August"_s, u"--day"_s, u"6"_s, u"--year"_s, u"1979"_s,
                           u"--today"_s, u"2024-03-07"_s};

QJsonArray numbers(std::initializer_list<int> list)
{
    QJsonArray array;
    for (int n : list)
        array.append(n);
    return array;
}

} // namespace

TEST(Cli, JsonHoldsEveryReadingsValues)
{
    const Result r = cli(kMary);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonObject expected{
        {u"lifePath"_s, 22}, {u"destiny"_s, 11}, {u"soulUrge"_s, 11}, {u"innerDreams"_s, 9}, {u"maturity"_s, 6},
        {u"birthDay"_s, 6}, {u"pinnacles"_s, numbers({5, 5, 1, 7})}, {u"challenges"_s, numbers({2, 2, 0, 0})},
        {u"personalYear"_s, 4}, {u"personalMonth"_s, 7}, {u"personalDay"_s, 5},
        {u"planes"_s, QJsonObject{{u"mental"_s, 41}, {u"physical"_s, 16}, {u"emotional"_s, 33}, {u"intuitive"_s, 8}}},
        {u"dominantPlane"_s, u"Mental"_s}, {u"karmicLessons"_s, numbers({3, 6})}, {u"balance"_s, 6},
        {u"rationalThought"_s, 9}, {u"subconsciousSelf"_s, 7}, {u"hiddenPassion"_s, 4}, {u"hpBridge"_s, 2},
        {u"leBridge"_s, 2}, {u"age"_s, 45}, {u"karmicDebt"_s, 0}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(json.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(json.size(), 31);
}

TEST(Cli, UsageErrorsSayWhatIsWrongAndExitTwo)
{
    auto without = [](const QString &option) {
        QStringList arguments = kMary;
        const qsizetype at = arguments.indexOf(option);
        arguments.remove(at, 2);
        return arguments;
    };
    auto with = [](const QString &option, const QString &value) {
        QStringList arguments = kMary;
        arguments[arguments.indexOf(option) + 1] = value;
        return arguments;
    };
    const struct
    {
        QStringList arguments;
        const char *message;
    } rows[] = {
        {without(u"--first"_s), "Please Enter Your First Name"},
        {without(u"--last"_s), "Please Enter Your Last Name"},
        {without(u"--day"_s), "Please Specify Your Birth Date"},
        {with(u"--month"_s, u"Smarch"_s), "The month must be January to December, not \"Smarch\"."},
        {with(u"--day"_s, u"32"_s), "The day must be 1 to 31, not \"32\"."},
        {with(u"--year"_s, u"1899"_s), "The year must be 1900 to 2050, not \"1899\"."},
        {with(u"--today"_s, u"2024-02-30"_s), "--today must be a date written YYYY-MM-DD"},
        {kMary + QStringList{u"--format"_s, u"xml"_s}, "--format must be json, text or html"},
        {kMary + QStringList{u"--colour"_s}, "Unknown option 'colour'"},
        {{u"horoscope"_s}, "unknown command \"horoscope\""},
        {{}, "usage: kestrava-cli COMMAND"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const Result r = cli(row.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Cli, TextIsTheComprehensiveDocument)
{
    const Result r = cli(kMary + QStringList{u"--format"_s, u"text"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(u"Name: MARY ANN SMITH\nDate of Birth: August 6, 1979\n"_s));
    EXPECT_FALSE(r.out.contains(u'\r'));
    const QStringList headings = {
        u"Your LifePath Number is: 22\n\n"_s, u"Your Destiny Number is: 11\n"_s, u"Your Soul Urge Number is:11\n"_s,
        u"Your InnerDream Number is: 9\n"_s, u"Your BirthDay Number is: 6\n"_s,
        u"Your Challenge Numbers are: 2 2 0 0\n"_s, u"Your Personal Year is: 4\n"_s, u"Your Personal Day is:5\n"_s,
        u"Your Personal Month Number is: 7\n"_s, u"Your Current LifePath Period Number is: "_s,
        u"Your Maturity Number is: 6\n"_s, u"Your Essence Number is: "_s,
        u"Your Planes of Expression is towards Mental\n"_s, u"Pinnacle Phases\n"_s,
        u"Your Hidden Passion Number is:4\n"_s, u"Your Karmic Lesson Number is:  3 6\n"_s,
        u"Your Balance Number is: 6\n"_s, u"Karmic Debt Number: 0\n"_s, u"Your Subconscious Self Number is: 7\n"_s,
        u"Your L/E Bridge Number is: 2\n"_s, u"Your H/P Bridge Number is: 2\n"_s,
        u"Your Rational Thought Number is: 9\n"_s};
    qsizetype at = 0;
    for (const QString &heading : headings) {
        const qsizetype found = r.out.indexOf(heading, at);
        EXPECT_GT(found, at) << heading.toStdString();
        at = std::max(at, found);
    }
}

TEST(Cli, HtmlIsAWellFormedPageKeepingFormatsAndLinks)
{
    const Result r = cli(kMary + QStringList{u"--format"_s, u"html"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QXmlStreamReader xml(r.out.section(u'\n', 1)); // after the doctype line
    int links = 0;
    bool darkCyan = false, bold = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            links += xml.name() == u"a" && xml.attributes().value(u"href"_s) == u"https://www.kestrava.example";
            darkCyan = darkCyan || xml.attributes().value(u"style"_s).contains(u"color:#008080");
            bold = bold || xml.name() == u"b";
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(r.out.startsWith(u"<!DOCTYPE html>"_s));
    EXPECT_EQ(links, 22); // the credit line of every reading
    EXPECT_TRUE(darkCyan);
    EXPECT_TRUE(bold);
    EXPECT_TRUE(r.out.contains(u"color:#800000"_s)); // the dark red pinnacle headings
}

TEST(Cli, NamesWithoutLettersSaySoInEveryFormat)
{
    // Typed in lower case and pasted from another alphabet: the command line
    // takes both as given, and neither holds a letter with a value.
    const struct
    {
        const char *why;
        QString first, middle, last;
    } rows[] = {
        {"lower case", u"mary"_s, u"ann"_s, u"smith"_s},
        {"Cyrillic", u"\u041c\u0410\u0420\u0418\u042f"_s, {}, u"\u0418\u0412\u0410\u041d\u041e\u0412\u0410"_s},
    };
    const QString destinyWords = numpro::readingTexts(u"destiny").text(u"noLetters");
    const QString maturityWords = numpro::readingTexts(u"maturity").text(u"noLetters");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.why);
        QStringList arguments = {u"numerology"_s, u"--first"_s, row.first, u"--last"_s, row.last,
                                 u"--month"_s, u"August"_s, u"--day"_s, u"6"_s, u"--year"_s, u"1979"_s,
                                 u"--today"_s, u"2024-03-07"_s};
        if (!row.middle.isEmpty())
            arguments << u"--middle"_s << row.middle;

        const Result json = cli(arguments);
        ASSERT_EQ(json.status, 0) << json.err.toStdString();
        const QJsonObject values = QJsonDocument::fromJson(json.out.toUtf8()).object();
        for (const char *flag : {"destinyNoLetters", "soulUrgeNoVowels", "innerDreamsNoConsonants",
                                 "maturityNoLetters", "essenceNoLetters", "planesNoLetters", "hiddenPassionNoLetters",
                                 "karmicLessonsNoLetters", "balanceNoLetters", "subconsciousSelfNoLetters",
                                 "hpBridgeNoLetters", "leBridgeNoLetters"})
            EXPECT_EQ(values.value(QLatin1String(flag)), QJsonValue(true)) << flag;
        EXPECT_EQ(values.value(u"destiny"_s), 0);
        EXPECT_TRUE(values.value(u"maturity"_s).isNull());
        EXPECT_TRUE(values.value(u"hpBridge"_s).isNull());

        // The text document: Maturity is a reading like the others, ending
        // with their blank lines, and no 0 is read as a number.
        const Result text = cli(arguments + QStringList{u"--format"_s, u"text"_s});
        ASSERT_EQ(text.status, 0) << text.err.toStdString();
        EXPECT_TRUE(text.out.contains(u"Your Destiny Number is: 0\n"_s));
        EXPECT_TRUE(text.out.contains(destinyWords));
        EXPECT_TRUE(text.out.contains(u"Your Maturity Number is: 0\n"_s));
        EXPECT_TRUE(text.out.contains(maturityWords + u"\n\nReport Generated By "_s));
        EXPECT_FALSE(text.out.contains(u"Please calculate these two figures first"_s));
        const qsizetype maturity = text.out.indexOf(u"Your Maturity Number is: 0"_s);
        const qsizetype essence = text.out.indexOf(u"Your Essence Number is: 0\n"_s);
        ASSERT_GT(essence, maturity);
        EXPECT_TRUE(text.out.left(essence).endsWith(u"\n\n\n\n"_s));
        EXPECT_FALSE(text.out.contains(u"This is very lucky number"_s));

        // HTML: the Maturity paragraph and the Essence heading in paragraphs
        // of their own, blank ones between.
        const Result html = cli(arguments + QStringList{u"--format"_s, u"html"_s});
        ASSERT_EQ(html.status, 0) << html.err.toStdString();
        const qsizetype paragraph = html.out.indexOf(maturityWords.toHtmlEscaped());
        const qsizetype heading = html.out.indexOf(u"Your Essence Number is: 0"_s);
        ASSERT_GT(paragraph, 0);
        ASSERT_GT(heading, paragraph);
        const QString between = html.out.mid(paragraph, heading - paragraph);
        EXPECT_TRUE(between.contains(u"Report Generated By"_s));
        // A blank one, the credit line, three blank ones, Essence's own.
        EXPECT_EQ(between.count(u"<p"_s), 6) << between.toStdString();
    }
}

TEST(Cli, BatchKeepsEveryGoodRowAroundABadOne)
{
    const QByteArray csv = "first,middle,last,month,day,year,today\r\n"
                           "MARY,ANN,SMITH,August,6,1979,2024-03-07\r\n"
                           "\"O'NEIL, \"\"JR\"\"\",,SMITH,Smarch,6,1979,\r\n"
                           "\"JOS\xc3\x89\",\"\",\"GARC\xc3\x8d" "A\nLOPEZ\",March,15,1976,\r\n"
                           "JOHN,,DOE,November,29,1999\r\n";
    const Result r = cli({u"numerology"_s, u"--batch"_s, u"-"_s, u"--today"_s, u"2025-01-01"_s}, csv);
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
    const QJsonObject mary = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(mary.value(u"lifePath"), 22);
    EXPECT_EQ(mary.value(u"personalDay"), 5); // the row's own today
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8()).object(),
              (QJsonObject{{u"row"_s, 2}, {u"error"_s, u"The month must be January to December, not \"Smarch\"."_s}}));
    // Quoted fields keep their commas, quotes, UTF-8 and line breaks; an
    // empty today takes --today.
    const QJsonObject jose = QJsonDocument::fromJson(lines[2].toUtf8()).object();
    EXPECT_EQ(jose.value(u"age"), 49);
    EXPECT_FALSE(jose.contains(u"error"));
    // A short row is an error of its own.
    EXPECT_EQ(QJsonDocument::fromJson(lines[3].toUtf8()).object().value(u"row"), 4);

    const Result missingColumn = cli({u"numerology"_s, u"--batch"_s, u"-"_s}, "first,last\nMARY,SMITH\n");
    EXPECT_EQ(missingColumn.status, 2);
    EXPECT_TRUE(missingColumn.err.contains(u"no column \"middle\""_s));
    const Result good = cli({u"numerology"_s, u"--batch"_s, u"-"_s},
                            "first,middle,last,month,day,year\nMARY,,SMITH,May,15,1986\n");
    EXPECT_EQ(good.status, 0);
}

TEST(Cli, HelpAndVersion)
{
    const Result help = cli({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(u"numerology"_s));
    const Result commandHelp = cli({u"numerology"_s, u"--help"_s});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_TRUE(commandHelp.out.contains(u"--batch"_s));
    const Result version = cli({u"--version"_s});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, u"kestrava-cli 1.25\n"_s);
}

TEST(Cli, TarotGivesTheTwoNumbersAndTheirCards)
{
    const Result r = cli({u"tarot"_s, u"--name"_s, u"john smith"_s, u"--month"_s, u"March"_s, u"--day"_s, u"15"_s,
                          u"--year"_s, u"1980"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(json.value(u"lifePath"), 9);
    EXPECT_EQ(json.value(u"destiny"), 8);
    EXPECT_EQ(json.value(u"lifePathCards").toArray(),
              (QJsonArray{u"The Hermit - Major Arcana"_s, u"The Moon - Major Arcana"_s, u"The Nines - Minor Arcana"_s}));
    EXPECT_EQ(json.value(u"destinyCards").toArray().size(), 3);

    const Result noLetters = cli({u"tarot"_s, u"--name"_s, u"123"_s, u"--month"_s, u"January"_s, u"--day"_s,
                                  u"1"_s, u"--year"_s, u"1980"_s});
    const QJsonObject zero = QJsonDocument::fromJson(noLetters.out.toUtf8()).object();
    EXPECT_EQ(zero.value(u"destiny"), 0);
    EXPECT_EQ(zero.value(u"destinyCards").toArray(), QJsonArray());
    EXPECT_EQ(zero.value(u"lifePath"), 11);

    // A seed adds the dealt spread: nine different cards, the same ones for the same seed.
    const QStringList seeded = {u"tarot"_s, u"--name"_s, u"A"_s, u"--month"_s, u"May"_s, u"--day"_s, u"2"_s,
                                u"--year"_s, u"1990"_s, u"--seed"_s};
    const auto spread = [&](const QString &seed) {
        const Result s = cli(seeded + QStringList{seed});
        EXPECT_EQ(s.status, 0) << s.err.toStdString();
        return QJsonDocument::fromJson(s.out.toUtf8()).object().value(u"spread"_s).toArray();
    };
    const QJsonArray dealt = spread(u"42"_s);
    ASSERT_EQ(dealt.size(), 9);
    QSet<int> distinct;
    for (const QJsonValue &c : dealt) {
        EXPECT_TRUE(c.toInt(-1) >= 0 && c.toInt(-1) <= 77);
        distinct.insert(c.toInt(-1));
    }
    EXPECT_EQ(distinct.size(), 9);
    EXPECT_EQ(spread(u"42"_s), dealt);
    EXPECT_NE(spread(u"43"_s), dealt);
    EXPECT_FALSE(QJsonDocument::fromJson(r.out.toUtf8()).object().contains(u"spread"_s));

    const struct
    {
        QStringList arguments;
        const char *message;
    } errors[] = {
        {seeded + QStringList{u"18446744073709551616"_s}, "The seed must be a whole number"},
        {seeded + QStringList{u"x"_s}, "The seed must be a whole number"},
        {{u"tarot"_s, u"--month"_s, u"March"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1980"_s}, "Please Enter Your Name"},
        {{u"tarot"_s, u"--name"_s, u"A"_s, u"--month"_s, u"march"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1980"_s},
         "The month must be January to December"},
        {{u"tarot"_s, u"--name"_s}, "Missing value after '--name'"},
    };
    for (const auto &row : errors) {
        const Result e = cli(row.arguments);
        EXPECT_EQ(e.status, 2) << row.message;
        EXPECT_TRUE(e.err.contains(QString::fromLatin1(row.message))) << e.err.toStdString();
    }
}

TEST(Cli, DailyGivesTheNumberOfTheDay)
{
    const Result r = cli({u"daily"_s, u"--day"_s, u"23"_s, u"--month"_s, u"June"_s, u"--today"_s, u"2025-12-09"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(json.value(u"number"), 5);
    EXPECT_EQ(json.value(u"word"), u"Five"_s);

    const struct
    {
        QStringList arguments;
        const char *message;
    } errors[] = {
        {{u"daily"_s, u"--month"_s, u"June"_s}, "The day must be 1 to 31"},
        {{u"daily"_s, u"--day"_s, u"32"_s, u"--month"_s, u"June"_s}, "The day must be 1 to 31"},
        {{u"daily"_s, u"--day"_s, u"1"_s, u"--month"_s, u"june"_s}, "The month must be January to December"},
        {{u"daily"_s, u"--day"_s, u"1"_s, u"--month"_s, u"June"_s, u"--today"_s, u"2025-02-30"_s}, "YYYY-MM-DD"},
        {{u"daily"_s, u"--day"_s, u"1"_s, u"--month"_s, u"June"_s, u"extra"_s}, "daily"},
    };
    for (const auto &row : errors) {
        const Result e = cli(row.arguments);
        EXPECT_EQ(e.status, 2) << row.message;
        EXPECT_TRUE(e.err.contains(QString::fromLatin1(row.message))) << e.err.toStdString();
    }
}

TEST(Cli, AstrologyAndRunes)
{
    const Result fadic = cli({u"astrology"_s, u"--month"_s, u"May"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1986"_s});
    ASSERT_EQ(fadic.status, 0) << fadic.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(fadic.out.toUtf8()).object(),
              (QJsonObject{{u"combined"_s, 35}, {u"fadic"_s, 8}, {u"planet"_s, u"Saturn"_s}, {u"sign"_s, u"Capricorn"_s}}));

    const Result sarah = cli({u"runes"_s, u"--name"_s, u"Sarah Jones"_s});
    ASSERT_EQ(sarah.status, 0) << sarah.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(sarah.out.toUtf8()).object(),
              (QJsonObject{{u"total"_s, 38}, {u"number"_s, 11}, {u"rune"_s, u"Fehu"_s}}));
    // 22 has no rune; neither has a name without letters.
    // (Sixty-two Z and a C total 499, whose digits add up to 22.)
    for (const QString &name : {QString(62, u'Z') + u'C', u"123"_s}) {
        const QJsonObject json = QJsonDocument::fromJson(cli({u"runes"_s, u"--name"_s, name}).out.toUtf8()).object();
        EXPECT_TRUE(json.value(u"rune"_s).isNull()) << name.toStdString();
        EXPECT_EQ(json.value(u"number"_s).toInt(), name == u"123"_s ? 0 : 22);
        EXPECT_TRUE(json.contains(u"rune"_s));
    }

    const struct
    {
        QStringList arguments;
        const char *message;
    } errors[] = {
        {{u"astrology"_s, u"--month"_s, u"May"_s, u"--day"_s, u"15"_s}, "year"},
        {{u"astrology"_s, u"--month"_s, u"Mai"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1986"_s},
         "The month must be January to December"},
        {{u"astrology"_s, u"--month"_s, u"May"_s, u"--day"_s, u"15"_s, u"--year"_s, u"2051"_s}, "year"},
        {{u"runes"_s}, "Please enter name"},
        {{u"runes"_s, u"--name"_s, u"A"_s, u"extra"_s}, "runes"},
    };
    for (const auto &row : errors) {
        const Result e = cli(row.arguments);
        EXPECT_EQ(e.status, 2) << row.message;
        EXPECT_TRUE(e.err.contains(QString::fromLatin1(row.message))) << e.err.toStdString();
    }
}

TEST(Cli, TantricGivesTheFiveNumbers)
{
    const Result r = cli({u"tantric"_s, u"--month"_s, u"February"_s, u"--day"_s, u"28"_s, u"--year"_s, u"1999"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object(),
              (QJsonObject{{u"soul"_s, 10}, {u"karma"_s, 2}, {u"gift"_s, 9}, {u"knowledge"_s, 10}, {u"path"_s, 4}}));
    for (const QStringList &bad : {QStringList{u"tantric"_s, u"--month"_s, u"February"_s, u"--day"_s, u"32"_s,
                                               u"--year"_s, u"1999"_s},
                                   QStringList{u"tantric"_s, u"--day"_s, u"1"_s, u"--year"_s, u"1999"_s}}) {
        const Result e = cli(bad);
        EXPECT_EQ(e.status, 2) << e.err.toStdString();
        EXPECT_FALSE(e.err.isEmpty());
    }
}
