#include "astrology/fadic.h"
#include "clients/clientbooktest.h"
#include "common/datelists.h"
#include "daily/dailynumber.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/texttable.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/marriagevibration.h"
#include "runes/runes.h"
#include "tarot/deck.h"
#include "tarot/profiles.h"
#include "tarot/spread.h"
#include "tantric/tantricnumbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

// Runs the built kestrava-cli with the arguments and, optionally, standard
// input and an environment of its own.
Result cli(const QStringList &arguments, const QByteArray &input = {},
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
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

QJsonObject object(const QString &line)
{
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

// The keys of a JSON object's text in the order they are written, nested
// objects left out.
QStringList topLevelKeys(const QString &json)
{
    QStringList keys;
    int depth = 0;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const QChar c = json[i];
        if (c == u'"') {
            const qsizetype start = ++i;
            while (i < json.size() && json[i] != u'"')
                i += json[i] == u'\\' ? 2 : 1;
            qsizetype after = i + 1;
            while (after < json.size() && json[after] == u' ')
                ++after;
            if (depth == 1 && after < json.size() && json[after] == u':')
                keys.append(json.mid(start, i - start));
        } else if (c == u'{' || c == u'[') {
            ++depth;
        } else if (c == u'}' || c == u']') {
            --depth;
        }
    }
    return keys;
}

// The JSON keys the reference documents for a command, in order.
QStringList documentedKeys(const QString &command)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"reference.md"_s);
    EXPECT_EQ(cli({u"--generate-reference"_s, path}).status, 0);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QString section = text.section(u"\n## "_s + command + u"\n"_s, 1).section(u"\n## "_s, 0, 0);
    const QString list = section.section(u"JSON keys, in this order:"_s, 1).section(u"A batch file"_s, 0, 0);
    QStringList keys;
    static const QRegularExpression line(u"^- (`[^:]*`):"_s, QRegularExpression::MultilineOption);
    static const QRegularExpression key(u"`([^`]+)`"_s);
    for (const auto &item : line.globalMatch(list)) {
        for (const auto &name : key.globalMatch(item.captured(1)))
            keys.append(name.captured(1));
    }
    return keys;
}

// Mary Ann Smith (life path 22, destiny and soul urge 11) and John Doe.
const QStringList kMaryAndJohn = {u"compatibility"_s, u"--a-first"_s, u"Mary"_s, u"--a-middle"_s, u"Ann"_s,
                                  u"--a-last"_s, u"Smith"_s, u"--a-born"_s, u"1979-08-06"_s, u"--b-first"_s,
                                  u"John"_s, u"--b-last"_s, u"Doe"_s, u"--b-born"_s, u"1980-03-15"_s};

const QStringList kJohn = {u"tarot"_s, u"--name"_s, u"john smith"_s, u"--month"_s, u"March"_s, u"--day"_s,
                           u"15"_s, u"--year"_s, u"1980"_s};

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
        {with(u"--month"_s, u"13"_s), "The month must be January to December, not \"13\"."},
        {with(u"--month"_s, u"0"_s), "The month must be January to December, not \"0\"."},
        {with(u"--month"_s, u"+8"_s), "The month must be January to December, not \"+8\"."},
        {with(u"--month"_s, u"Augu"_s), "The month must be January to December, not \"Augu\"."},
        {without(u"--day"_s) + QStringList{u"--born"_s, u"1979-08-06"_s}, "--born gives the whole birth date"},
        {kMary.mid(0, 7) + QStringList{u"--born"_s, u"1979-8-6"_s}, "--born must be a date written YYYY-MM-DD"},
        {kMary.mid(0, 7) + QStringList{u"--born"_s, u"1899-08-06"_s}, "The year must be 1900 to 2050, not \"1899\"."},
        {kMary.mid(0, 7) + QStringList{u"--born"_s, u"1979-13-06"_s}, "The month must be January to December, not \"13\"."},
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
    // Kept in lower case and pasted from another alphabet: neither holds a
    // letter with a value.
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
                                 u"--today"_s, u"2024-03-07"_s, u"--keep-case"_s};
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
    // Each command's summary stands apart from its name, however long the name.
    static const QRegularExpression commandLine(u"^  [a-z]+ {2,}\\S"_s);
    const QStringList commands = help.out.section(u"Commands:\n"_s, 1).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_GE(commands.size(), 10);
    for (const QString &line : commands)
        EXPECT_TRUE(commandLine.match(line).hasMatch()) << line.toStdString();
    const Result clientsHelp = cli({u"clients"_s, u"--help"_s});
    EXPECT_EQ(clientsHelp.status, 0);
    EXPECT_TRUE(clientsHelp.out.contains(QRegularExpression(u"\nActions:\n  list +One line per client"_s)))
        << clientsHelp.out.toStdString();
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
        {{u"tarot"_s, u"--name"_s, u"A"_s, u"--month"_s, u"Marc"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1980"_s},
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
        {{u"daily"_s, u"--day"_s, u"30"_s, u"--month"_s, u"feb"_s}, "Please Enter Correct Date !"},
        {{u"daily"_s, u"--day"_s, u"1"_s, u"--month"_s, u"Juni"_s}, "The month must be January to December"},
        {{u"daily"_s, u"--born"_s, u"1979-06-31"_s, u"--day"_s, u"1"_s}, "--born gives the whole birth date"},
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

TEST(Cli, JsonIsOneLineInTheDocumentedOrder)
{
    const QList<QStringList> subjects = {
        kMary,
        kMary + QStringList{u"--married"_s, u"2001-06-16"_s},
        kMaryAndJohn + QStringList{u"--married"_s, u"2001-06-16"_s},
        kJohn + QStringList{u"--seed"_s, u"42"_s},
        {u"daily"_s, u"--day"_s, u"23"_s, u"--month"_s, u"June"_s},
        {u"astrology"_s, u"--month"_s, u"May"_s, u"--day"_s, u"15"_s, u"--year"_s, u"1986"_s},
        {u"runes"_s, u"--name"_s, u"Sarah Jones"_s},
        {u"tantric"_s, u"--month"_s, u"February"_s, u"--day"_s, u"28"_s, u"--year"_s, u"1999"_s},
    };
    for (const QStringList &arguments : subjects) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Result compact = cli(arguments);
        ASSERT_EQ(compact.status, 0) << compact.err.toStdString();
        EXPECT_EQ(compact.out.count(u'\n'), 1);
        EXPECT_TRUE(compact.out.endsWith(u"}\n"_s));
        const QStringList keys = topLevelKeys(compact.out);
        // The written keys are the documented ones, in order (flags that are
        // false are left out).
        const QStringList documented = documentedKeys(arguments.front());
        qsizetype at = 0;
        for (const QString &key : keys) {
            const qsizetype found = documented.indexOf(key, at);
            EXPECT_GE(found, at) << key.toStdString() << " in " << documented.join(u',').toStdString();
            at = found + 1;
        }
        if (arguments.front() != u"numerology"_s) {
            EXPECT_EQ(keys, documented);
        }

        // --pretty: the same object, keys in the same order, two spaces a level.
        const Result pretty = cli(arguments + QStringList{u"--pretty"_s});
        ASSERT_EQ(pretty.status, 0);
        EXPECT_EQ(object(pretty.out), object(compact.out));
        EXPECT_EQ(topLevelKeys(pretty.out), keys);
        EXPECT_TRUE(pretty.out.startsWith(u"{\n  \""_s + keys.front() + u"\": "_s)) << pretty.out.toStdString();
        EXPECT_TRUE(pretty.out.endsWith(u"\n}\n"_s));
    }
    // Keys of the seeded spread come last, the names in position order.
    const QJsonObject seeded = object(cli(kJohn + QStringList{u"--seed"_s, u"42"_s}).out);
    const QJsonArray spread = seeded.value(u"spread"_s).toArray();
    const QJsonArray names = seeded.value(u"spreadCards"_s).toArray();
    ASSERT_EQ(names.size(), 9);
    for (qsizetype i = 0; i < 9; ++i)
        EXPECT_EQ(names[i].toString(), tarot::deckCard(spread[i].toInt())->name);
}

TEST(Cli, TextAndHtmlHoldTheProgramsTexts)
{
    const QList<tarot::TarotCard> hermit = tarot::numberCards(9); // john smith's life path
    const QStringList seeded = kJohn + QStringList{u"--seed"_s, u"42"_s};
    QStringList spreadCards;
    for (const QJsonValue &card : object(cli(seeded).out).value(u"spreadCards"_s).toArray())
        spreadCards.append(card.toString());
    ASSERT_EQ(spreadCards.size(), 9);
    // The four small programs' subjects, their texts looked up in the tables
    // the windows read.
    const QStringList daily{u"daily"_s, u"--day"_s, u"23"_s, u"--month"_s, u"June"_s, u"--today"_s, u"2025-12-09"_s};
    const qint16 dayNumber = daily::dailyNumber(u"23", u"June", QDate(2025, 12, 9));
    const astrology::FadicProfile *eight = astrology::fadicProfile(8); // 15 May 1986
    ASSERT_TRUE(eight);
    const runes::RuneRow *sarah = runes::runeRow(runes::runesNumber(u"SARAH JONES"));
    ASSERT_TRUE(sarah);
    const tantric::TantricNumbers august = tantric::tantricNumbers(15, 8, 1975);
    const numpro::ReadingTexts &marriageTexts = numpro::readingTexts(u"marriageVibration");
    const struct
    {
        const char *what;
        QStringList arguments;
        QStringList present; // in this order
        QStringList absent;
        bool coloured = true;
    } rows[] = {
        {"numerology", kMary, {u"Name: MARY ANN SMITH"_s, u"Your LifePath Number is: 22"_s,
                               u"Your Rational Thought Number is: 9"_s},
         {u"Marriage Vibration"_s}},
        {"numerology, married", kMary + QStringList{u"--married"_s, u"2001-06-16"_s},
         {u"Your LifePath Number is: 22"_s, u"Your Marriage Vibration Number is: 7"_s,
          marriageTexts.table.text(7).section(u"\r\n"_s, 0, 0), u"Your Destiny Number is: 11"_s},
         {}},
        {"compatibility", kMaryAndJohn + QStringList{u"--married"_s, u"2001-06-16"_s},
         {u"MARY ANN SMITH and JOHN DOE"_s, u"LifePath Numbers: 22 and 9"_s, numpro::pairParagraph(22, 9),
          numpro::pairParagraph(11, 8), u"Soul Urge Numbers: 11 and 8"_s, numpro::pairParagraph(11, 8),
          u"Your Marriage Vibration Number is: 7"_s, u"Married on June 16, 2001"_s,
          marriageTexts.table.text(7).section(u"\r\n"_s, 0, 0)},
         {u"Marrying on"_s}},
        {"compatibility, a wedding to come",
         kMaryAndJohn + QStringList{u"--married"_s, u"2001-06-16"_s, u"--today"_s, u"2001-06-15"_s},
         {u"Your Marriage Vibration Number is: 7"_s, u"Marrying on June 16, 2001"_s},
         {u"Married on"_s}},
        {"tarot without a spread", kJohn,
         {u"Name: JOHN SMITH"_s, u"Date of Birth: 15 March 1980"_s, u"Tarot & Life Path Number"_s,
          hermit[0].name, hermit[0].description, hermit[0].keywords, u"Tarot & Destiny Number"_s},
         {u"Numerology Spread"_s, u"Position 1"_s}},
        {"tarot with the seed's spread", seeded,
         {u"Tarot & Destiny Number"_s, u"Numerology Spread"_s, u"Position 1"_s, tarot::positionMeaning(1),
          spreadCards[0], u"Position 9"_s, spreadCards[8]},
         {}},
        {"daily", daily,
         {u"23 June"_s, QString::number(dayNumber), daily::dailyWord(dayNumber), daily::dailyText(dayNumber)},
         {}},
        {"astrology", {u"astrology"_s, u"--born"_s, u"1986-05-15"_s},
         {u"May 15, 1986"_s, u"Fadic Number: 8"_s, eight->fadicText, eight->planet, eight->planetText, eight->sign,
          eight->signText},
         {},
         false},
        {"runes", {u"runes"_s, u"--name"_s, u"sarah jones"_s},
         {u"SARAH JONES"_s, u"Numerology: 11"_s, runes::significanceText(), sarah->numberText.section(u"\r\n"_s, 0, 0),
          sarah->rune, sarah->keywords, sarah->text.section(u"\r\n"_s, 0, 0)},
         {},
         false},
        {"tantric", {u"tantric"_s, u"--born"_s, u"1975-08-15"_s},
         {u"15 August 1975"_s, tantric::tantricText(tantric::Table::Path, august.path),
          tantric::tantricText(tantric::Table::Karma, august.karma)},
         {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        for (const QString &format : {u"text"_s, u"html"_s}) {
            SCOPED_TRACE(format.toStdString());
            const Result r = cli(row.arguments + QStringList{u"--format"_s, format});
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
            // The page's text: its tags left out and its characters unescaped.
            static const QRegularExpression tag(u"<[^>]*>"_s);
            const QString shown = format == u"text"_s ? r.out
                                                     : QString(r.out).remove(tag)
                                                           .replace(u"&lt;"_s, u"<"_s)
                                                           .replace(u"&gt;"_s, u">"_s)
                                                           .replace(u"&quot;"_s, u"\""_s)
                                                           .replace(u"&#39;"_s, u"'"_s)
                                                           .replace(u"&amp;"_s, u"&"_s);
            qsizetype at = 0;
            for (const QString &text : row.present) {
                const qsizetype found = shown.indexOf(text, at);
                EXPECT_GE(found, at) << text.toStdString();
                at = std::max(at, found);
            }
            for (const QString &text : row.absent)
                EXPECT_FALSE(r.out.contains(text)) << text.toStdString();
            if (format == u"text"_s) {
                EXPECT_FALSE(r.out.contains(u'<'));
                continue;
            }
            // One page that needs nothing from elsewhere, its formats kept.
            QXmlStreamReader xml(r.out.section(u'\n', 1)); // after the doctype line
            bool bold = false, coloured = false;
            while (!xml.atEnd()) {
                xml.readNext();
                if (!xml.isStartElement())
                    continue;
                bold = bold || xml.name() == u"b";
                coloured = coloured || xml.attributes().value(u"style"_s).contains(u"color:#"_s);
                EXPECT_NE(xml.name(), u"link");
                EXPECT_NE(xml.name(), u"script");
                EXPECT_NE(xml.name(), u"img");
                EXPECT_FALSE(xml.attributes().hasAttribute(u"src"_s));
                const QStringView href = xml.attributes().value(u"href"_s);
                EXPECT_TRUE(href.isEmpty() || href.startsWith(u"https://") || href.startsWith(u"http://")
                            || href.startsWith(u"mailto:"))
                    << href.toString().toStdString();
            }
            EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
            EXPECT_FALSE(r.out.contains(u"url("_s));
            EXPECT_TRUE(bold);
            EXPECT_EQ(coloured, row.coloured);
        }
    }
}

TEST(Cli, NamesAreTakenInCapitalsUnlessKeptAsGiven)
{
    auto numerology = [](const QString &first, const QStringList &more = {}) {
        QStringList arguments = kMary;
        arguments[arguments.indexOf(u"--first"_s) + 1] = first;
        return cli(arguments + more);
    };
    const Result capitals = numerology(u"MARY"_s);
    ASSERT_EQ(capitals.status, 0);
    for (const QString &typed : {u"Mary"_s, u"mary"_s, u"mArY"_s})
        EXPECT_EQ(numerology(typed).out, capitals.out) << typed.toStdString();
    EXPECT_EQ(numerology(u"MARY"_s, {u"--keep-case"_s}).out, capitals.out);
    // Kept as given, lower-case letters count nothing.
    const QJsonObject kept = object(numerology(u"mary"_s, {u"--keep-case"_s}).out);
    const QJsonObject upper = object(capitals.out);
    EXPECT_NE(kept.value(u"destiny"_s), upper.value(u"destiny"_s));
    EXPECT_EQ(kept.value(u"destinyTotal"_s).toInt(), upper.value(u"destinyTotal"_s).toInt() - 21); // M A R Y
    EXPECT_TRUE(numerology(u"mary"_s, {u"--format"_s, u"text"_s}).out.startsWith(u"Name: MARY ANN SMITH"_s));

    for (const QString &command : {u"tarot"_s, u"runes"_s}) {
        QStringList arguments = command == u"tarot"_s ? kJohn : QStringList{u"runes"_s, u"--name"_s, u"x"_s};
        const qsizetype name = arguments.indexOf(u"--name"_s) + 1;
        arguments[name] = u"JOHN SMITH"_s;
        const QString expected = cli(arguments).out;
        for (const QString &typed : {u"John Smith"_s, u"john smith"_s}) {
            arguments[name] = typed;
            EXPECT_EQ(cli(arguments).out, expected) << command.toStdString() << " " << typed.toStdString();
        }
    }
    // The tarot document shows the name as read.
    EXPECT_TRUE(cli(kJohn + QStringList{u"--format"_s, u"text"_s}).out.startsWith(u"Name: JOHN SMITH"_s));
    EXPECT_TRUE(cli(kJohn + QStringList{u"--format"_s, u"text"_s, u"--keep-case"_s})
                    .out.startsWith(u"Name: john smith"_s));
}

TEST(Cli, MonthsInEveryWrittenForm)
{
    const struct
    {
        QString command;
        QStringList rest; // the other options
    } commands[] = {
        {u"numerology"_s, kMary.mid(1, 6) + QStringList{u"--today"_s, u"2024-03-07"_s}},
        {u"tarot"_s, {u"--name"_s, u"MARY"_s}},
        {u"astrology"_s, {}},
        {u"tantric"_s, {}},
    };
    for (const auto &command : commands) {
        SCOPED_TRACE(command.command.toStdString());
        auto run = [&](const QStringList &date) { return cli(QStringList{command.command} + command.rest + date); };
        const Result august = run({u"--month"_s, u"August"_s, u"--day"_s, u"6"_s, u"--year"_s, u"1979"_s});
        ASSERT_EQ(august.status, 0) << august.err.toStdString();
        for (const QString &month : {u"8"_s, u"08"_s, u"aug"_s, u"AUG"_s, u"august"_s, u"AUGUST"_s, u"AuGuSt"_s})
            EXPECT_EQ(run({u"--month"_s, month, u"--day"_s, u"6"_s, u"--year"_s, u"1979"_s}).out, august.out)
                << month.toStdString();
        // A day takes a leading zero as a month does.
        for (const QString &day : {u"06"_s, u"006"_s})
            EXPECT_EQ(run({u"--month"_s, u"08"_s, u"--day"_s, day, u"--year"_s, u"1979"_s}).out, august.out)
                << day.toStdString();
        for (const QString &day : {u"0"_s, u"00"_s, u"32"_s, u"032"_s, u"+6"_s, u"-6"_s, u"6.0"_s}) {
            const Result bad = run({u"--month"_s, u"August"_s, u"--day"_s, day, u"--year"_s, u"1979"_s});
            EXPECT_EQ(bad.status, 2) << day.toStdString();
            EXPECT_TRUE(bad.err.contains(u"The day must be 1 to 31, not \""_s + day + u"\""_s)) << bad.err.toStdString();
        }
        EXPECT_EQ(run({u"--born"_s, u"1979-08-06"_s}).out, august.out);
        for (const QString &month : {u"13"_s, u"Smarch"_s, u"0"_s, u"-8"_s, u"au"_s, u"8.0"_s}) {
            const Result bad = run({u"--month"_s, month, u"--day"_s, u"6"_s, u"--year"_s, u"1979"_s});
            EXPECT_EQ(bad.status, 2) << month.toStdString();
            EXPECT_TRUE(bad.err.contains(u"The month must be January to December"_s)) << bad.err.toStdString();
        }
        const Result both = run({u"--born"_s, u"1979-08-06"_s, u"--month"_s, u"August"_s});
        EXPECT_EQ(both.status, 2);
        EXPECT_TRUE(both.err.contains(u"--born gives the whole birth date; leave out --month"_s));
    }
    // The daily number uses the month and day of --born alone.
    const QStringList daily = {u"daily"_s, u"--today"_s, u"2025-12-09"_s};
    const Result june = cli(daily + QStringList{u"--day"_s, u"23"_s, u"--month"_s, u"jun"_s});
    EXPECT_EQ(object(june.out).value(u"number"_s), 5);
    EXPECT_EQ(cli(daily + QStringList{u"--born"_s, u"1960-06-23"_s}).out, june.out);
    EXPECT_EQ(cli(daily + QStringList{u"--day"_s, u"09"_s, u"--month"_s, u"06"_s}).out,
              cli(daily + QStringList{u"--day"_s, u"9"_s, u"--month"_s, u"jun"_s}).out);
    // So do a batch's day and month columns.
    const Result batch = cli({u"numerology"_s, u"--batch"_s, u"-"_s},
                             "first,middle,last,month,day,year,today\nMARY,ANN,SMITH,08,06,1979,2024-03-07\n");
    EXPECT_EQ(batch.status, 0) << batch.out.toStdString();
    EXPECT_EQ(batch.out, cli(kMary).out);
}

TEST(Cli, EveryCommandReadsABatch)
{
    const struct
    {
        const char *command;
        QByteArray csv; // a good row, a bad one, one quoted with a comma
        const char *badRow;
        QJsonObject first;  // what the good row gives (some keys)
        QJsonObject quoted; // what the quoted row gives (some keys)
    } rows[] = {
        {"numerology",
         "first,middle,last,born,today\n"
         "Mary,Ann,Smith,1979-08-06,2024-03-07\n"
         "JOHN,,DOE,1979-02-30-1,\n"
         "\"JOS\xc3\xa9, JR\",,garcia,1976-03-15,2025-01-01\n",
         "born must be a date written YYYY-MM-DD, not \"1979-02-30-1\"",
         {{u"lifePath"_s, 22}, {u"personalDay"_s, 5}},
         {{u"age"_s, 49}}},
        {"tarot",
         "name,month,day,year,seed\n"
         "john smith,mar,15,1980,\n"
         "A,March,32,1980,1\n"
         "\"Smith, John\",3,15,1980,42\n",
         "The day must be 1 to 31, not \"32\".",
         {{u"lifePath"_s, 9}, {u"destiny"_s, 8}},
         {{u"destiny"_s, 8}, {u"spread"_s, numbers({58, 49, 10, 70, 7, 44, 29, 21, 30})}}},
        {"daily",
         "day,month,today,note\n"
         "23,June,2025-12-09,\n"
         "23,Juni,2025-12-09,\n"
         "23,6,2025-12-09,\"a note, with a comma\"\n",
         "The month must be January to December",
         {{u"number"_s, 5}, {u"word"_s, u"Five"_s}},
         {{u"number"_s, 5}}},
        {"astrology",
         "born,note\n1986-05-15,\n1986/05/15,\n\"1986-05-15\",\"born in May, 1986\"\n",
         "born must be a date written YYYY-MM-DD, not \"1986/05/15\"",
         {{u"fadic"_s, 8}, {u"sign"_s, u"Capricorn"_s}},
         {{u"fadic"_s, 8}}},
        {"runes",
         "name\nSarah Jones\n\"\"\n\"Jones, Sarah\"\n",
         "Please enter name",
         {{u"total"_s, 38}, {u"rune"_s, u"Fehu"_s}},
         {{u"total"_s, 38}}},
        {"tantric",
         "month,day,year,note\nFebruary,28,1999,\nFebruary,28,2051,\n\"Feb\",\"28\",\"1999\",\"a, b\"\n",
         "The year must be 1900 to 2050, not \"2051\".",
         {{u"soul"_s, 10}, {u"path"_s, 4}},
         {{u"soul"_s, 10}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.command);
        const QString command = QString::fromLatin1(row.command);
        const Result r = cli(QStringList{command, u"--batch"_s, u"-"_s}
                                 + (command == u"tarot"_s ? QStringList{u"--seed"_s, u"7"_s} : QStringList()),
                             row.csv);
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
        for (const auto &[line, expected] : {std::pair{lines[0], row.first}, std::pair{lines[2], row.quoted}}) {
            const QJsonObject json = object(line);
            for (auto it = expected.begin(); it != expected.end(); ++it)
                EXPECT_EQ(json.value(it.key()), it.value()) << it.key().toStdString() << " " << line.toStdString();
        }
        EXPECT_EQ(object(lines[1]),
                  (QJsonObject{{u"row"_s, 2}, {u"error"_s, QString::fromUtf8(row.badRow)}}));

        // Only good rows: 0, one line each.
        const QByteArray good = row.csv.left(row.csv.indexOf('\n', row.csv.indexOf('\n') + 1) + 1);
        const Result allGood = cli({command, u"--batch"_s, u"-"_s}, good);
        EXPECT_EQ(allGood.status, 0) << allGood.err.toStdString();
        EXPECT_EQ(allGood.out.count(u'\n'), 1);
        for (auto it = row.first.begin(); it != row.first.end(); ++it)
            EXPECT_EQ(object(allGood.out).value(it.key()), it.value()) << it.key().toStdString();
        // --pretty would split a row's object over lines: refused, not ignored.
        const Result pretty = cli({command, u"--batch"_s, u"-"_s, u"--pretty"_s}, good);
        EXPECT_EQ(pretty.status, 2);
        EXPECT_TRUE(pretty.err.contains(u"--batch writes one JSON line per row; leave out --pretty"_s))
            << pretty.err.toStdString();
        EXPECT_TRUE(pretty.out.isEmpty());
    }
    // A row's seed and today, where empty, take the options'; the tarot row
    // above with no seed of its own dealt --seed 7's spread.
    const Result seven = cli(kJohn + QStringList{u"--seed"_s, u"7"_s});
    const Result batch = cli({u"tarot"_s, u"--batch"_s, u"-"_s, u"--seed"_s, u"7"_s},
                             "name,born,seed\njohn smith,1980-03-15,\n");
    EXPECT_EQ(batch.out, seven.out);
}

TEST(Cli, BatchFilesThatCannotBeReadAreUsageErrors)
{
    const struct
    {
        QStringList arguments;
        QByteArray csv;
        const char *message;
    } rows[] = {
        {{u"runes"_s, u"--batch"_s, u"/nonexistent/people.csv"_s}, {}, "cannot read /nonexistent/people.csv"},
        {{u"runes"_s, u"--batch"_s, u"-"_s}, "", "has no header row (it needs name)"},
        {{u"tarot"_s, u"--batch"_s, u"-"_s}, "name,month,day\nA,May,1\n",
         "no column \"year\" (it needs name,month,day,year or name,born and may have seed)"},
        {{u"astrology"_s, u"--batch"_s, u"-"_s}, "born,month\n1979-08-06,August\n",
         "names both \"born\" and \"month\""},
        {{u"runes"_s, u"--batch"_s, u"-"_s, u"--name"_s, u"A"_s}, "name\nA\n", "not from --name"},
        {{u"tarot"_s, u"--batch"_s, u"-"_s, u"--format"_s, u"text"_s}, "name,born\nA,1979-08-06\n",
         "--batch writes JSON lines only"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const Result r = cli(row.arguments, row.csv);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

namespace {

// A client book in a folder of its own, reached through KESTRAVA_CLIENTS as a
// user who set it would.
struct Book
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"clients.sqlite"_s);
    QProcessEnvironment environment = [this] {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(u"KESTRAVA_CLIENTS"_s, path);
        return e;
    }();

    Result run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        return cli(arguments, input, environment);
    }
    // Adds a client and gives their ID.
    qint64 add(const QStringList &options) const
    {
        const Result r = run(QStringList{u"clients"_s, u"add"_s} + options);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return object(r.out).value(u"id"_s).toInteger();
    }
};

const QStringList kMaryClient = {u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s, u"Smith"_s,
                                 u"--born"_s,  u"1979-08-06"_s, u"--email"_s, u"mary@example.org"_s};
const QStringList kJohnClient = {u"--first"_s, u"John"_s, u"--last"_s, u"Doe"_s, u"--born"_s, u"1980-03-15"_s,
                                 u"--notes"_s, u"=SUM(A1) and a \"quote\",\nsecond line"_s};

QStringList lines(const QString &out)
{
    return out.split(u'\n', Qt::SkipEmptyParts);
}

QList<qint64> ids(const QString &out)
{
    QList<qint64> list;
    for (const QString &line : lines(out))
        list.append(object(line).value(u"id"_s).toInteger());
    return list;
}

} // namespace

TEST(CliClients, AddListSearchShowRemoveAndExport)
{
    Book book;
    // Looking at a book that is not there finds no one and makes no file.
    const Result empty = book.run({u"clients"_s, u"list"_s});
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(empty.out.isEmpty());
    EXPECT_FALSE(QFile::exists(book.path));

    const Result added = book.run(QStringList{u"clients"_s, u"add"_s} + kMaryClient);
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.out.count(u'\n'), 1);
    QStringList documented = documentedKeys(u"clients"_s);
    ASSERT_EQ(documented.takeLast(), u"history"_s);
    EXPECT_EQ(topLevelKeys(added.out), documented);
    const QJsonObject mary = object(added.out);
    EXPECT_EQ(mary.value(u"first"_s), u"Mary"_s);
    EXPECT_EQ(mary.value(u"born"_s), u"1979-08-06"_s);
    EXPECT_EQ(mary.value(u"email"_s), u"mary@example.org"_s);
    EXPECT_TRUE(QDateTime::fromString(mary.value(u"added"_s).toString(), Qt::ISODate).isValid());
    const qint64 john = book.add(kJohnClient);

    // The same person again, in other capitals: not added, their line written.
    const Result again = book.run({u"clients"_s, u"add"_s, u"--first"_s, u"MARY"_s, u"--middle"_s, u"ann"_s,
                                   u"--last"_s, u"smith"_s, u"--born"_s, u"1979-08-06"_s});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(object(again.out), mary);
    EXPECT_TRUE(again.err.contains(u"already"_s)) << again.err.toStdString();

    // The book's order is by last name; a search narrows it.
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out), (QList<qint64>{john, mary.value(u"id"_s).toInteger()}));
    const struct
    {
        const char *search;
        QList<qint64> found;
    } searches[] = {{"mary", {1}}, {"1980-03-15", {john}}, {"smi", {1}}, {"nobody", {}}};
    for (const auto &row : searches) {
        SCOPED_TRACE(row.search);
        const Result r = book.run({u"clients"_s, u"list"_s, u"--search"_s, QString::fromUtf8(row.search)});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(ids(r.out), row.found);
    }

    const Result shown = book.run({u"clients"_s, u"show"_s, QString::number(john), u"--pretty"_s});
    ASSERT_EQ(shown.status, 0);
    EXPECT_EQ(topLevelKeys(shown.out), documented + QStringList{u"history"_s});
    EXPECT_EQ(object(shown.out).value(u"notes"_s), kJohnClient.last());
    EXPECT_EQ(object(shown.out).value(u"history"_s), QJsonArray());

    // Export to standard output and to a file give the same CSV; a
    // spreadsheet takes no formula from it.
    const Result exported = book.run({u"clients"_s, u"export"_s});
    ASSERT_EQ(exported.status, 0);
    const QString file = book.dir.filePath(u"book.csv"_s);
    ASSERT_EQ(book.run({u"clients"_s, u"export"_s, file}).status, 0);
    EXPECT_EQ(QString::fromUtf8(clientstest::fileBytes(file)), exported.out);
    EXPECT_EQ(book.run({u"clients"_s, u"export"_s, u"-"_s}).out, exported.out);
    EXPECT_TRUE(clientstest::fileBytes(file).startsWith("\xEF\xBB\xBF" "first,middle,last,born,now,email,phone,notes\r\n"));
    EXPECT_TRUE(exported.out.contains(u"\"'=SUM(A1)"_s)) << exported.out.toStdString();

    // Into another book and back: the same people, the notes as they were.
    Book other;
    const Result imported = other.run({u"clients"_s, u"import"_s, file});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(object(imported.out),
              (QJsonObject{{u"added"_s, 2}, {u"alreadyThere"_s, 0}, {u"refused"_s, QJsonArray()}}));
    const Result twice = other.run({u"clients"_s, u"import"_s, book.dir.path()});
    EXPECT_EQ(twice.status, 0);
    EXPECT_EQ(object(twice.out).value(u"alreadyThere"_s), 2);
    auto people = [](const QString &out) {
        QList<QJsonObject> list;
        for (const QString &line : lines(out)) {
            QJsonObject client = object(line);
            for (const char *key : {"id", "added", "changed"})
                client.remove(QString::fromLatin1(key));
            list.append(client);
        }
        return list;
    };
    EXPECT_EQ(people(other.run({u"clients"_s, u"list"_s}).out), people(book.run({u"clients"_s, u"list"_s}).out));

    // Removing writes the line the client had; the ID is then unknown.
    const Result removed = book.run({u"clients"_s, u"remove"_s, QString::number(john)});
    ASSERT_EQ(removed.status, 0);
    EXPECT_EQ(object(removed.out).value(u"id"_s).toInteger(), john);
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out), QList<qint64>{1});
    for (const QString &action : {u"show"_s, u"remove"_s}) {
        const Result gone = book.run({u"clients"_s, action, QString::number(john)});
        EXPECT_EQ(gone.status, 2);
        EXPECT_TRUE(gone.err.contains(u"no client with ID %1"_s.arg(john))) << gone.err.toStdString();
    }
}

TEST(CliFiles, ANamedPipeIsRefusedAtOnceWhereverAFileIsNamed)
{
    // A pipe no one writes to: opened as an ordinary file, it is waited on
    // for ever.  Each run is a child given a few seconds, then killed.
    Book book;
    auto fifo = [&book](const QString &name) {
        const QString file = book.dir.filePath(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        return file;
    };
    struct Door
    {
        const char *name;
        QStringList arguments;
        QString expected; // in the error output or, for an import, in its report
    };
    const QString logo = fifo(u"logo.svg"_s), batch = fifo(u"people.csv"_s), import = fifo(u"import.csv"_s),
                  reading = fifo(u"mary.num"_s);
    const QString pipe = u"is not a regular file (it is a named pipe)"_s;
    const Door doors[] = {
        {"report --logo",
         {u"report"_s, u"--first"_s, u"MARY"_s, u"--last"_s, u"SMITH"_s, u"--month"_s, u"August"_s, u"--day"_s,
          u"6"_s, u"--year"_s, u"1979"_s, u"--logo"_s, logo, u"--out"_s, book.dir.filePath(u"r.pdf"_s)},
         u"--logo: cannot read %1: it %2"_s.arg(logo, pipe)},
        {"--batch", {u"numerology"_s, u"--batch"_s, batch},
         u"cannot read %1: it %2; give - to read the batch from standard input"_s.arg(batch, pipe)},
        {"clients import of a CSV file", {u"clients"_s, u"import"_s, import}, u"it "_s + pipe},
        {"clients import of a saved reading", {u"clients"_s, u"import"_s, reading}, u"it "_s + pipe},
    };
    for (const Door &door : doors) {
        SCOPED_TRACE(door.name);
        QProcess process;
        QProcessEnvironment environment = book.environment;
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KESTRAVA_CLI), door.arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "kestrava-cli waited on the pipe";
            continue;
        }
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_NE(process.exitCode(), 0);
        EXPECT_TRUE(err.contains(door.expected) || out.contains(door.expected))
            << err.toStdString() << out.toStdString();
    }
}

TEST(CliFiles, ARowOfABinaryBatchIsQuotedOnlyInAShortPrintableExcerpt)
{
    const QByteArray junk = "\x1b[2J\x07" + QByteArray(400, 'z') + "\x01";
    const QByteArray csv = "first,middle,last,month,day,year,today,married\n"
                           "MARY,,SMITH,\"" + junk + "\",6,1979,,\n"
                           "MARY,,SMITH,August,\"" + junk + "\",1979,,\n"
                           "MARY,,SMITH,August,6,\"" + junk + "\",,\n"
                           "MARY,,SMITH,August,6,1979,\"" + junk + "\",\n"
                           "MARY,,SMITH,August,6,1979,,\"" + junk + "\"\n";
    const Result r = cli({u"numerology"_s, u"--batch"_s, u"-"_s}, csv);
    const QStringList rows = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 5) << r.out.toStdString() << r.err.toStdString();
    for (const QString &row : rows) {
        const QString error = QJsonDocument::fromJson(row.toUtf8()).object().value(u"error"_s).toString();
        SCOPED_TRACE(error.toStdString());
        EXPECT_TRUE(error.contains(u"\"\uFFFD[2J\uFFFDzzz"_s));
        EXPECT_LT(error.size(), 140);
        for (const QChar c : error)
            EXPECT_TRUE(c.isPrint() || c == u' ') << int(c.unicode());
    }
}

TEST(CliClients, ImportSaysWhatItRefused)
{
    Book book;
    const QString csv = book.dir.filePath(u"people.csv"_s);
    ASSERT_TRUE(clientstest::writeFile(csv, "first,last,born\nAda,Byron,1815-12-10\nNo,Date,1815-02-30\n"));
    const QString notes = book.dir.filePath(u"notes.txt"_s);
    ASSERT_TRUE(clientstest::writeFile(notes, "not people"));
    const Result r = book.run({u"clients"_s, u"import"_s, csv, notes, book.dir.filePath(u"missing.num"_s)});
    EXPECT_EQ(r.status, 1);
    const QJsonObject report = object(r.out);
    EXPECT_EQ(topLevelKeys(r.out), (QStringList{u"added"_s, u"alreadyThere"_s, u"refused"_s}));
    EXPECT_EQ(report.value(u"added"_s), 1);
    const QJsonArray refused = report.value(u"refused"_s).toArray();
    ASSERT_EQ(refused.size(), 3);
    EXPECT_EQ(refused[0].toObject().value(u"source"_s).toString(), csv + u", row 2"_s);
    for (const QJsonValue &item : refused) {
        EXPECT_EQ(item.toObject().keys(), (QStringList{u"reason"_s, u"source"_s}));
        EXPECT_FALSE(item.toObject().value(u"reason"_s).toString().isEmpty());
    }
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out).size(), 1);
}

TEST(CliClients, ADamagedSearchIndexFailsTheListButNotTheExportAndIsRebuilt)
{
    Book book;
    QByteArray people = "first,last,born\n";
    for (int i = 0; i < 200; ++i)
        people += "Anna" + QByteArray::number(i) + ",Smith,1980-02-" + QByteArray::number(10 + i % 18) + "\n";
    const QString csv = book.dir.filePath(u"people.csv"_s);
    ASSERT_TRUE(clientstest::writeFile(csv, people));
    ASSERT_EQ(book.run({u"clients"_s, u"import"_s, csv}).status, 0);
    // One page of the search index overwritten, as a failing disk would.
    const int page =
        clientstest::sqlValue(book.path, u"SELECT rootpage FROM sqlite_master WHERE name = 'client_search'"_s).toInt();
    const int pageSize = clientstest::sqlValue(book.path, u"PRAGMA page_size"_s).toInt();
    {
        QFile file(book.path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * pageSize));
        ASSERT_EQ(file.write(QByteArray(pageSize, '\xa5')), pageSize);
    }

    for (const QStringList &list : {QStringList{u"clients"_s, u"list"_s},
                                    QStringList{u"clients"_s, u"list"_s, u"--search"_s, u"smith"_s}}) {
        const Result r = book.run(list);
        EXPECT_EQ(r.status, 2) << list.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(u"damaged"_s)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"kestrava-cli clients rebuild-index"_s)) << r.err.toStdString();
    }
    const Result exported = book.run({u"clients"_s, u"export"_s});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out.count(u"\r\n"_s), 201);

    const Result rebuilt = book.run({u"clients"_s, u"rebuild-index"_s});
    EXPECT_EQ(rebuilt.status, 0) << rebuilt.err.toStdString();
    EXPECT_EQ(rebuilt.out, u"{\"clients\":200}\n"_s);
    const Result listed = book.run({u"clients"_s, u"list"_s});
    EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_EQ(ids(listed.out).size(), 200);
}

TEST(CliClients, EditDuplicatesAndMergeKeepEachPersonOnceWithTheirWholeHistory)
{
    Book book;
    const qint64 mary = book.add(kMaryClient);
    const qint64 marie = book.add({u"--first"_s, u"Marie"_s, u"--last"_s, u"SMÍTH"_s, u"--born"_s, u"1979-08-06"_s,
                                   u"--phone"_s, u"555 0100"_s, u"--notes"_s, u"Met at the fair."_s});
    const qint64 john = book.add(kJohnClient);
    ASSERT_EQ(book.run({u"tarot"_s, u"--client"_s, QString::number(marie), u"--seed"_s, u"3"_s}).status, 0);

    // Edit changes only what is named; a change into someone the book has
    // is refused, as adding them is: the other's line, exit status 1.
    const Result phoned = book.run({u"clients"_s, u"edit"_s, QString::number(john), u"--phone"_s, u"555 0199"_s,
                                    u"--notes"_s, u""_s});
    ASSERT_EQ(phoned.status, 0) << phoned.err.toStdString();
    EXPECT_EQ(object(phoned.out).value(u"phone"_s), u"555 0199"_s);
    EXPECT_EQ(object(phoned.out).value(u"notes"_s), u""_s);
    EXPECT_EQ(object(phoned.out).value(u"first"_s), u"John"_s);
    const QString marieBefore = book.run({u"clients"_s, u"show"_s, QString::number(marie)}).out;
    const Result copy = book.run({u"clients"_s, u"edit"_s, QString::number(marie), u"--first"_s, u"MARY"_s,
                                  u"--middle"_s, u"ann"_s, u"--last"_s, u"Smith"_s});
    EXPECT_EQ(copy.status, 1);
    EXPECT_EQ(object(copy.out).value(u"id"_s).toInteger(), mary);
    EXPECT_TRUE(copy.err.contains(u"already with ID %1"_s.arg(mary))) << copy.err.toStdString();
    EXPECT_EQ(book.run({u"clients"_s, u"show"_s, QString::number(marie)}).out, marieBefore);

    const Result pairs = book.run({u"clients"_s, u"duplicates"_s});
    ASSERT_EQ(pairs.status, 0) << pairs.err.toStdString();
    ASSERT_EQ(lines(pairs.out).size(), 1);
    EXPECT_EQ(topLevelKeys(pairs.out), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(object(pairs.out).value(u"a"_s).toObject().value(u"id"_s).toInteger(), mary);
    EXPECT_EQ(object(pairs.out).value(u"b"_s).toObject().value(u"id"_s).toInteger(), marie);

    const Result merged = book.run({u"clients"_s, u"merge"_s, QString::number(mary), QString::number(marie)});
    ASSERT_EQ(merged.status, 0) << merged.err.toStdString();
    const QJsonObject kept = object(merged.out);
    EXPECT_EQ(kept.value(u"id"_s).toInteger(), mary);
    EXPECT_EQ(kept.value(u"first"_s), u"Mary"_s);
    EXPECT_EQ(kept.value(u"email"_s), u"mary@example.org"_s);
    EXPECT_EQ(kept.value(u"phone"_s), u"555 0100"_s) << "an empty field takes the other's";
    EXPECT_EQ(kept.value(u"notes"_s), u"Met at the fair."_s);
    ASSERT_EQ(kept.value(u"history"_s).toArray().size(), 1);
    EXPECT_EQ(kept.value(u"history"_s).toArray()[0].toObject().value(u"program"_s), u"tarot"_s);
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out), (QList<qint64>{john, mary}));
    EXPECT_TRUE(book.run({u"clients"_s, u"duplicates"_s}).out.isEmpty());

    // --no-fill keeps the kept client's empty fields empty.
    const Result strict = book.run({u"clients"_s, u"merge"_s, QString::number(john), QString::number(mary),
                                    u"--no-fill"_s});
    ASSERT_EQ(strict.status, 0) << strict.err.toStdString();
    EXPECT_EQ(object(strict.out).value(u"notes"_s), u""_s);
    EXPECT_EQ(object(strict.out).value(u"email"_s), u""_s);
    EXPECT_EQ(object(strict.out).value(u"history"_s).toArray().size(), 1);
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out), QList<qint64>{john});
}

TEST(CliClients, UsageErrorsExitTwo)
{
    Book book;
    book.add(kMaryClient);
    const struct
    {
        QStringList arguments;
        const char *says;
    } rows[] = {
        {{u"clients"_s}, "name what to do"},
        {{u"clients"_s, u"tidy"_s}, "unknown action \"tidy\""},
        {{u"clients"_s, u"list"_s, u"--first"_s, u"Mary"_s}, "clients list takes no --first"},
        {{u"clients"_s, u"list"_s, u"extra"_s}, "takes no argument \"extra\""},
        {{u"clients"_s, u"show"_s}, "clients show takes ID"},
        {{u"clients"_s, u"show"_s, u"1"_s, u"2"_s}, "clients show takes ID"},
        {{u"clients"_s, u"show"_s, u"one"_s}, "a client ID is a whole number"},
        {{u"clients"_s, u"show"_s, u"7"_s}, "no client with ID 7"},
        {{u"clients"_s, u"import"_s}, "clients import takes FILE|FOLDER..."},
        {{u"clients"_s, u"add"_s, u"--first"_s, u"A"_s, u"--born"_s, u"1980-02-30"_s}, "--born must be a date"},
        {{u"clients"_s, u"add"_s, u"--born"_s, u"1980-02-03"_s}, "a first or a last name"},
        {{u"clients"_s, u"edit"_s, u"1"_s}, "name what to change"},
        {{u"clients"_s, u"edit"_s, u"1"_s, u"--born"_s, u"6.8.1979"_s}, "--born must be a date"},
        {{u"clients"_s, u"edit"_s, u"1"_s, u"--first"_s, u""_s, u"--last"_s, u" "_s}, "a first or a last name"},
        {{u"clients"_s, u"edit"_s, u"7"_s, u"--phone"_s, u"1"_s}, "no client with ID 7"},
        {{u"clients"_s, u"duplicates"_s, u"1"_s}, "takes no argument \"1\""},
        {{u"clients"_s, u"merge"_s, u"1"_s}, "clients merge takes KEEP OTHER"},
        {{u"clients"_s, u"merge"_s, u"1"_s, u"1"_s}, "two different clients"},
        {{u"clients"_s, u"merge"_s, u"1"_s, u"7"_s}, "no client with ID 7"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result r = book.run(row.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(ids(book.run({u"clients"_s, u"list"_s}).out), QList<qint64>{1});
}

TEST(CliClients, NewerAndDamagedBooksAreReportedAndLeftAsTheyWere)
{
    Book newer;
    newer.add(kMaryClient);
    clientstest::sqlValue(newer.path, u"PRAGMA user_version = %1"_s.arg(clients::kSchemaVersion + 1));
    Book damaged;
    ASSERT_TRUE(clientstest::writeFile(damaged.path, QByteArray("SQLite format 3") + QByteArray(600, '\x5a')));

    const QStringList reading = {u"numerology"_s, u"--client"_s, u"1"_s, u"--today"_s, u"2024-03-07"_s};
    const struct
    {
        const Book &book;
        QStringList arguments;
        int status;
        bool writes; // a line on standard output
    } rows[] = {
        {newer, {u"clients"_s, u"list"_s}, 0, true},
        {newer, {u"clients"_s, u"show"_s, u"1"_s}, 0, true},
        {newer, QStringList{u"clients"_s, u"add"_s} + kJohnClient, 2, false},
        {newer, {u"clients"_s, u"remove"_s, u"1"_s}, 2, false},
        {newer, {u"clients"_s, u"edit"_s, u"1"_s, u"--phone"_s, u"555 0100"_s}, 2, false},
        {newer, {u"clients"_s, u"duplicates"_s}, 0, false},
        {newer, {u"clients"_s, u"import"_s, newer.dir.path()}, 2, false},
        // The reading is made; that it could not be kept is said.
        {newer, reading, 1, true},
        {damaged, {u"clients"_s, u"list"_s}, 2, false},
        {damaged, QStringList{u"clients"_s, u"add"_s} + kJohnClient, 2, false},
        {damaged, {u"clients"_s, u"export"_s}, 2, false},
        {damaged, {u"clients"_s, u"duplicates"_s}, 2, false},
        {damaged, reading, 2, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE((row.book.path + u": "_s + row.arguments.join(u' ')).toStdString());
        const QByteArray before = clientstest::fileBytes(row.book.path);
        const Result r = row.book.run(row.arguments);
        EXPECT_EQ(r.status, row.status) << r.err.toStdString();
        EXPECT_EQ(!r.out.isEmpty(), row.writes);
        if (row.status != 0) {
            EXPECT_TRUE(r.err.contains(row.book.path)) << r.err.toStdString();
        }
        EXPECT_EQ(clientstest::fileBytes(row.book.path), before);
    }
}

TEST(CliClients, ReadingsForAClientAreTheTypedOnesAndJoinTheHistory)
{
    Book book;
    const qint64 mary = book.add(kMaryClient);
    const QString id = QString::number(mary);
    // Each command for the client, and the same reading with the client's
    // names and birth date typed.
    const QStringList names = {u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s, u"Smith"_s};
    const QStringList born = {u"--born"_s, u"1979-08-06"_s};
    const QStringList today = {u"--today"_s, u"2024-03-07"_s};
    const QStringList oneName = {u"--name"_s, u"Mary Ann Smith"_s};
    const struct
    {
        QStringList forClient;
        QStringList typed;
        const char *inputs; // the history entry's inputs
    } rows[] = {
        {QStringList{u"numerology"_s} + today, QStringList{u"numerology"_s} + names + born + today,
         R"({"first":"MARY","middle":"ANN","last":"SMITH","month":"August","day":"6","year":"1979","today":"2024-03-07"})"},
        {QStringList{u"numerology"_s, u"--married"_s, u"2001-06-16"_s} + today,
         QStringList{u"numerology"_s, u"--married"_s, u"2001-06-16"_s} + names + born + today,
         R"({"first":"MARY","middle":"ANN","last":"SMITH","month":"August","day":"6","year":"1979","today":"2024-03-07",)"
         R"("married":"2001-06-16"})"},
        {{u"tarot"_s, u"--seed"_s, u"7"_s, u"--format"_s, u"text"_s},
         QStringList{u"tarot"_s, u"--seed"_s, u"7"_s, u"--format"_s, u"text"_s} + oneName + born,
         R"({"name":"MARY ANN SMITH","month":"August","day":"6","year":"1979","seed":"7"})"},
        {QStringList{u"daily"_s} + today, QStringList{u"daily"_s} + born + today,
         R"({"month":"August","day":"6","today":"2024-03-07"})"},
        {{u"astrology"_s}, QStringList{u"astrology"_s} + born, R"({"month":"August","day":"6","year":"1979"})"},
        // A client's names are read in capitals, whatever --keep-case says.
        {{u"runes"_s, u"--keep-case"_s}, QStringList{u"runes"_s, u"--keep-case"_s} + oneName,
         R"({"name":"MARY ANN SMITH"})"},
        {{u"tantric"_s, u"--format"_s, u"html"_s}, QStringList{u"tantric"_s, u"--format"_s, u"html"_s} + born,
         R"({"month":"August","day":"6","year":"1979"})"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.forClient.join(u' ').toStdString());
        const Result forClient = book.run(row.forClient + QStringList{u"--client"_s, id});
        ASSERT_EQ(forClient.status, 0) << forClient.err.toStdString();
        const Result typed = cli(row.typed);
        ASSERT_EQ(typed.status, 0) << typed.err.toStdString();
        EXPECT_EQ(forClient.out, typed.out);
    }

    const QJsonArray history = object(book.run({u"clients"_s, u"show"_s, id}).out).value(u"history"_s).toArray();
    ASSERT_EQ(history.size(), qsizetype(std::size(rows)));
    for (qsizetype i = 0; i < history.size(); ++i) {
        SCOPED_TRACE(i);
        const QJsonObject entry = history[i].toObject();
        EXPECT_EQ(entry.value(u"program"_s).toString(), rows[i].forClient.front());
        EXPECT_LE(qAbs(QDateTime::fromString(entry.value(u"at"_s).toString(), Qt::ISODate)
                           .secsTo(QDateTime::currentDateTimeUtc())),
                  600);
        EXPECT_EQ(entry.value(u"inputs"_s).toObject(), object(QString::fromUtf8(rows[i].inputs)));
    }

    // What cannot be read for a client adds nothing to the history.
    const struct
    {
        QStringList arguments;
        const char *says;
    } refused[] = {
        {{u"numerology"_s, u"--client"_s, id, u"--first"_s, u"Ann"_s}, "not from --first"},
        {{u"tarot"_s, u"--client"_s, id, u"--born"_s, u"1980-01-01"_s}, "not from --born"},
        {{u"daily"_s, u"--client"_s, id, u"--batch"_s, u"-"_s}, "leave out --batch"},
        {{u"runes"_s, u"--client"_s, u"42"_s}, "no client with ID 42"},
        {{u"astrology"_s, u"--client"_s, u"x"_s}, "a client ID is a whole number"},
        {{u"tantric"_s, u"--client"_s, id, u"--clients"_s, book.dir.filePath(u"none.sqlite"_s)}, "no client"},
    };
    for (const auto &row : refused) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result r = book.run(row.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.says))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(book.dir.filePath(u"none.sqlite"_s)));
    EXPECT_EQ(object(book.run({u"clients"_s, u"show"_s, id}).out).value(u"history"_s).toArray().size(),
              history.size());

    // A report the suite made for the client joins the history as one.
    const QDateTime reportedAt(QDate(2024, 3, 8), QTime(9, 30), Qt::UTC);
    {
        clients::ClientBook direct(book.path);
        ASSERT_TRUE(direct.addReading(clients::ReadingEntry::report(mary, reportedAt, uR"({"first":"MARY"})"_s)));
    }
    const QJsonArray withReport =
        object(book.run({u"clients"_s, u"show"_s, id}).out).value(u"history"_s).toArray();
    ASSERT_EQ(withReport.size(), history.size() + 1);
    // Oldest first: the report is dated before the readings just made.
    const QJsonObject report = withReport.first().toObject();
    EXPECT_EQ(report.value(u"program"_s), u"report"_s);
    EXPECT_EQ(report.value(u"at"_s), u"2024-03-08T09:30:00Z"_s);
    EXPECT_EQ(report.value(u"inputs"_s).toObject(), object(uR"({"first":"MARY"})"_s));
}

namespace {

const QStringList kMaryForecast = {u"forecast"_s, u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s,
                                   u"--last"_s,   u"Smith"_s,   u"--born"_s, u"1979-08-06"_s};

QStringList dates(const QString &out)
{
    QStringList list;
    for (const QString &line : lines(out))
        list.append(object(line).value(u"date"_s).toString());
    return list;
}

} // namespace

TEST(CliForecast, StepsByDayMonthAndYearKeepingTheDayOfTheMonth)
{
    const struct
    {
        const char *by; // null: the default
        const char *from;
        const char *to;
        QStringList dates;
    } rows[] = {
        {"month", "2024-01-31", "2024-06-30",
         {u"2024-01-31"_s, u"2024-02-29"_s, u"2024-03-31"_s, u"2024-04-30"_s, u"2024-05-31"_s, u"2024-06-30"_s}},
        {nullptr, "2023-11-30", "2024-03-29", {u"2023-11-30"_s, u"2023-12-30"_s, u"2024-01-30"_s, u"2024-02-29"_s}},
        {"year", "2024-02-29", "2028-02-29",
         {u"2024-02-29"_s, u"2025-02-28"_s, u"2026-02-28"_s, u"2027-02-28"_s, u"2028-02-29"_s}},
        {"day", "2023-12-30", "2024-01-02", {u"2023-12-30"_s, u"2023-12-31"_s, u"2024-01-01"_s, u"2024-01-02"_s}},
        {"day", "2024-03-07", "2024-03-07", {u"2024-03-07"_s}},
    };
    const QStringList documented = documentedKeys(u"forecast"_s);
    for (const auto &row : rows) {
        QStringList arguments = kMaryForecast + QStringList{u"--from"_s, QString::fromLatin1(row.from), u"--to"_s,
                                                            QString::fromLatin1(row.to)};
        if (row.by)
            arguments += {u"--by"_s, QString::fromLatin1(row.by)};
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Result r = cli(arguments);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(dates(r.out), row.dates);
        for (const QString &line : lines(r.out))
            EXPECT_EQ(topLevelKeys(line), documented);
    }
    // Without --from and --to: today and the same day each month for a year.
    const Result year = cli(kMaryForecast);
    ASSERT_EQ(year.status, 0);
    const QStringList got = dates(year.out);
    ASSERT_EQ(got.size(), 13);
    EXPECT_EQ(got.front(), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(got.back(), QDate::currentDate().addYears(1).toString(Qt::ISODate));
}

TEST(CliForecast, EachLineIsWhatTheReadingsSayWithItsDateAsToday)
{
    const QStringList subject = {u"--first"_s, u"Mary"_s, u"--middle"_s, u"Ann"_s, u"--last"_s, u"Smith"_s,
                                 u"--born"_s,  u"1979-08-06"_s};
    // Dates around a birth year, a pinnacle's turn and a leap day.
    const struct
    {
        const char *by;
        const char *from;
        const char *to;
    } ranges[] = {{"year", "1978-08-06", "2030-08-06"}, {"month", "2011-11-30", "2012-03-31"},
                  {"day", "2024-02-27", "2024-03-02"}};
    for (const auto &range : ranges) {
        SCOPED_TRACE(range.from);
        const Result forecast = cli(QStringList{u"forecast"_s} + subject
                                    + QStringList{u"--by"_s, QString::fromLatin1(range.by), u"--from"_s,
                                                  QString::fromLatin1(range.from), u"--to"_s,
                                                  QString::fromLatin1(range.to)});
        ASSERT_EQ(forecast.status, 0) << forecast.err.toStdString();
        const QStringList all = lines(forecast.out);
        ASSERT_GE(all.size(), 5);
        // A few lines of each range, the first and last among them.
        for (qsizetype i = 0; i < all.size(); i += std::max<qsizetype>(1, all.size() / 6)) {
            for (const qsizetype at : {i, all.size() - 1}) {
                const QJsonObject line = object(all[at]);
                const QString date = line.value(u"date"_s).toString();
                SCOPED_TRACE(date.toStdString());
                const QJsonObject reading = object(cli(QStringList{u"numerology"_s} + subject
                                                       + QStringList{u"--today"_s, date})
                                                       .out);
                for (const char *key : {"age", "personalYear", "personalMonth", "personalDay", "essence",
                                        "transits", "currentPeriod"})
                    EXPECT_EQ(line.value(QString::fromLatin1(key)), reading.value(QString::fromLatin1(key))) << key;
                for (const char *kind : {"pinnacle", "challenge"}) {
                    const QJsonObject inForce = line.value(QString::fromLatin1(kind)).toObject();
                    const int position = inForce.value(u"position"_s).toInt();
                    const QJsonArray numbers = reading.value(QString::fromLatin1(kind) + u"s"_s).toArray();
                    if (reading.value(u"age"_s).toInt() < 0) {
                        EXPECT_EQ(position, 0) << kind;
                        continue;
                    }
                    ASSERT_GE(position, 1) << kind;
                    ASSERT_LE(position, 4) << kind;
                    EXPECT_EQ(inForce.value(u"number"_s), numbers[position - 1]) << kind;
                }
            }
        }
    }
}

TEST(CliForecast, DocumentsClientsAndUsageErrors)
{
    const QStringList range = {u"--from"_s, u"2024-03-07"_s, u"--to"_s, u"2025-01-02"_s};
    const Result text = cli(kMaryForecast + range + QStringList{u"--format"_s, u"text"_s});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(u"2024"_s) && text.out.contains(u"2025"_s));
    EXPECT_FALSE(text.out.contains(u"2026"_s));
    EXPECT_TRUE(text.out.contains(u"MARY ANN SMITH"_s));
    const Result html = cli(kMaryForecast + range + QStringList{u"--format"_s, u"html"_s});
    ASSERT_EQ(html.status, 0);
    EXPECT_TRUE(html.out.contains(u"<title>Variduzeda Vad forecast: MARY ANN SMITH</title>"_s))
        << html.out.left(400).toStdString();

    // For a client: the same lines as typed, and nothing in the history.
    Book book;
    const QString id = QString::number(book.add(kMaryClient));
    const Result forClient = book.run(QStringList{u"forecast"_s, u"--client"_s, id} + range);
    ASSERT_EQ(forClient.status, 0) << forClient.err.toStdString();
    EXPECT_EQ(forClient.out, cli(kMaryForecast + range).out);
    EXPECT_EQ(object(book.run({u"clients"_s, u"show"_s, id}).out).value(u"history"_s).toArray().size(), 0);

    const struct
    {
        QStringList extra;
        const char *says;
    } rows[] = {
        {{u"--from"_s, u"2025-01-01"_s, u"--to"_s, u"2024-12-31"_s}, "--from 2025-01-01 comes after --to 2024-12-31"},
        {{u"--from"_s, u"2025-1-1"_s}, "--from must be a date written YYYY-MM-DD"},
        {{u"--to"_s, u"2025-02-30"_s}, "--to must be a date written YYYY-MM-DD"},
        {{u"--by"_s, u"week"_s}, "--by must be day, month or year"},
        {{u"--client"_s, u"1"_s}, "not from --first"},
        {{u"--today"_s, u"2024-01-01"_s}, "Unknown option 'today'"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.extra.join(u' ').toStdString());
        const Result r = cli(kMaryForecast + row.extra);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

namespace {

struct Person
{
    QString first, middle, last, born;
};

QStringList personOptions(const QString &prefix, const Person &person)
{
    QStringList options = {u"--"_s + prefix + u"-first"_s, person.first, u"--"_s + prefix + u"-last"_s, person.last,
                           u"--"_s + prefix + u"-born"_s, person.born};
    if (!person.middle.isEmpty())
        options << u"--"_s + prefix + u"-middle"_s << person.middle;
    return options;
}

// The person as the input window would hold them.
numpro::ReadingInputs personInputs(const Person &person, bool keepCase)
{
    const QDate born = QDate::fromString(person.born, Qt::ISODate);
    auto name = [keepCase](const QString &text) { return keepCase ? text : text.toUpper(); };
    return {name(person.first),
            name(person.middle),
            name(person.last),
            kestrava::monthNames()[born.month() - 1],
            QString::number(born.day()),
            QString::number(born.year()),
            QDate(2024, 3, 7)};
}

// The text of the object `key` holds in a compact JSON object's text.
QString memberText(const QString &json, const QString &key)
{
    const qsizetype start = json.indexOf(u'"' + key + u"\":{"_s);
    if (start < 0)
        return {};
    const qsizetype open = start + key.size() + 3;
    int depth = 0;
    for (qsizetype i = open; i < json.size(); ++i) {
        depth += json[i] == u'{' ? 1 : json[i] == u'}' ? -1 : 0;
        if (depth == 0)
            return json.mid(open, i - open + 1);
    }
    return {};
}

} // namespace

TEST(CliCompatibility, JsonIsTheCoresPairInEitherOrder)
{
    const Person mary{u"Mary"_s, u"Ann"_s, u"Smith"_s, u"1979-08-06"_s};
    const Person john{u"John"_s, {}, u"Doe"_s, u"1980-03-15"_s};
    const Person lower{u"mary"_s, {}, u"smith"_s, u"1979-08-06"_s}; // no letter counts with --keep-case
    const Person alice{u"Alice"_s, u"Jane"_s, u"Brown"_s, u"1965-12-31"_s};
    const struct
    {
        const char *what;
        Person a, b;
        bool keepCase = false;
        QDate married = {};
    } rows[] = {
        {"master numbers against plain ones", mary, john},
        {"married", alice, john, false, QDate(2001, 6, 16)},
        {"the first and last marriage years", mary, alice, false, QDate(1900, 1, 1)},
        {"", john, alice, false, QDate(2100, 12, 31)},
        {"a name without letters: zeros and pairs without a rating", lower, john, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QStringList extra;
        if (row.keepCase)
            extra << u"--keep-case"_s;
        if (row.married.isValid())
            extra << u"--married"_s << row.married.toString(Qt::ISODate);
        const Result r = cli(QStringList{u"compatibility"_s} + personOptions(u"a"_s, row.a) + personOptions(u"b"_s, row.b)
                             + extra);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.count(u'\n'), 1);

        const numpro::Compatibility core = numpro::computeCompatibility(
            personInputs(row.a, row.keepCase), personInputs(row.b, row.keepCase), row.married);
        const QJsonObject expected = numpro::compatibilityToJson(core);
        const QJsonObject json = object(r.out);
        EXPECT_EQ(json.value(u"a"_s).toObject(), expected.value(u"first"_s).toObject());
        EXPECT_EQ(json.value(u"b"_s).toObject(), expected.value(u"second"_s).toObject());
        const QJsonArray expectedPairs = expected.value(u"pairs"_s).toArray();
        const QJsonObject pairs = json.value(u"pairs"_s).toObject();
        ASSERT_EQ(pairs.size(), expectedPairs.size());
        for (const QJsonValue &pair : expectedPairs) {
            const QJsonObject written = pairs.value(pair[u"key"_s].toString()).toObject();
            EXPECT_EQ(written.value(u"numbers"_s), pair[u"numbers"_s]) << pair[u"key"_s].toString().toStdString();
            EXPECT_EQ(written.value(u"rating"_s), pair[u"rating"_s]) << pair[u"key"_s].toString().toStdString();
            EXPECT_TRUE(written.contains(u"rating"_s));
        }
        EXPECT_EQ(json.value(u"marriageVibration"_s), expected.value(u"marriageVibration"_s));
        if (row.married.isValid())
            EXPECT_EQ(json.value(u"marriageVibration"_s).toInt(), numpro::marriageVibrationNumber(row.married));
        else
            EXPECT_FALSE(json.contains(u"marriageVibration"_s));

        // Keys in their documented order, the numbers as numerology names them.
        QStringList keys{u"a"_s, u"b"_s, u"pairs"_s};
        if (row.married.isValid())
            keys << u"marriageVibration"_s;
        EXPECT_EQ(topLevelKeys(r.out), keys);
        const QStringList numberKeys = {u"lifePath"_s,    u"destiny"_s,  u"soulUrge"_s,
                                        u"innerDreams"_s, u"birthDay"_s, u"maturity"_s};
        EXPECT_EQ(topLevelKeys(memberText(r.out, u"a"_s)), numberKeys);
        EXPECT_EQ(topLevelKeys(memberText(r.out, u"b"_s)), numberKeys);
        EXPECT_EQ(topLevelKeys(memberText(r.out, u"pairs"_s)),
                  (QStringList{u"lifePath"_s, u"destiny"_s, u"soulUrge"_s}));
        const Result numerology = cli(QStringList{u"numerology"_s, u"--first"_s, row.a.first, u"--middle"_s,
                                                  row.a.middle, u"--last"_s, row.a.last, u"--born"_s, row.a.born}
                                      + (row.keepCase ? QStringList{u"--keep-case"_s} : QStringList()));
        const QJsonObject own = object(numerology.out);
        for (const QString &key : numberKeys)
            EXPECT_EQ(json[u"a"_s][key], own.value(key)) << key.toStdString();

        // The other way round: a and b change places, the pairs' numbers
        // turn round, and the ratings stay.
        const Result swapped = cli(QStringList{u"compatibility"_s} + personOptions(u"a"_s, row.b)
                                   + personOptions(u"b"_s, row.a) + extra);
        ASSERT_EQ(swapped.status, 0) << swapped.err.toStdString();
        const QJsonObject other = object(swapped.out);
        EXPECT_EQ(other.value(u"a"_s), json.value(u"b"_s));
        EXPECT_EQ(other.value(u"b"_s), json.value(u"a"_s));
        EXPECT_EQ(other.value(u"marriageVibration"_s), json.value(u"marriageVibration"_s));
        for (const QString &key : pairs.keys()) {
            const QJsonObject there = other[u"pairs"_s][key].toObject();
            const QJsonArray numbers = pairs[key][u"numbers"_s].toArray();
            EXPECT_EQ(there.value(u"numbers"_s).toArray(), (QJsonArray{numbers[1], numbers[0]})) << key.toStdString();
            EXPECT_EQ(there.value(u"rating"_s), pairs[key][u"rating"_s]) << key.toStdString();
        }
    }
    // A rating is null only where a number has none (the name without letters).
    const QJsonObject noLetters = object(cli(QStringList{u"compatibility"_s, u"--keep-case"_s}
                                             + personOptions(u"a"_s, lower) + personOptions(u"b"_s, john)).out);
    EXPECT_TRUE(noLetters[u"pairs"_s][u"destiny"_s][u"rating"_s].isNull());
    EXPECT_EQ(noLetters[u"pairs"_s][u"destiny"_s][u"numbers"_s][0].toInt(), 0);
    EXPECT_TRUE(noLetters[u"pairs"_s][u"lifePath"_s][u"rating"_s].isString());
}

TEST(CliCompatibility, NamesInCapitalsAndThePageTitleNamesBoth)
{
    const Result lower = cli({u"compatibility"_s, u"--a-first"_s, u"mary"_s, u"--a-middle"_s, u"ann"_s,
                              u"--a-last"_s, u"smith"_s, u"--a-born"_s, u"1979-08-06"_s, u"--b-first"_s,
                              u"john"_s, u"--b-last"_s, u"doe"_s, u"--b-born"_s, u"1980-03-15"_s});
    ASSERT_EQ(lower.status, 0) << lower.err.toStdString();
    EXPECT_EQ(lower.out, cli(kMaryAndJohn).out);
    const Result html = cli(kMaryAndJohn + QStringList{u"--format"_s, u"html"_s});
    ASSERT_EQ(html.status, 0) << html.err.toStdString();
    EXPECT_TRUE(html.out.contains(u"<title>Variduzeda Vad compatibility: MARY ANN SMITH and JOHN DOE</title>"_s))
        << html.out.left(400).toStdString();
}

TEST(CliCompatibility, UsageErrorsSayWhatIsWrongAndExitTwo)
{
    auto with = [](const QString &option, const QString &value) {
        QStringList arguments = kMaryAndJohn;
        arguments[arguments.indexOf(option) + 1] = value;
        return arguments;
    };
    QStringList withoutLast = kMaryAndJohn;
    withoutLast.remove(withoutLast.indexOf(u"--b-last"_s), 2);
    const struct
    {
        QStringList arguments;
        const char *message;
    } rows[] = {
        {withoutLast, "--b-last is missing"},
        {kMaryAndJohn + QStringList{u"--married"_s, u"2101-01-01"_s},
         "--married must be a date written YYYY-MM-DD from 1900 to 2100, not \"2101-01-01\""},
        {kMaryAndJohn + QStringList{u"--married"_s, u"1899-12-31"_s}, "--married must be a date written"},
        {kMaryAndJohn + QStringList{u"--married"_s, u"2001-02-29"_s}, "--married must be a date written"},
        {kMaryAndJohn + QStringList{u"--married"_s, u"16.6.2001"_s}, "--married must be a date written"},
        {with(u"--a-born"_s, u"1979-8-6"_s), "--a-born must be a date written YYYY-MM-DD, not \"1979-8-6\""},
        {with(u"--b-born"_s, u"1980-02-30-1"_s), "--b-born must be a date written YYYY-MM-DD"},
        {with(u"--a-born"_s, u"1899-08-06"_s), "the first person: The year must be 1900 to 2050, not \"1899\"."},
        {with(u"--b-born"_s, u"1980-13-15"_s),
         "the second person: The month must be January to December, not \"13\"."},
        {with(u"--b-first"_s, u""_s), "the second person: Please Enter Your First Name"},
        {kMaryAndJohn + QStringList{u"--batch"_s, u"pairs.csv"_s}, "it takes no --batch file"},
        {kMaryAndJohn + QStringList{u"--format"_s, u"xml"_s}, "--format must be json, text or html"},
        {kMaryAndJohn + QStringList{u"--first"_s, u"Mary"_s}, "Unknown option 'first'"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const Result r = cli(row.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliCompatibility, EitherPersonMayBeAClientAndEachClientGetsTheReadingInTheirHistory)
{
    Book book;
    // The book keeps names as written; the readings take them in capitals.
    const QString mary = QString::number(book.add(kMaryClient));
    const QString john = QString::number(book.add(kJohnClient));
    const QStringList typedMary = {u"--a-first"_s, u"MARY"_s, u"--a-middle"_s, u"ANN"_s, u"--a-last"_s,
                                   u"SMITH"_s,     u"--a-born"_s, u"1979-08-06"_s};
    const QStringList typedJohn = {u"--b-first"_s, u"JOHN"_s, u"--b-last"_s, u"DOE"_s, u"--b-born"_s,
                                   u"1980-03-15"_s};
    const QStringList married = {u"--married"_s, u"2001-06-16"_s};
    const QString maryEntry = uR"({"first":"MARY","middle":"ANN","last":"SMITH","month":"August","day":"6",)"
                              uR"("year":"1979","reading":"compatibility","partner":{"first":"JOHN","middle":"",)"
                              uR"("last":"DOE","month":"March","day":"15","year":"1980"}%1})"_s;
    const QString johnEntry = uR"({"first":"JOHN","middle":"","last":"DOE","month":"March","day":"15",)"
                              uR"("year":"1980","reading":"compatibility","partner":{"first":"MARY","middle":"ANN",)"
                              uR"("last":"SMITH","month":"August","day":"6","year":"1979"}%1})"_s;
    const QString marriedKey = uR"(,"married":"2001-06-16")"_s;
    const struct
    {
        const char *what;
        QStringList arguments;
        QStringList sameAs; // the typed options that read the same
        QStringList maryGets, johnGets; // the history entries' inputs
    } rows[] = {
        {"both from the book, married", QStringList{u"--a-client"_s, mary, u"--b-client"_s, john} + married,
         typedMary + typedJohn + married, {maryEntry.arg(marriedKey)}, {johnEntry.arg(marriedKey)}},
        {"the first from the book", QStringList{u"--a-client"_s, mary} + typedJohn, typedMary + typedJohn,
         {maryEntry.arg(QString())}, {}},
        // A client's names are capitals even where typed names keep their case.
        {"the second from the book, typed case kept",
         QStringList{u"--keep-case"_s, u"--b-client"_s, john} + typedMary + married,
         QStringList{u"--keep-case"_s} + typedMary + typedJohn + married, {}, {johnEntry.arg(marriedKey)}},
        {"the same client on both sides: one entry", {u"--a-client"_s, john, u"--b-client"_s, john},
         QStringList{u"--a-first"_s, u"JOHN"_s, u"--a-last"_s, u"DOE"_s, u"--a-born"_s, u"1980-03-15"_s}
             + typedJohn,
         {},
         {uR"({"first":"JOHN","middle":"","last":"DOE","month":"March","day":"15","year":"1980",)"
          uR"("reading":"compatibility","partner":{"first":"JOHN","middle":"","last":"DOE","month":"March",)"
          uR"("day":"15","year":"1980"}})"_s}},
    };
    QList<QJsonObject> maryExpected, johnExpected;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        for (const QString &format : {u"json"_s, u"text"_s}) {
            const QStringList asked = QStringList{u"compatibility"_s, u"--format"_s, format};
            const Result forClients = book.run(asked + row.arguments);
            ASSERT_EQ(forClients.status, 0) << forClients.err.toStdString();
            const Result typed = cli(asked + row.sameAs);
            ASSERT_EQ(typed.status, 0) << typed.err.toStdString();
            EXPECT_EQ(forClients.out, typed.out);
            for (const QString &entry : row.maryGets)
                maryExpected.append(object(entry));
            for (const QString &entry : row.johnGets)
                johnExpected.append(object(entry));
        }
    }
    const auto historyOf = [&book](const QString &id) {
        QList<QJsonObject> entries;
        for (const QJsonValue &entry :
             object(book.run({u"clients"_s, u"show"_s, id}).out).value(u"history"_s).toArray()) {
            EXPECT_EQ(entry[u"program"_s].toString(), u"numerology"_s);
            entries.append(entry[u"inputs"_s].toObject());
        }
        return entries;
    };
    EXPECT_EQ(historyOf(mary), maryExpected);
    EXPECT_EQ(historyOf(john), johnExpected);

    // What cannot be read for the clients adds nothing to either history.
    const struct
    {
        QStringList arguments;
        QString says;
    } refused[] = {
        {{u"--a-client"_s, u"42"_s, u"--b-client"_s, john},
         u"the client book %1 has no client with ID 42"_s.arg(book.path)},
        {QStringList{u"--b-client"_s, u"0"_s} + typedMary, u"a client ID is a whole number from 1, not \"0\""_s},
        {{u"--a-client"_s, mary, u"--b-client"_s, john, u"--clients"_s, book.dir.filePath(u"none.sqlite"_s)},
         u"has no client with ID"_s},
        {QStringList{u"--a-client"_s, mary, u"--a-middle"_s, u"Jo"_s} + typedJohn,
         u"--a-client takes the first person's names and birth date from the client book, not from --a-middle"_s},
        {QStringList{u"--b-client"_s, john, u"--b-born"_s, u"1980-03-15"_s} + typedMary,
         u"--b-client takes the second person's names and birth date from the client book, not from --b-born"_s},
        {{u"--a-client"_s, mary, u"--b-first"_s, u"John"_s}, u"--b-last is missing"_s},
        {{u"--a-client"_s, mary}, u"--b-client ID takes the second person from the client book instead"_s},
    };
    for (const auto &row : refused) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result r = book.run(QStringList{u"compatibility"_s} + row.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(row.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(book.dir.filePath(u"none.sqlite"_s)));
    EXPECT_EQ(historyOf(mary).size(), maryExpected.size());
    EXPECT_EQ(historyOf(john).size(), johnExpected.size());
}

TEST(CliCompatibility, NumerologyMarriedAddsTheMarriageVibration)
{
    const Result plain = cli(kMary);
    const Result married = cli(kMary + QStringList{u"--married"_s, u"2001-06-16"_s});
    ASSERT_EQ(married.status, 0) << married.err.toStdString();
    const QJsonObject json = object(married.out);
    EXPECT_EQ(json.value(u"marriageVibration"_s).toInt(), numpro::marriageVibrationNumber(QDate(2001, 6, 16)));
    EXPECT_EQ(json.value(u"marriageDate"_s).toString(), u"2001-06-16"_s);
    // Nothing else changes, and without a date nothing is added.
    QJsonObject rest = json;
    rest.remove(u"marriageVibration"_s);
    rest.remove(u"marriageDate"_s);
    EXPECT_EQ(rest, object(plain.out));
    EXPECT_FALSE(plain.out.contains(u"marriage"_s));
    // After the life path, as the document has it.
    const QStringList keys = topLevelKeys(married.out);
    EXPECT_EQ(keys.indexOf(u"marriageVibration"_s), keys.indexOf(u"dayDigitSum"_s) + 1);

    const Result bad = cli(kMary + QStringList{u"--married"_s, u"2101-01-01"_s});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains(u"--married must be a date written YYYY-MM-DD from 1900 to 2100"_s));

    // A batch's married column: empty for none, a bad date fails its row only.
    const QByteArray csv = "first,middle,last,born,today,married\n"
                           "Mary,Ann,Smith,1979-08-06,2024-03-07,2001-06-16\n"
                           "Mary,Ann,Smith,1979-08-06,2024-03-07,\n"
                           "Mary,Ann,Smith,1979-08-06,2024-03-07,2001-6-16\n";
    const Result batch = cli({u"numerology"_s, u"--batch"_s, u"-"_s}, csv);
    EXPECT_EQ(batch.status, 1);
    const QStringList lines = batch.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << batch.out.toStdString();
    EXPECT_EQ(object(lines[0]), json);
    EXPECT_EQ(object(lines[1]), object(plain.out));
    EXPECT_EQ(object(lines[2]).value(u"error"_s).toString(),
              u"married must be a date written YYYY-MM-DD from 1900 to 2100, not \"2001-6-16\""_s);
}

TEST(Cli, BatchOfManyRowsComesOutInInputOrder)
{
    // Enough rows, some of them long, for many chunks shared among the
    // workers; every 97th row has a month no list holds.
    const QStringList months = kestrava::monthNames();
    QByteArray csv = "first,middle,last,month,day,year,today\n";
    QList<QByteArray> expected;
    for (int i = 1; i <= 3000; ++i) {
        const QString first = QString(1 + i % 9, QChar(u'A' + i % 26)) + QString::number(i);
        const QString middle = i % 2 ? QString() : QString(i % 500 == 0 ? 40000 : 3, QChar(u'Z' - i % 26));
        const QString last = u"SMITH"_s + QChar(u'A' + i / 26 % 26);
        const QString month = i % 97 == 0 ? u"Smarch"_s : months[i % 12];
        const QString day = QString::number(1 + i % 28), year = QString::number(1900 + i % 151);
        csv += (QStringList{first, middle, last, month, day, year}.join(u',') + u",2024-03-07\n"_s).toUtf8();
        if (i % 97 == 0) {
            expected << "{\"row\":" + QByteArray::number(i)
                            + ",\"error\":\"The month must be January to December, not \\\"Smarch\\\".\"}";
        } else {
            numpro::ResultState state;
            numpro::computeAllReadings({first, middle, last, month, day, year, QDate(2024, 3, 7)}, state);
            expected << numpro::valuesToJsonText(state);
        }
    }
    const Result r = cli({u"numerology"_s, u"--batch"_s, u"-"_s}, csv);
    EXPECT_EQ(r.status, 1);
    const QList<QByteArray> lines = r.out.toUtf8().split('\n');
    ASSERT_EQ(lines.size(), expected.size() + 1); // the last line ends too
    EXPECT_TRUE(lines.back().isEmpty());
    for (qsizetype i = 0; i < expected.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "row " << i + 1;
}

TEST(Cli, EveryCommandsHelpListsOnlyOptionsItTakes)
{
    // Run where nothing a command might write or open can matter.
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KESTRAVA_CLIENTS"_s, dir.filePath(u"clients.sqlite"_s));
    environment.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(KESTRAVA_CLI), arguments);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return Result{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                      QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
    };
    static const QRegularExpression optionLine(u"^  (?:-\\w, )?--([a-z-]+)( <)?"_s,
                                               QRegularExpression::MultilineOption);
    for (const char *name : {"numerology", "compatibility", "tarot", "daily", "astrology", "runes", "tantric",
                             "forecast", "timeline", "report", "clients"}) {
        SCOPED_TRACE(name);
        const QString command = QString::fromLatin1(name);
        const Result help = run({command, u"--help"_s});
        EXPECT_EQ(help.status, 0) << help.err.toStdString();
        EXPECT_EQ(run({command, u"-h"_s}).out, help.out);
        EXPECT_FALSE(help.out.contains(u"--help-all"_s)) << help.out.toStdString();
        const Result helpAll = run({command, u"--help-all"_s});
        EXPECT_EQ(helpAll.status, 2);
        EXPECT_TRUE(helpAll.err.contains(u"Unknown option 'help-all'"_s)) << helpAll.err.toStdString();

        // Every option the help lists is one the command takes: given all at
        // once, each with a value where it takes one, none is unknown (the
        // command then refuses them together, as a usage error).
        QStringList everyOption;
        for (const auto &match : optionLine.globalMatch(help.out.section(u"\nOptions:\n"_s, 1))) {
            if (match.captured(1) == u"help"_s)
                continue;
            everyOption << u"--"_s + match.captured(1);
            if (!match.captured(2).isEmpty())
                everyOption << u"1"_s;
        }
        EXPECT_GE(everyOption.size(), 3) << help.out.toStdString();
        const Result all = run(QStringList{command} + everyOption);
        EXPECT_EQ(all.status, 2);
        EXPECT_FALSE(all.err.contains(u"Unknown option"_s)) << all.err.toStdString();
    }
}

TEST(Cli, BatchSaysWhereAQuoteIsNeverClosedAndReadsTheRowsAfterIt)
{
    const QJsonObject john{{u"lifePath"_s, 9}, {u"destiny"_s, 8}};
    const QJsonObject jane{{u"lifePath"_s, 9}, {u"destiny"_s, 5}};
    const QJsonObject mary{{u"lifePath"_s, 22}, {u"destiny"_s, 11}};
    auto error = [](int row, const QString &message) {
        return QJsonObject{{u"row"_s, row}, {u"error"_s, message}};
    };
    const QString neverClosed = u"a quote opened here is never closed"_s;
    const struct
    {
        const char *label;
        QByteArray rows; // after the header row
        QList<QJsonObject> lines; // an error line whole, a reading's by some keys
    } cases[] = {
        {"a stray quote before a good row", "\"Mary,Ann,Smith,1979-08-06,\nJohn,,Doe,1980-03-15,\n",
         {error(1, neverClosed), john}},
        {"the same with CR LF", "\"Mary,Ann,Smith,1979-08-06,\r\nJohn,,Doe,1980-03-15,\r\n",
         {error(1, neverClosed), john}},
        {"a later quoted field does not close it",
         "\"Mary,Ann,Smith,1979-08-06,\nJohn,,Doe,1980-03-15,\n\"Jane\",,Roe,1980-03-15,\"a, note\"\n",
         {error(1, neverClosed), john, jane}},
        {"in the last row, without a line end", "John,,Doe,1980-03-15,\n\"Mary,Ann,Smith,1979-08-06",
         {john, error(2, neverClosed)}},
        {"a quoted note over two lines is one row", "Mary,Ann,Smith,1979-08-06,\"first line\nsecond line\"\n"
                                                    "John,,Doe,1980-03-15,\nBad,,Row,1979-13-01,\n",
         {mary, john, error(3, u"The month must be January to December, not \"13\"."_s)}},
        {"a stray quote closed where a field ends names the lines it joined",
         "\"Mary,Ann,Smith,1979-08-06,\nJohn,,Doe,1980-03-15,\"\nJane,,Roe,1980-03-15,\n",
         {error(1, u"The row has 1 field; the header names 5 (lines 2 to 3 of the input, joined by a quoted "
                   "field)."_s),
          jane}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        const Result r = cli({u"numerology"_s, u"--batch"_s, u"-"_s, u"--today"_s, u"2024-03-07"_s},
                             "first,middle,last,born,note\n" + c.rows);
        const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), c.lines.size()) << r.out.toStdString();
        bool anyError = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QJsonObject line = object(lines[i]);
            if (c.lines[i].contains(u"error"_s)) {
                anyError = true;
                EXPECT_EQ(line, c.lines[i]) << lines[i].toStdString();
                continue;
            }
            for (auto it = c.lines[i].begin(); it != c.lines[i].end(); ++it)
                EXPECT_EQ(line.value(it.key()), it.value()) << lines[i].toStdString();
        }
        EXPECT_EQ(r.status, anyError ? 1 : 0) << r.err.toStdString();
    }

    const Result header = cli({u"runes"_s, u"--batch"_s, u"-"_s}, "\"name\nSarah Jones\n");
    EXPECT_EQ(header.status, 2);
    EXPECT_TRUE(header.err.contains(u"a quote opened in the header row is never closed"_s)) << header.err.toStdString();
    EXPECT_TRUE(header.out.isEmpty());
}

TEST(Cli, BatchAnswersEachRowBeforeTheInputEnds)
{
    QProcess process;
    process.start(QStringLiteral(KESTRAVA_CLI),
                  {u"numerology"_s, u"--batch"_s, u"-"_s, u"--today"_s, u"2024-03-07"_s});
    ASSERT_TRUE(process.waitForStarted());
    // The next line of output; empty when none comes (the batch waits for
    // the end of its input).
    auto nextLine = [&process] {
        while (!process.canReadLine() && process.state() == QProcess::Running && process.waitForReadyRead(30000)) {
        }
        return process.readLine().toStdString();
    };
    process.write("first,middle,last,born\nMARY,ANN,SMITH,1979-08-06\n");
    EXPECT_EQ(nextLine(), cli(kMary).out.toStdString());
    process.write("JOHN,,DOE,1979-13-06\n");
    EXPECT_EQ(nextLine(), "{\"row\":2,\"error\":\"The month must be January to December, not \\\"13\\\".\"}\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAll().isEmpty());
}

TEST(Cli, BatchEndsQuietlyWhenItsReaderHasGone)
{
    // kestrava-cli ... | head -n 1, its input still open and more rows
    // waiting: it ends, whether a closed pipe stops it by the signal or, with
    // the signal ignored, by the failed write, and says nothing.
    QByteArray rows = "first,middle,last,born\n";
    for (int i = 0; i < 20000; ++i)
        rows += "JOHN,,DOE,1980-03-15\n";
    const struct
    {
        const char *signal;
        const char *status; // as sh reports it
    } cases[] = {{"--default-signal=PIPE", "141"}, {"--ignore-signal=PIPE", "1"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.signal);
        QTemporaryDir dir;
        QProcess shell;
        shell.start(u"sh"_s, {u"-c"_s,
                              u"{ env %1 \"$0\" numerology --batch - 2>\"$1/err\"; echo $? >\"$1/status\"; } "
                              "| head -n 1 >\"$1/out\""_s.arg(QLatin1StringView(c.signal)),
                              QStringLiteral(KESTRAVA_CLI), dir.path()});
        ASSERT_TRUE(shell.waitForStarted());
        shell.write(rows);
        ASSERT_TRUE(shell.waitForFinished(60000)); // before its input was closed
        auto contents = [&dir](const char *name) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
        };
        EXPECT_EQ(contents("status"), QByteArray(c.status) + "\n");
        EXPECT_EQ(contents("err"), QByteArray());
        EXPECT_TRUE(contents("out").startsWith("{\"lifePath\":9,")) << contents("out").toStdString();
        shell.kill();
        shell.waitForFinished();
    }
}

TEST(CliClients, ASearchMatchingMostOfALargeBookListsEveryMatchClosestFirst)
{
    // More matches than SQLite takes values in one statement: a search that
    // gathered them into one list of numbers found no one at all.
    constexpr int kMany = 33000;
    Book book;
    qint64 john = 0;
    {
        clients::ClientBook direct(book.path);
        QList<clients::ImportCandidate> people;
        for (int i = 0; i < kMany; ++i)
            people.append({clientstest::person(u"ANNA %1"_s.arg(i), {}, u"BLACK"_s, QDate(1900, 1, 1).addDays(i)), {}});
        for (int i = 0; i < 5; ++i)
            people.append({clientstest::person(u"JOHN"_s, {}, u"DOE"_s, QDate(1990, 1, 1 + i)), {}});
        people.append({clientstest::person(u"A"_s, {}, u"LEE"_s, QDate(1970, 5, 5)), {}});
        ASSERT_TRUE(direct.addMany(people, clientstest::kNow));
        john = direct.search(u"john 1990-01-03"_s, 1).value(0).id;
        // Found by this reading's words only ("Virer Ovuvudavov", the tarot
        // program): after everyone found by name.
        ASSERT_TRUE(direct.addReading(
            {0, john, kestrava::ProgramId::Tarot, clientstest::kNow, uR"({"name":"JOHN DOE","seed":"7"})"_s}));
    }
    const Result r = book.run({u"clients"_s, u"list"_s, u"--search"_s, u"a"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList found = lines(r.out);
    ASSERT_EQ(found.size(), kMany + 2);
    EXPECT_EQ(object(found.first()).value(u"last"_s), u"LEE"_s) << "a whole name first";
    EXPECT_EQ(object(found.last()).value(u"id"_s).toInteger(), john) << "found by the history last";
    QSet<qint64> distinct;
    for (const QString &line : found)
        distinct.insert(object(line).value(u"id"_s).toInteger());
    EXPECT_EQ(distinct.size(), kMany + 2) << "no one twice";
    // The same clients in the same order as the library's own search.
    clients::ClientBook direct(book.path);
    const QList<clients::Client> all = direct.search(u"a"_s, -1);
    ASSERT_EQ(all.size(), found.size());
    for (qsizetype i = 0; i < all.size(); i += 997)
        EXPECT_EQ(object(found[i]).value(u"id"_s).toInteger(), all[i].id) << i;

    // The history in words, for a person to read.
    const Result words = book.run({u"clients"_s, u"show"_s, QString::number(john), u"--words"_s});
    ASSERT_EQ(words.status, 0) << words.err.toStdString();
    EXPECT_EQ(lines(words.out),
              (QStringList{u"JOHN DOE (client %1), born 3 January 1990"_s.arg(john),
                           u"2024-03-07 10:00  %1: JOHN DOE; seed 7"_s.arg(
                               kestrava::programName(kestrava::ProgramId::Tarot))}));
}
