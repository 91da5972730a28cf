#include "clients/clientbooktest.h"
#include "clients/historytext.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace clients;
using namespace clientstest;

namespace {

const QDateTime kMade(QDate(2026, 12, 11), QTime(9, 30), Qt::UTC);

QStringList lastNames(const QList<Client> &list)
{
    QStringList names;
    for (const Client &c : list)
        names << c.person.lastName;
    return names;
}

} // namespace

TEST(HistoryInWords, EveryEntryReadsAsWordsWithoutKeyNames)
{
    using kestrava::ProgramId;
    const QString numerology = kestrava::programName(ProgramId::NumerologyPro);
    const struct
    {
        std::optional<ProgramId> program;
        const char *inputs;
        const char *words; // after "<program>: " or "Report: "
    } rows[] = {
        // A program's window: the names and the date lists' texts.
        {ProgramId::NumerologyPro,
         R"({"first":"MARY","middle":"ANN","last":"SMITH","month":"August","day":"6","year":"1979"})",
         "MARY ANN SMITH, 6 August 1979"},
        {ProgramId::Daily, R"({"day":"6","month":"August","today":"2026-12-11"})", "6 August, for 11 December 2026"},
        // The command line: the month as a number, today and a seed.
        {ProgramId::Tarot, R"({"name":"MARY SMITH","month":"8","day":"6","year":"1979","today":"2026-12-11","seed":"7"})",
         "MARY SMITH, 6 August 1979, for 11 December 2026; seed 7"},
        // A compatibility reading, the second person as an object or a name.
        {ProgramId::NumerologyPro,
         R"({"reading":"compatibility","first":"MARY","last":"SMITH","born":"1979-08-06",)"
         R"("partner":{"first":"JOHN","middle":"","last":"DOE","born":"1984-02-29"},"married":"2010-06-01"})",
         "MARY SMITH, 6 August 1979; compatibility with JOHN DOE, born 29 February 1984; married 1 June 2010"},
        // ... as the compatibility window and command write it.
        {ProgramId::NumerologyPro,
         R"({"first":"MARY","middle":"ANN","last":"SMITH","month":"August","day":"6","year":"1979",)"
         R"("reading":"compatibility","partner":{"first":"JOHN","middle":"","last":"DOE","month":"February",)"
         R"("day":"29","year":"1984"}})",
         "MARY ANN SMITH, 6 August 1979; compatibility with JOHN DOE, born 29 February 1984"},
        {ProgramId::NumerologyPro, R"({"reading":"compatibility","name":"MARY SMITH","partner":"JOHN DOE"})",
         "MARY SMITH; compatibility with JOHN DOE"},
        // A report leaves out its person, who is the client.
        {std::nullopt,
         R"({"first":"MARY","middle":"","last":"SMITH","born":"1979-08-06","date":"2026-12-11",)"
         R"("sections":["numerology","timeline","forecast"],"forecastFrom":2026,"forecastTo":2028,)"
         R"("file":"/home/ann/reports/mary-smith.pdf"})",
         "numerology, timeline, forecast 2026\u20132028; saved to mary-smith.pdf"},
        {std::nullopt,
         R"({"first":"MARY","last":"SMITH","born":"1979-08-06","date":"2026-12-01",)"
         R"("sections":["numerology","forecast","tarot","daily","compatibility"],"readings":["lifePath","soulUrge"],)"
         R"("forecastFrom":2027,"forecastTo":2027,"spread":[3,17,40],"day":"2026-12-02",)"
         R"("partner":{"first":"JOHN","middle":"","last":"DOE","born":"1984-02-29"},"married":"2010-06-01"})",
         "dated 1 December 2026; numerology (life path, soul urge), forecast 2027, tarot (a spread of 3 cards), "
         "daily (the number of 2 December 2026), compatibility with JOHN DOE, born 29 February 1984; married "
         "1 June 2010"},
        // Keys this version does not know, lists and objects among them.
        {ProgramId::Astrology,
         R"({"name":"MARY","houseSystem":"placidus","extras":{"deck_name":"classic","reversed":true},"cards":[3,"7"],)"
         R"("empty":""})",
         "MARY; cards 3, 7, extras (deck name classic, reversed yes), house system placidus"},
        // Saved twice; inputs that are no JSON object.
        {ProgramId::Runes, R"({"name":"MARY","file":["/tmp/mary.tnm","/tmp/mary.pdf"]})",
         "MARY; saved to mary.tnm, mary.pdf"},
        {ProgramId::Runes, "an old note", "an old note"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.inputs);
        const ReadingEntry entry{1, 1, row.program, kMade, QString::fromUtf8(row.inputs)};
        const QString heading = row.program ? kestrava::programName(*row.program) : u"Report"_s;
        EXPECT_EQ(entryHeading(entry), heading);
        EXPECT_EQ(entryDetails(entry), QString::fromUtf8(row.words));
        EXPECT_EQ(entryInWords(entry), heading + u": "_s + QString::fromUtf8(row.words));
    }
    EXPECT_EQ(entryInWords(ReadingEntry::report(1, kMade, u"{}"_s)), u"Report"_s);
    Q_UNUSED(numerology);
}

TEST(HistoryInWords, AFileIsAddedToTheInputsOnceEach)
{
    const QString once = inputsWithFile(uR"({"name":"MARY"})"_s, u"/tmp/a.num"_s);
    EXPECT_EQ(QJsonDocument::fromJson(once.toUtf8()).object().value(u"file"_s).toString(), u"/tmp/a.num"_s);
    EXPECT_EQ(inputsWithFile(once, u"/tmp/a.num"_s), once) << "the same file again changes nothing";
    const QString twice = inputsWithFile(inputsWithFile(once, u"/tmp/a.pdf"_s), u"/tmp/b.pdf"_s);
    const ReadingEntry entry{1, 1, kestrava::ProgramId::Runes, kMade, twice};
    EXPECT_EQ(entryDetails(entry), u"MARY; saved to a.num, a.pdf, b.pdf"_s);
    EXPECT_EQ(inputsWithFile(u"not json"_s, u"/tmp/a.num"_s), u"not json"_s);
}

TEST_F(ClientBookTest, TheSearchFindsClientsByTheirHistoryAfterThoseFoundByName)
{
    using kestrava::ProgramId;
    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    const Result<Client> mary = book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
    const Result<Client> john = book.add(person(u"JOHN"_s, u""_s, u"DOE"_s, QDate(1984, 2, 29)), kNow);
    const Result<Client> ann = book.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(1990, 1, 1)), kNow);
    ASSERT_TRUE(mary && john && ann);
    ASSERT_TRUE(book.addReading(ReadingEntry::report(
        mary->id, kMade,
        uR"({"sections":["forecast","compatibility"],"forecastFrom":2026,"forecastTo":2028,)"
        uR"("partner":{"first":"JOHN","last":"DOE","born":"1984-02-29"},"file":"/tmp/mary-plan.pdf"})"_s)));
    const Result<ReadingEntry> tarot =
        book.addReading({0, john->id, ProgramId::Tarot, kNow, uR"({"name":"JOHN DOE"})"_s});
    ASSERT_TRUE(tarot);

    const struct
    {
        const char *typed;
        QStringList expected;
    } rows[] = {
        {"report", {u"SMITH"_s}},
        {"forecast 2027", {}},
        {"forecast 2028", {u"SMITH"_s}},
        {"virer", {u"DOE"_s}}, // the tarot program's name
        {"2024-03", {u"DOE"_s}}, // the day the reading was made
        {"plan pdf", {u"SMITH"_s}},
        // John by his name first, then Mary by the partner in her report.
        {"doe", {u"DOE"_s, u"SMITH"_s}},
        {"mary report", {u"SMITH"_s}},
        {"ann report", {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        const QString typed = QString::fromUtf8(row.typed);
        EXPECT_EQ(lastNames(book.search(typed, 10)), row.expected);
        EXPECT_EQ(lastNames(book.search(typed, -1)), row.expected);
        QList<Client> streamed;
        EXPECT_FALSE(book.forEachMatch(typed, [&streamed](const Client &c) {
            streamed << c;
            return true;
        }));
        EXPECT_EQ(lastNames(streamed), row.expected);
    }

    // A file recorded later is found; a deletion and its undo keep the words.
    const Result<ReadingEntry> saved =
        book.setReadingInputs(tarot->id, inputsWithFile(tarot->inputs, u"/tmp/zodiacwheel.tnm"_s));
    ASSERT_TRUE(saved) << saved.failure().reason.toStdString();
    EXPECT_EQ(book.history(john->id).value(0).inputs, saved->inputs);
    EXPECT_EQ(lastNames(book.search(u"zodiacwheel"_s, 10)), QStringList{u"DOE"_s});
    EXPECT_FALSE(book.setReadingInputs(tarot->id + 100, u"{}"_s)) << "no such entry";
    const Result<DeletedClient> removed = book.remove(john->id);
    ASSERT_TRUE(removed);
    EXPECT_TRUE(book.search(u"zodiacwheel"_s, 10).isEmpty());
    ASSERT_FALSE(book.restore(*removed));
    EXPECT_EQ(lastNames(book.search(u"zodiacwheel"_s, 10)), QStringList{u"DOE"_s});

    // The stream stops when told.
    int taken = 0;
    EXPECT_FALSE(book.forEachMatch(QString(), [&taken](const Client &) { return ++taken < 2; }));
    EXPECT_EQ(taken, 2);
}

TEST_F(ClientBookTest, AnOlderBookGetsTheWordsOfItsHistory)
{
    QDir().mkpath(path(u"book"_s));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRAVA_CLIENTS_FIXTURES "/clients-v1.sqlite"), bookPath()));
    QFile::setPermissions(bookPath(), QFile::ReadOwner | QFile::WriteOwner);
    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    // Client 1 had a reading of the tarot program (2) on 7 March 2024.
    EXPECT_EQ(lastNames(book.search(u"virer 2024-03-07"_s, 10)), QStringList{u"SMITH"_s});
}

TEST_F(ClientBookTest, TheDataVersionTellsOfChangesByAnotherConnection)
{
    ClientBook watching(bookPath());
    ClientBook other(bookPath());
    const qint64 before = watching.dataVersion();
    ASSERT_TRUE(watching.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    EXPECT_EQ(watching.dataVersion(), before) << "its own change";
    ASSERT_TRUE(other.add(person(u"JOHN"_s, u""_s, u"DOE"_s, QDate(1984, 2, 29)), kNow));
    EXPECT_NE(watching.dataVersion(), before);
}

TEST_F(ClientBookTest, AMergedClientIsFoundByTheHistoryTheyTookOver)
{
    ClientBook book(bookPath());
    const Result<Client> keep = book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
    const Result<Client> other = book.add(person(u"MARIE"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
    ASSERT_TRUE(keep && other);
    // "Dudov Aduradudav" is the runes program.
    ASSERT_TRUE(book.addReading({0, other->id, kestrava::ProgramId::Runes, kNow, uR"({"name":"MARIE SMITH"})"_s}));
    ASSERT_TRUE(book.merge(keep->id, other->id, true, kNow));
    const QList<Client> found = book.search(u"dudov"_s, 10);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].id, keep->id);
}
