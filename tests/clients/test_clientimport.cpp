#include "clients/clientcsv.h"
#include "clients/clientimport.h"
#include "clients/clientbooktest.h"
#include "common/csv.h"
#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "tarot/tarotdocument.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <csignal>

#include <sys/stat.h>

using namespace clients;
using namespace clientstest;
using namespace Qt::StringLiterals;

namespace {

// The saved readings as the suite hands them to the book.
SavedReadingKinds savedReadings()
{
    return {numpro::numFileKind(), tarot::tnmFileKind()};
}

bool writeNum(const QString &path, const numpro::ReadingSubject &subject)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFile(path, numpro::encodeNumFile(subject));
}

// A .tnm file as the tarot program saves it: name, day, month, year.
bool writeTnm(const QString &path, const QString &name, const QString &day, const QString &month, const QString &year)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFile(path, kestrava::encodeShiftedLines({name, day, month, year}));
}

QStringList refusedSources(const ImportReport &report, const QString &folder)
{
    QStringList sources;
    for (const ImportRefusal &refusal : report.refused)
        sources.append(QString(refusal.source).remove(folder + u'/'));
    return sources;
}

} // namespace

TEST_F(ClientBookTest, ImportsSavedReadingsFromFoldersOnceEach)
{
    const QString in = path(u"in"_s);
    ASSERT_TRUE(writeNum(in + u"/mary.num"_s, {u"MARY"_s, u""_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s}));
    ASSERT_TRUE(
        writeNum(in + u"/2023/john.num"_s, {u" JOHN"_s, u"PAUL"_s, u"DOE "_s, u"December"_s, u"31"_s, u"1990"_s}));
    ASSERT_TRUE(writeNum(in + u"/2023/bad-date.num"_s, {u"ANN"_s, u""_s, u"LEE"_s, u"February"_s, u"31"_s, u"1980"_s}));
    ASSERT_TRUE(writeNum(in + u"/2023/no-name.num"_s, {u""_s, u""_s, u""_s, u"March"_s, u"3"_s, u"1980"_s}));
    // The same person again (the tarot file keeps one name field), and a new one.
    ASSERT_TRUE(writeTnm(in + u"/tarot/mary.tnm"_s, u"MARY SMITH"_s, u"6"_s, u"August"_s, u"1979"_s));
    ASSERT_TRUE(writeTnm(in + u"/tarot/lynn.tnm"_s, u"LYNN ANN MARIE WYNN"_s, u"14"_s, u"May"_s, u"2001"_s));
    ASSERT_TRUE(writeFile(in + u"/people.csv"_s, "first,middle,last,month,day,year\nmary,,smith,August,6,1979\n"));
    ASSERT_TRUE(writeFile(in + u"/readme.txt"_s, "not a reading"));
    ASSERT_TRUE(writeFile(path(u"notes.txt"_s), "not a reading"));

    ClientBook book(bookPath());
    ImportReport report = importFiles(book, savedReadings(), {in, path(u"notes.txt"_s)}, kNow);
    ASSERT_FALSE(report.failure);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.alreadyThere, 2) << "MARY SMITH from the .tnm and the CSV";
    EXPECT_EQ(refusedSources(report, in),
              (QStringList{u"2023/bad-date.num"_s, u"2023/no-name.num"_s, path(u"notes.txt"_s)}));
    EXPECT_TRUE(report.refused[0].reason.contains(u"31 February 1980"_s)) << report.refused[0].reason.toStdString();

    const std::optional<Client> john = book.samePerson({u"JOHN"_s, u"PAUL"_s, u"DOE"_s, QDate(1990, 12, 31), {}});
    ASSERT_TRUE(john);
    EXPECT_EQ(john->added, kNow);
    const std::optional<Client> lynn = book.samePerson({u"LYNN"_s, u"ANN MARIE"_s, u"WYNN"_s, QDate(2001, 5, 14), {}});
    EXPECT_TRUE(lynn) << "a .tnm name: first word, last word, the rest in between";

    report = importFiles(book, savedReadings(), {in}, kNow);
    EXPECT_EQ(report.added, 0);
    EXPECT_EQ(report.alreadyThere, 5);
    EXPECT_EQ(book.count(), 3);
}

TEST(ClientCsv, ReadsTheBatchColumnsAndTheirVariants)
{
    const struct
    {
        const char *csv;
        QList<kestrava::Person> people; // rows read, in order
        QStringList problems;           // rows refused, "row: words of the reason"
    } rows[] = {
        {"first,middle,last,month,day,year,today\r\nMARY,,SMITH,August,6,1979,2024-03-07\r\n"
         "JOHN,PAUL,DOE,12,31,1990,\r\n",
         {{u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6), {}},
          {u"JOHN"_s, u"PAUL"_s, u"DOE"_s, QDate(1990, 12, 31), {}}},
         {}},
        {"\xEF\xBB\xBFname,born,now,email\nMary Ann Lee Smith,1979-08-06,Mary Jones,m@example.org\nCher,1946-05-20,,\n",
         {{u"Mary"_s, u"Ann Lee"_s, u"Smith"_s, QDate(1979, 8, 6), u"Mary Jones"_s},
          {u"Cher"_s, u""_s, u""_s, QDate(1946, 5, 20), {}}},
         {}},
        {"first,last,month,day,year\nANN,LEE,February,30,1980\nANN,LEE,Smarch,1,1980\n,,May,1,1980\n",
         {},
         {u"1: \"30 February 1980\" is no date"_s, u"2: \"1 Smarch 1980\" is no date"_s,
          u"3: a client needs a first or a last name"_s}},
        {"name,born\nMARY SMITH,6.8.1979\n", {}, {u"1: born must be a date written YYYY-MM-DD"_s}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.csv);
        const Result<QList<CsvRow>> read = peopleFromCsv(QByteArray(row.csv));
        ASSERT_TRUE(read) << read.failure().reason.toStdString();
        QList<kestrava::Person> people;
        QStringList problems;
        for (const CsvRow &r : *read) {
            if (r.client)
                people.append(r.client->person);
            else
                problems.append(u"%1: %2"_s.arg(r.number).arg(r.problem));
        }
        EXPECT_EQ(people, row.people);
        ASSERT_EQ(problems.size(), row.problems.size()) << problems.join(u"; "_s).toStdString();
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(row.problems[i])) << problems[i].toStdString();
    }
    EXPECT_FALSE(peopleFromCsv("first,middle,month,day,year\n"));
    EXPECT_FALSE(peopleFromCsv("first,last,born_on\n"));
    EXPECT_FALSE(peopleFromCsv(""));
}

TEST(ClientCsv, GuardsEveryPieceASpreadsheetCouldSplitOffAndQuotesIt)
{
    // The text, and the field the export writes for it (as notes, the last column).
    const struct
    {
        const char16_t *text;
        const char *field;
    } cases[] = {
        {u"plain words", "plain words"},
        {u"O'Neill", "O'Neill"},
        {u"hello;=1+1", "\"hello;'=1+1\""},
        {u"a; +1", "\"a; +1\""}, // a space before the sign: no formula, but quoted for the sign
        {u"a,-1", "\"a,'-1\""},
        {u"tab\t@SUM(A1)", "\"tab\t'@SUM(A1)\""},
        {u"line\r\n=A1", "\"line\r\n'=A1\""},
        {u"x;'=y", "\"x;''=y\""},
        {u"x;'plain", "\"x;'plain\""},
        {u"=A1;=B1", "\"'=A1;'=B1\""},
        {u"a;;b", "\"a;;b\""},
        {u"end;", "\"end;\""},
        {u"1-2", "\"1-2\""},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        Client client = person(u"MARY"_s, QString(), u"SMITH"_s, QDate(1979, 8, 6));
        client.notes = text;
        const QByteArray csv = clientsCsv({client});
        EXPECT_TRUE(csv.endsWith("," + QByteArray(c.field) + "\r\n")) << csv.toStdString();
        EXPECT_EQ(textFromSpreadsheetCell(spreadsheetCell(text)), text);
        const Result<QList<CsvRow>> read = peopleFromCsv(csv);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->size(), 1);
        ASSERT_TRUE(read->front().client);
        EXPECT_EQ(read->front().client->notes, text);
    }
}

TEST_F(ClientBookTest, ARefusalNeverQuotesABinaryFileWhole)
{
    // Control characters (an escape sequence would act on a terminal) and
    // long runs of bytes, in the date lines of saved readings and the date
    // fields of a CSV file.
    QByteArray noise(8 * 1024, '\0');
    QRandomGenerator random(5);
    for (char &c : noise)
        c = char(random.bounded(256));
    const QByteArray controls = "\x1b[2J\x07\x01" + QByteArray(300, '\x7f') + "\xff\xfe";
    const QString in = path(u"in"_s);
    QDir().mkpath(in);
    struct Row
    {
        const char *name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"noise.num", "MARY\r\n\r\nSMITH\r\n" + noise},
        {"noise.tnm", "MARY SMITH\r\n" + noise},
        {"controls.num", "MARY\r\n\r\nSMITH\r\n" + controls + "\r\n" + controls + "\r\n" + controls + "\r\n"},
        {"dates.csv", "first,last,month,day,year\nANN,LEE,\"" + controls + "\",1,1980\nANN,LEE,May,1,\""
                          + noise.left(500).replace('"', 'x') + "\"\n"},
        {"born.csv", "name,born\nANN LEE,\"" + controls + "\"\n"},
    };
    QStringList files;
    for (const Row &row : rows) {
        ASSERT_TRUE(writeFile(in + u'/' + QLatin1StringView(row.name), row.bytes));
        files << in + u'/' + QLatin1StringView(row.name);
    }
    ClientBook book(bookPath());
    const ImportReport report = importFiles(book, savedReadings(), files, kNow);
    EXPECT_EQ(report.added, 0);
    ASSERT_EQ(report.refused.size(), 6) << "two saved readings with noise, one with controls, three CSV rows";
    for (const ImportRefusal &refusal : report.refused) {
        SCOPED_TRACE(refusal.source.toStdString());
        EXPECT_LT(refusal.reason.size(), 120) << refusal.reason.toStdString();
        for (const QChar c : refusal.reason)
            EXPECT_TRUE(c.isPrint() || c == u' ') << "U+" << std::hex << int(c.unicode());
        EXPECT_TRUE(refusal.reason.contains(u"is no date"_s) || refusal.reason.startsWith(u"born must be"_s))
            << refusal.reason.toStdString();
    }
}

TEST_F(ClientBookTest, WhatIsNoRegularFileIsNamedForWhatItIs)
{
    const QString pipe = path(u"pipe.csv"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString readingPipe = path(u"pipe.num"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(readingPipe).constData(), 0600), 0);
    struct Row
    {
        QString file;
        QString reason;
    };
    const Row rows[] = {
        {pipe, u"it is not a regular file (it is a named pipe)"_s},
        {readingPipe, u"it is not a regular file (it is a named pipe)"_s},
        {u"/dev/null"_s, u"it is not a regular file (it is a device)"_s},
        {path(u"missing.csv"_s), u"there is no such file"_s},
    };
    ClientBook book(bookPath());
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        const ImportReport report = importFiles(book, savedReadings(), {row.file}, kNow);
        ASSERT_EQ(report.refused.size(), 1);
        EXPECT_EQ(report.refused[0].reason, row.reason);
    }
}

TEST_F(ClientBookTest, AnExportedBookImportsAsTheSameBookAndOpensSafelyInASpreadsheet)
{
    ClientBook book(bookPath());
    const QStringList awkward{u"=HYPERLINK(\"http://x\")"_s, u"+44 20 7946 0000"_s, u"-5"_s, u"@SUM(A1)"_s,
                              u"\tTabbed"_s, u"\rReturn"_s, u"'=already quoted"_s, u"''+twice"_s,
                              u"O'Neill"_s, u"'plain apostrophe"_s, u"comma, \"quoted\"\r\nand a new line"_s,
                              u"Zoë Ñúñez"_s, u"hello;=1+1"_s, u"tab\t@SUM(A1)"_s, u"line\n-2;'=3,'x"_s,
                              u"a;b\tc"_s};
    for (qsizetype i = 0; i < awkward.size(); ++i) {
        Client c = person(u"CLIENT"_s, awkward[i], u"NUMBER %1"_s.arg(i), QDate(1950, 1, 1).addDays(i * 400));
        c.notes = awkward[i];
        c.phone = awkward[(i + 1) % awkward.size()];
        c.email = u"client%1@example.org"_s.arg(i);
        c.person.nameNowUsed = i % 2 ? awkward[i] : QString();
        ASSERT_TRUE(book.add(c, kNow));
    }
    const QByteArray csv = clientsCsv(book.all());
    // No cell a spreadsheet would take for a formula, nor any piece of one a
    // spreadsheet could split off at its list separator or a line break.
    static const QRegularExpression pieces(u"[,;\t\r\n]"_s);
    for (const QStringList &row : parseCsv(csv)) {
        for (const QString &cell : row) {
            SCOPED_TRACE(cell.toStdString());
            EXPECT_FALSE(!cell.isEmpty() && QStringView(u"=+-@\t\r").contains(cell.front()));
            for (const QString &piece : cell.split(pieces))
                EXPECT_FALSE(!piece.isEmpty() && QStringView(u"=+-@").contains(piece.front())) << piece.toStdString();
        }
    }
    EXPECT_TRUE(csv.contains(",\"'=HYPERLINK(\"\"http://x\"\")\","));
    EXPECT_TRUE(csv.contains(",\"''=already quoted\","));
    EXPECT_TRUE(csv.contains(",\"hello;'=1+1\","));
    EXPECT_TRUE(csv.contains(",'plain apostrophe,")) << "an apostrophe before plain text stays one";

    ClientBook copy(path(u"copy.sqlite"_s));
    const ImportReport report = importCsv(copy, csv, u"export.csv"_s, kNow.addDays(1));
    ASSERT_FALSE(report.failure);
    EXPECT_EQ(report.added, awkward.size());
    EXPECT_TRUE(report.refused.isEmpty()) << report.refused.value(0).reason.toStdString();
    const QList<Client> before = book.all(), after = copy.all();
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(after[i].person, before[i].person);
        EXPECT_EQ(after[i].email, before[i].email);
        EXPECT_EQ(after[i].phone, before[i].phone);
        EXPECT_EQ(after[i].notes, before[i].notes);
    }
    EXPECT_EQ(clientsCsv(after), csv);
}

TEST_F(ClientBookTest, AnImportKilledHalfwayLeavesTheBookAsItWas)
{
    const QString in = path(u"in"_s);
    ASSERT_TRUE(QDir().mkpath(in));
    constexpr int kFiles = 10000;
    for (int i = 0; i < kFiles; ++i) {
        const numpro::ReadingSubject subject{u"PERSON"_s, u""_s, u"NUMBER %1"_s.arg(i), u"March"_s,
                                             QString::number(1 + i % 28), QString::number(1900 + i % 150)};
        ASSERT_TRUE(writeFile(in + u"/%1.num"_s.arg(i), numpro::encodeNumFile(subject)));
    }
    {
        ClientBook book(bookPath());
        ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    }

    QProcess child;
    child.start(QStringLiteral(KESTRAVA_CLIENTBOOK_CHILD), {u"import"_s, bookPath(), in});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray said;
    while (!said.contains("progress 5000\n")) {
        ASSERT_TRUE(child.waitForReadyRead(60000)) << said.toStdString();
        said += child.readAllStandardOutput();
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    EXPECT_EQ(book.count(), 1);
    EXPECT_TRUE(book.search(u"person"_s, 10).isEmpty());

    const ImportReport report = importFiles(book, savedReadings(), {in}, kNow);
    ASSERT_FALSE(report.failure) << report.failure->reason.toStdString();
    EXPECT_EQ(report.added, kFiles);
    EXPECT_EQ(book.count(), kFiles + 1);
}

TEST_F(ClientBookTest, AStoppedImportAddsNoOne)
{
    ClientBook book(bookPath());
    const ImportReport report =
        importCsv(book, "name,born\nMARY SMITH,1979-08-06\nJOHN DOE,1990-12-31\n", u"people.csv"_s, kNow,
                  [](int done, int) { return done < 2; });
    ASSERT_TRUE(report.failure);
    EXPECT_EQ(book.count(), 0);
}
