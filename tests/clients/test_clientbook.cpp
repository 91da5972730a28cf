#include "clients/booklocation.h"
#include "clients/clientbook.h"
#include "clients/searchtext.h"
#include "clients/clientbooktest.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

using namespace clients;
using namespace clientstest;
using namespace Qt::StringLiterals;

namespace {

QStringList lastNames(const QList<Client> &clients)
{
    QStringList names;
    for (const Client &c : clients)
        names.append(c.person.lastName);
    return names;
}

} // namespace

TEST(Person, JoinedNameLeavesOutEmptyNamesAndOuterBlanks)
{
    const struct
    {
        kestrava::Person person;
        const char *joined;
    } rows[] = {
        {{u"MARY"_s, u"ANN"_s, u"SMITH"_s, {}, {}}, "MARY ANN SMITH"},
        {{u"MARY"_s, u""_s, u"SMITH"_s, {}, {}}, "MARY SMITH"},
        {{u" MARY "_s, u"  "_s, u"SMITH "_s, {}, u"MARY JONES"_s}, "MARY SMITH"},
        {{u""_s, u""_s, u"SMITH"_s, {}, {}}, "SMITH"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.joined);
        EXPECT_EQ(row.person.joinedName(), QString::fromUtf8(row.joined));
    }
}

TEST(ClientBookPath, TheVariableWinsOverTheDataFolder)
{
    EXPECT_EQ(clientBookPath(u"/srv/book.sqlite"_s, u"/home/ann/.local/share"_s), u"/srv/book.sqlite"_s);
    EXPECT_EQ(clientBookPath(QString(), u"/home/ann/.local/share"_s),
              u"/home/ann/.local/share/kestrava/clients.sqlite"_s);
}

// The windows ask with nothing given, kestrava-cli with its --clients: a
// given file wins, then KESTRAVA_CLIENTS (when not empty), then the data folder.
TEST(ClientBookLocation, AGivenFileWinsThenTheVariableThenTheDataFolder)
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray variable = qgetenv("KESTRAVA_CLIENTS");
    qputenv("XDG_DATA_HOME", "/tmp/kestrava-location-test/data");
    const struct
    {
        const char *given;
        const char *variable; // null: not set
        const char *found;
    } rows[] = {
        {"", nullptr, "/tmp/kestrava-location-test/data/kestrava/clients.sqlite"},
        {"", "", "/tmp/kestrava-location-test/data/kestrava/clients.sqlite"},
        {"", "/srv/book.sqlite", "/srv/book.sqlite"},
        {"mine.sqlite", "/srv/book.sqlite", "mine.sqlite"},
        {"mine.sqlite", nullptr, "mine.sqlite"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.given) + " / " + (row.variable ? row.variable : "(unset)"));
        if (row.variable)
            qputenv("KESTRAVA_CLIENTS", row.variable);
        else
            qunsetenv("KESTRAVA_CLIENTS");
        EXPECT_EQ(clientBookLocation(QString::fromUtf8(row.given)), QString::fromUtf8(row.found));
    }
    auto restore = [](const char *name, const QByteArray &value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("XDG_DATA_HOME", dataHome);
    restore("KESTRAVA_CLIENTS", variable);
}

TEST_F(ClientBookTest, AddsEditsAndKeepsClientsAcrossOpenings)
{
    qint64 id = 0;
    {
        ClientBook book(bookPath());
        ASSERT_TRUE(book.isWritable()) << (book.problem() ? book.problem()->message.toStdString() : "");
        EXPECT_EQ(book.versionFound(), 0);
        Client mary = person(u" MARY"_s, u"ANN"_s, u"SMITH "_s, QDate(1979, 8, 6));
        mary.email = u" mary@example.org "_s;
        mary.notes = u"  Line one\r\nline two  "_s;
        const Result<Client> added = book.add(mary, kNow);
        ASSERT_TRUE(added) << added.failure().reason.toStdString();
        id = added->id;
        EXPECT_GT(id, 0);
        EXPECT_EQ(added->person.firstName, u"MARY"_s);
        EXPECT_EQ(added->email, u"mary@example.org"_s);
        EXPECT_EQ(added->notes, mary.notes) << "notes are kept as typed";
        EXPECT_EQ(added->added, kNow);
        EXPECT_EQ(book.client(id), added.value());

        Client edited = added.value();
        edited.person.nameNowUsed = u"MARY JONES"_s;
        edited.person.lastName = u"SMYTH"_s;
        const Result<Client> changed = book.edit(edited, kNow.addDays(1));
        ASSERT_TRUE(changed);
        EXPECT_EQ(changed->added, kNow);
        EXPECT_EQ(changed->changed, kNow.addDays(1));
        EXPECT_EQ(book.search(u"jones"_s, 10).size(), 1) << "the name now used is searched";
        EXPECT_TRUE(book.search(u"smith"_s, 10).isEmpty()) << "the old name is gone from the search";

        // What a client needs, and what cannot be changed.
        EXPECT_FALSE(book.add(person(u""_s, u"ANN"_s, u""_s, QDate(1979, 8, 6)), kNow));
        EXPECT_FALSE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate()), kNow));
        Client stranger = edited;
        stranger.id = id + 100;
        EXPECT_FALSE(book.edit(stranger, kNow));
        EXPECT_EQ(book.count(), 1);
    }
    ClientBook again(bookPath());
    EXPECT_EQ(again.versionFound(), kSchemaVersion);
    ASSERT_TRUE(again.client(id));
    EXPECT_EQ(again.client(id)->person.nameNowUsed, u"MARY JONES"_s);
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
}

TEST_F(ClientBookTest, SearchRanksWholeNamesThenStartsThenAnyPart)
{
    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    for (const Client &c : {person(u"ANNA"_s, u""_s, u"GOLDSMITH"_s, QDate(1960, 1, 2)),
                            person(u"PETER"_s, u""_s, u"SMITHSON"_s, QDate(1970, 3, 4)),
                            person(u"MARY"_s, u"ANN"_s, u"SMITH"_s, QDate(1979, 8, 6)),
                            person(u"José"_s, u""_s, u"Álvarez"_s, QDate(1985, 2, 14)),
                            person(u"Zoë"_s, u""_s, u"O'Neill-Brown"_s, QDate(1979, 8, 16)),
                            person(u"JOHN"_s, u""_s, u"DOE"_s, QDate(1990, 12, 31), u"JOHNNY SMITH"_s)}) {
        ASSERT_TRUE(book.add(c, kNow));
    }
    const struct
    {
        const char *typed;
        QStringList expected; // last names, closest first
    } rows[] = {
        // Whole words first (in the list's order), then starts, then anywhere.
        {"smith", {u"DOE"_s, u"SMITH"_s, u"SMITHSON"_s, u"GOLDSMITH"_s}},
        {"SMI", {u"DOE"_s, u"SMITH"_s, u"SMITHSON"_s, u"GOLDSMITH"_s}},
        {"mith", {u"DOE"_s, u"GOLDSMITH"_s, u"SMITH"_s, u"SMITHSON"_s}},
        {"ann", {u"SMITH"_s, u"GOLDSMITH"_s}},
        {"mary smi", {u"SMITH"_s}},
        {"smith mary", {u"SMITH"_s}},
        // Accents, case and apostrophes do not matter, either way round.
        {"jose", {u"Álvarez"_s}},
        {"ÁLVAREZ JOSÉ", {u"Álvarez"_s}},
        {"alv", {u"Álvarez"_s}},
        {"zoe oneill", {u"O'Neill-Brown"_s}},
        {"brown", {u"O'Neill-Brown"_s}},
        // The birth date, as the book writes it or D.M.YYYY.
        {"1979-08-06", {u"SMITH"_s}},
        {"6.8.1979", {u"SMITH"_s}},
        {"1979-08", {u"O'Neill-Brown"_s, u"SMITH"_s}},
        {"1979", {u"O'Neill-Brown"_s, u"SMITH"_s}},
        {"mary 1979", {u"SMITH"_s}},
        {"mary 1985", {}},
        {"nobody", {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        EXPECT_EQ(lastNames(book.search(QString::fromUtf8(row.typed), 10)), row.expected);
    }
    EXPECT_EQ(book.search(u"smith"_s, 2).size(), 2);
    EXPECT_EQ(lastNames(book.search(u"  "_s, 3)), (QStringList{u"Álvarez"_s, u"DOE"_s, u"GOLDSMITH"_s}))
        << "nothing typed gives the start of the list";
    EXPECT_EQ(lastNames(book.list(4, 10)), (QStringList{u"SMITH"_s, u"SMITHSON"_s}));

    // With hundreds of loose matches ahead of them in the list, the close
    // ones still come first.
    QList<ImportCandidate> many;
    for (int i = 0; i < 600; ++i)
        many.append({person(u"ANNA %1"_s.arg(i), u""_s, u"BLACKSMITH"_s, QDate(1960, 1, 2)), QString()});
    ASSERT_TRUE(book.addMany(many, kNow));
    EXPECT_EQ(lastNames(book.search(u"smith"_s, 4)),
              (QStringList{u"DOE"_s, u"SMITH"_s, u"SMITHSON"_s, u"BLACKSMITH"_s}));
    const QList<Client> page = book.search(u"smith"_s, 1000);
    ASSERT_EQ(page.size(), 604);
    EXPECT_EQ(page[3].person.firstName, u"ANNA 0"_s);
    EXPECT_EQ(page[603].person.lastName, u"GOLDSMITH"_s);
}

TEST_F(ClientBookTest, UndoingADeletionBringsTheClientBackWithTheirHistory)
{
    ClientBook book(bookPath());
    const Result<Client> mary = book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
    const Result<Client> john = book.add(person(u"JOHN"_s, u""_s, u"DOE"_s, QDate(1990, 12, 31)), kNow);
    ASSERT_TRUE(mary && john);
    const ReadingEntry first{0, mary->id, kestrava::ProgramId::NumerologyPro, kNow.addSecs(60), u"{\"day\":\"6\"}"_s};
    const ReadingEntry second{0, mary->id, kestrava::ProgramId::Tarot, kNow.addSecs(120), u"{}"_s};
    ASSERT_TRUE(book.addReading(second));
    ASSERT_TRUE(book.addReading(first));
    ASSERT_TRUE(book.addReading({0, john->id, kestrava::ProgramId::Runes, kNow, u"{}"_s}));
    EXPECT_FALSE(book.addReading({0, 999, kestrava::ProgramId::Runes, kNow, u"{}"_s}));
    const QList<ReadingEntry> history = book.history(mary->id);
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history[0].program, kestrava::ProgramId::NumerologyPro) << "oldest first";
    EXPECT_EQ(history[0].inputs, first.inputs);

    const Result<DeletedClient> deleted = book.remove(mary->id);
    ASSERT_TRUE(deleted);
    EXPECT_FALSE(book.client(mary->id));
    EXPECT_TRUE(book.history(mary->id).isEmpty());
    EXPECT_TRUE(book.search(u"mary"_s, 10).isEmpty());
    EXPECT_FALSE(book.remove(mary->id)) << "gone already";

    ASSERT_FALSE(book.restore(*deleted));
    EXPECT_EQ(book.client(mary->id), mary.value());
    EXPECT_EQ(book.history(mary->id), history);
    EXPECT_EQ(book.search(u"mary"_s, 10).size(), 1);
    EXPECT_TRUE(book.restore(*deleted)) << "a client cannot come back twice";
    EXPECT_EQ(book.history(john->id).size(), 1) << "another client's history is untouched";

    // A number is never given out again, so an undo cannot collide with a newcomer.
    ASSERT_TRUE(book.remove(john->id));
    const Result<Client> newcomer = book.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(2000, 1, 1)), kNow);
    ASSERT_TRUE(newcomer);
    EXPECT_GT(newcomer->id, john->id);
}

TEST_F(ClientBookTest, AVersionOneBookIsBroughtForward)
{
    const QString fixture = QStringLiteral(KESTRAVA_CLIENTS_FIXTURES "/clients-v1.sqlite");
    QDir().mkpath(path(u"book"_s));
    ASSERT_TRUE(QFile::copy(fixture, bookPath()));
    QFile::setPermissions(bookPath(), QFile::ReadOwner | QFile::WriteOwner);
    {
        ClientBook book(bookPath());
        ASSERT_TRUE(book.isWritable()) << (book.problem() ? book.problem()->message.toStdString() : "");
        EXPECT_EQ(book.versionFound(), 1);
        EXPECT_EQ(book.count(), 3);
        const QList<Client> jose = book.search(u"jose alvarez"_s, 10);
        ASSERT_EQ(jose.size(), 1) << "the search words were made for the old clients";
        EXPECT_EQ(jose[0].id, 2);
        EXPECT_EQ(jose[0].person.birthDate, QDate(1985, 2, 14));
        EXPECT_EQ(jose[0].changed, QDateTime(QDate(2024, 3, 9), QTime(16, 45), Qt::UTC));
        EXPECT_EQ(lastNames(book.list(0, 10)), (QStringList{u"Álvarez"_s, u"DOE"_s, u"SMITH"_s}));
        const std::optional<Client> mary = book.client(1);
        ASSERT_TRUE(mary);
        EXPECT_EQ(mary->email, u"mary@example.org"_s);
        EXPECT_TRUE(mary->person.nameNowUsed.isEmpty());
        EXPECT_EQ(book.history(1).size(), 2);
        const Result<Client> added = book.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(2000, 1, 1)), kNow);
        ASSERT_TRUE(added);
        EXPECT_EQ(added->id, 5) << "numbers go on after the old book's highest, even a deleted one";
    }
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA user_version"_s).toInt(), kSchemaVersion);
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
    ClientBook again(bookPath());
    EXPECT_EQ(again.versionFound(), kSchemaVersion);
    EXPECT_EQ(again.count(), 4);
}

TEST_F(ClientBookTest, AReportIsAnEntryOfTheHistoryThatNoOlderBookCouldHold)
{
    qint64 maryId = 0;
    QList<ReadingEntry> history;
    {
        ClientBook book(bookPath());
        const Result<Client> mary = book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
        ASSERT_TRUE(mary);
        maryId = mary->id;
        const ReadingEntry report = ReadingEntry::report(maryId, kNow.addSecs(120), uR"({"sections":["tarot"]})"_s);
        EXPECT_TRUE(report.isReport());
        ASSERT_TRUE(book.addReading({0, maryId, kestrava::ProgramId::Astrology, kNow.addSecs(60), u"{}"_s}));
        const Result<ReadingEntry> added = book.addReading(report);
        ASSERT_TRUE(added) << added.failure().reason.toStdString();
        EXPECT_FALSE(book.addReading(ReadingEntry::report(maryId + 1, kNow, u"{}"_s))) << "no such client";

        history = book.history(maryId);
        ASSERT_EQ(history.size(), 2);
        // Astrology is program 0: a report must not read back as it, nor it as a report.
        EXPECT_EQ(history[0].program, kestrava::ProgramId::Astrology);
        EXPECT_FALSE(history[0].isReport());
        EXPECT_TRUE(history[1].isReport());
        EXPECT_EQ(history[1].id, added->id);
        EXPECT_EQ(history[1].inputs, report.inputs);
        EXPECT_EQ(history[1].at, report.at);

        const Result<DeletedClient> deleted = book.remove(maryId);
        ASSERT_TRUE(deleted);
        EXPECT_TRUE(book.history(maryId).isEmpty());
        ASSERT_FALSE(book.restore(*deleted));
        EXPECT_EQ(book.history(maryId), history) << "the undo brings the report back too";
    }
    EXPECT_EQ(sqlValue(bookPath(), u"SELECT count(*) FROM readings WHERE program IS NULL"_s).toInt(), 1);
    ClientBook again(bookPath());
    EXPECT_EQ(again.versionFound(), kSchemaVersion);
    EXPECT_TRUE(again.isWritable());
    EXPECT_EQ(again.history(maryId), history);
}

TEST_F(ClientBookTest, AVersionTwoBookKeepsItsHistoryWhenBroughtForward)
{
    const QString fixture = QStringLiteral(KESTRAVA_CLIENTS_FIXTURES "/clients-v2.sqlite");
    QDir().mkpath(path(u"book"_s));
    ASSERT_TRUE(QFile::copy(fixture, bookPath()));
    QFile::setPermissions(bookPath(), QFile::ReadOwner | QFile::WriteOwner);
    const struct
    {
        qint64 id;
        qint64 clientId;
        kestrava::ProgramId program;
        const char *at;
    } rows[] = {
        {1, 1, kestrava::ProgramId::NumerologyPro, "2025-01-07T10:05:00Z"},
        {2, 1, kestrava::ProgramId::Tantric, "2025-01-07T10:20:00Z"},
        {6, 1, kestrava::ProgramId::Tarot, "2025-01-09T11:00:00Z"},
        {4, 3, kestrava::ProgramId::Daily, "2025-01-08T09:10:00Z"},
    };
    {
        ClientBook book(bookPath());
        ASSERT_TRUE(book.isWritable()) << (book.problem() ? book.problem()->message.toStdString() : "");
        EXPECT_EQ(book.versionFound(), 2);
        QList<ReadingEntry> entries = book.history(1) + book.history(3);
        ASSERT_EQ(entries.size(), qsizetype(std::size(rows)));
        for (qsizetype i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(entries[i].id, rows[i].id);
            EXPECT_EQ(entries[i].clientId, rows[i].clientId);
            EXPECT_EQ(entries[i].program, rows[i].program);
            EXPECT_EQ(entries[i].at, QDateTime::fromString(QString::fromUtf8(rows[i].at), Qt::ISODate));
        }
        EXPECT_EQ(book.history(1)[2].inputs,
                  uR"({"name":"MARY ANN SMITH","day":"6","month":"August","year":"1979"})"_s);
        EXPECT_EQ(book.search(u"jones"_s, 10).size(), 1) << "the search words came along";
        const Result<ReadingEntry> report = book.addReading(ReadingEntry::report(3, kNow, u"{}"_s));
        ASSERT_TRUE(report);
        EXPECT_EQ(report->id, 10) << "numbers go on after the old book's highest, even a deleted one";
        // Deleting a client still takes their history along.
        ASSERT_TRUE(book.remove(3));
    }
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA user_version"_s).toInt(), kSchemaVersion);
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
    EXPECT_FALSE(sqlValue(bookPath(), u"PRAGMA foreign_key_check"_s).isValid()) << "no entry lost its client";
    EXPECT_EQ(sqlValue(bookPath(), u"SELECT count(*) FROM readings"_s).toInt(), 3);
}

TEST_F(ClientBookTest, ANewerDamagedOrForeignFileIsReportedAndLeftAsItIs)
{
    // A real book to cut short and to mark as newer.
    const QString good = path(u"good.sqlite"_s);
    {
        ClientBook book(good);
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH %1"_s.arg(i), QDate(1979, 8, 6)), kNow));
    }
    sqlValue(good, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    sqlValue(good, u"PRAGMA journal_mode = DELETE"_s);
    const QByteArray goodBytes = fileBytes(good);
    ASSERT_GT(goodBytes.size(), 8192);

    const QString newer = path(u"newer.sqlite"_s);
    ASSERT_TRUE(QFile::copy(good, newer));
    sqlValue(newer, u"PRAGMA user_version = %1"_s.arg(kSchemaVersion + 1));
    const QString foreign = path(u"foreign.sqlite"_s);
    sqlValue(foreign, u"CREATE TABLE notes (text TEXT)"_s);

    const struct
    {
        const char *name;
        QByteArray bytes;
        BookProblem::Kind kind;
        bool readable;
        const char *says;
    } rows[] = {
        {"newer.sqlite", fileBytes(newer), BookProblem::Kind::NewerVersion, true, "newer version of Kestrava"},
        {"text.sqlite", QByteArray("first,last\nMARY,SMITH\n"), BookProblem::Kind::Damaged, false,
         "not an SQLite database"},
        {"truncated.sqlite", goodBytes.left(goodBytes.size() / 2), BookProblem::Kind::Damaged, false, "cut off"},
        {"header-only.sqlite", goodBytes.left(100), BookProblem::Kind::Damaged, false, "cut off"},
        {"foreign.sqlite", fileBytes(foreign), BookProblem::Kind::Damaged, false, "another program"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(u"case-"_s + QString::fromUtf8(row.name));
        ASSERT_TRUE(writeFile(file, row.bytes));
        {
            ClientBook book(file);
            EXPECT_FALSE(book.isWritable());
            EXPECT_EQ(book.isReadable(), row.readable);
            ASSERT_TRUE(book.problem());
            EXPECT_EQ(book.problem()->kind, row.kind);
            EXPECT_TRUE(book.problem()->message.contains(QString::fromUtf8(row.says)))
                << book.problem()->message.toStdString();
            EXPECT_TRUE(book.problem()->message.contains(file)) << "the message names the file";
            if (row.readable) {
                EXPECT_EQ(book.count(), 300);
            }
            const Result<Client> refused = book.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(2000, 1, 1)), kNow);
            ASSERT_FALSE(refused);
            EXPECT_EQ(refused.failure().reason, book.problem()->message);
        }
        EXPECT_EQ(fileBytes(file), row.bytes) << "not one byte changed";
    }
}

TEST_F(ClientBookTest, AFileItsUserMayNotWriteOpensReadOnlyAndStaysAsItIs)
{
    {
        ClientBook book(bookPath());
        ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    }
    sqlValue(bookPath(), u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    const QByteArray before = fileBytes(bookPath());
    // Everyone may read the folder and the file, no one write them.
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions readOnlyFolder = readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), readOnlyFolder);
    QFile::setPermissions(path(u"book"_s), readOnlyFolder);
    QFile::setPermissions(bookPath(), readOnly);

    // Root may write anything, so the check runs as a user without rights.
    QStringList command{QStringLiteral(KESTRAVA_CLIENTBOOK_CHILD), u"status"_s, bookPath()};
    if (geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
        ASSERT_FALSE(setpriv.isEmpty());
        command = QStringList{setpriv, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s} + command;
    }
    QProcess child;
    child.start(command.takeFirst(), command);
    ASSERT_TRUE(child.waitForFinished(30000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    QFile::setPermissions(m_dir.path(), readOnlyFolder | QFile::WriteOwner);
    QFile::setPermissions(path(u"book"_s), readOnlyFolder | QFile::WriteOwner);

    EXPECT_TRUE(output.startsWith(u"readable 1 writable 0 count 1\n"_s)) << output.toStdString();
    EXPECT_TRUE(output.contains(u"cannot be changed: there is no permission to write"_s)) << output.toStdString();
    EXPECT_EQ(fileBytes(bookPath()), before);
}

TEST_F(ClientBookTest, TwoProgramsWritingAtOnceLoseNoWrite)
{
    { ClientBook book(bookPath()); }
    QProcess writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i].start(QStringLiteral(KESTRAVA_CLIENTBOOK_CHILD),
                         {u"add"_s, bookPath(), u"WRITER%1"_s.arg(i), u"2"_s});
    int total = 0;
    for (QProcess &writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(60000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
        const QString said = QString::fromUtf8(writer.readAllStandardOutput()).trimmed();
        ASSERT_TRUE(said.startsWith(u"added "_s)) << said.toStdString();
        const int added = said.mid(6).toInt();
        EXPECT_GT(added, 10);
        total += added;
    }
    ClientBook book(bookPath());
    EXPECT_EQ(book.count(), total);
    EXPECT_EQ(book.search(u"writer0"_s, 1000000).size() + book.search(u"writer1"_s, 1000000).size(), total);
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
}

TEST_F(ClientBookTest, AChangeThatWouldMakeAClientACopyOfAnotherIsRefusedNamingThem)
{
    ClientBook book(bookPath());
    const Result<Client> mary = book.add(person(u"Mary"_s, u"Ann"_s, u"Smith"_s, QDate(1979, 8, 6)), kNow);
    const Result<Client> marie = book.add(person(u"Marie"_s, u""_s, u"Smith"_s, QDate(1979, 8, 6)), kNow);
    ASSERT_TRUE(mary && marie);

    // The same person again, in other capitals and blanks, is refused by the
    // book itself, whichever door it comes through.
    const Result<Client> again = book.add(person(u" MARY"_s, u"ann "_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow);
    ASSERT_FALSE(again);
    EXPECT_TRUE(again.failure().reason.contains(u"Mary Ann Smith, born 1979-08-06"_s))
        << again.failure().reason.toStdString();
    EXPECT_EQ(book.count(), 2);

    Client copy = marie.value();
    copy.person.firstName = u"MARY"_s;
    copy.person.middleName = u" ANN"_s;
    copy.email = u"marie@example.org"_s;
    const Result<Client> refused = book.edit(copy, kNow.addDays(1));
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.failure().reason.contains(u"Mary Ann Smith, born 1979-08-06"_s))
        << refused.failure().reason.toStdString();
    EXPECT_TRUE(refused.failure().reason.contains(u"ID %1"_s.arg(mary->id))) << refused.failure().reason.toStdString();
    EXPECT_EQ(book.client(marie->id), marie.value()) << "nothing of the change was kept";
    EXPECT_EQ(book.samePerson(copy.person, mary->id), std::nullopt) << "the other one passed over is no one";

    // A client may still change while staying who they are, and may become
    // someone the book does not have.
    Client mine = mary.value();
    mine.person.firstName = u"MARY"_s;
    mine.notes = u"Prefers mornings."_s;
    ASSERT_TRUE(book.edit(mine, kNow.addDays(1)));
    copy.person.birthDate = QDate(1979, 8, 7);
    EXPECT_TRUE(book.edit(copy, kNow.addDays(1)));
}

TEST_F(ClientBookTest, PossibleDuplicatesShareTheBirthDateAndTheLastNameAsTheSearchComparesIt)
{
    ClientBook book(bookPath());
    const QDate born(1979, 8, 6);
    const auto add = [&](const QString &first, const QString &middle, const QString &last, QDate date) {
        const Result<Client> added = book.add(person(first, middle, last, date), kNow);
        EXPECT_TRUE(added) << added.failure().reason.toStdString();
        return added ? added->id : 0;
    };
    const qint64 mary = add(u"Mary"_s, u""_s, u"SMITH"_s, born);
    const qint64 marie = add(u"Marie"_s, u""_s, u"Smíth"_s, born);         // case and accents aside
    add(u"John"_s, u""_s, u"Smith"_s, born.addDays(1));                     // another day
    add(u"Ann"_s, u""_s, u"Smithson"_s, born);                              // another name that starts alike
    add(u"Lee"_s, u""_s, u""_s, born);                                      // no last name
    const qint64 cher = add(u"Cher"_s, u""_s, u""_s, QDate(1946, 5, 20));
    const qint64 cherToo = add(u"CHÉR"_s, u"S"_s, u""_s, QDate(1946, 5, 20)); // by first name
    const qint64 ann = add(u"Ann"_s, u""_s, u"O'Neill-Doe"_s, QDate(1990, 1, 2));
    const qint64 anna = add(u"Anna"_s, u""_s, u"oneill doe"_s, QDate(1990, 1, 2));
    const qint64 annie = add(u"Annie"_s, u""_s, u"ONEILL DOE"_s, QDate(1990, 1, 2));

    QList<std::pair<qint64, qint64>> pairs;
    for (const PossibleDuplicate &pair : book.possibleDuplicates())
        pairs.append({pair.first.id, pair.second.id});
    // In the list's order of the first client; three alike give three pairs.
    const QList<std::pair<qint64, qint64>> expected = {
        {cher, cherToo}, {ann, anna}, {ann, annie}, {anna, annie}, {mary, marie}};
    EXPECT_EQ(pairs, expected);
    EXPECT_EQ(book.possibleDuplicates().front().second.person.firstName, u"CHÉR"_s) << "whole clients";
}

TEST_F(ClientBookTest, MergeKeepsOneClientWithBothHistoriesInOneChange)
{
    const struct
    {
        bool fillEmpty;
        const char *email, *phone, *notes;
    } rows[] = {
        {true, "mary@example.org", "555 0100", "Met at the fair."},
        {false, "mary@example.org", "", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.fillEmpty ? "filling empty fields" : "keeping the fields as they are");
        QTemporaryDir dir;
        ClientBook book(dir.filePath(u"clients.sqlite"_s));
        Client keepIn = person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6));
        keepIn.email = u"mary@example.org"_s;
        Client otherIn = person(u"MARIE"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6), u"MARIE JONES"_s);
        otherIn.email = u"marie@example.org"_s;
        otherIn.phone = u"555 0100"_s;
        otherIn.notes = u"Met at the fair."_s;
        const Result<Client> keep = book.add(keepIn, kNow);
        const Result<Client> other = book.add(otherIn, kNow);
        const Result<Client> bystander = book.add(person(u"JOHN"_s, u""_s, u"DOE"_s, QDate(1980, 3, 15)), kNow);
        ASSERT_TRUE(keep && other && bystander);
        ASSERT_TRUE(book.addReading({0, keep->id, kestrava::ProgramId::Tarot, kNow.addSecs(300), u"{}"_s}));
        ASSERT_TRUE(book.addReading({0, other->id, kestrava::ProgramId::Runes, kNow.addSecs(60), u"{\"a\":1}"_s}));
        ASSERT_TRUE(book.addReading(ReadingEntry::report(other->id, kNow.addSecs(600), u"{}"_s)));
        ASSERT_TRUE(book.addReading({0, bystander->id, kestrava::ProgramId::Daily, kNow, u"{}"_s}));
        const QList<ReadingEntry> otherHistory = book.history(other->id);

        // Refusals change nothing.
        EXPECT_FALSE(book.merge(keep->id, keep->id, row.fillEmpty, kNow));
        EXPECT_FALSE(book.merge(keep->id, 999, row.fillEmpty, kNow));
        EXPECT_FALSE(book.merge(999, other->id, row.fillEmpty, kNow));
        EXPECT_EQ(book.count(), 3);
        EXPECT_EQ(book.history(other->id), otherHistory);

        const QDateTime later = kNow.addDays(2);
        const Result<MergedClients> merged = book.merge(keep->id, other->id, row.fillEmpty, later);
        ASSERT_TRUE(merged) << merged.failure().reason.toStdString();
        EXPECT_EQ(merged->removed, other.value());
        EXPECT_EQ(merged->movedEntries, 2);
        const std::optional<Client> kept = book.client(keep->id);
        ASSERT_TRUE(kept);
        EXPECT_EQ(*kept, merged->kept);
        EXPECT_EQ(kept->person, keep->person) << "the kept client's names and date stay";
        EXPECT_EQ(kept->email, QString::fromUtf8(row.email));
        EXPECT_EQ(kept->phone, QString::fromUtf8(row.phone));
        EXPECT_EQ(kept->notes, QString::fromUtf8(row.notes));
        EXPECT_EQ(kept->added, kNow);
        EXPECT_EQ(kept->changed, later);

        // Both histories, in time order, with their entries as they were.
        const QList<ReadingEntry> history = book.history(keep->id);
        ASSERT_EQ(history.size(), 3);
        EXPECT_EQ(history[0].program, kestrava::ProgramId::Runes);
        EXPECT_EQ(history[0].inputs, u"{\"a\":1}"_s);
        EXPECT_EQ(history[0].id, otherHistory[0].id);
        EXPECT_EQ(history[1].program, kestrava::ProgramId::Tarot);
        EXPECT_TRUE(history[2].isReport());
        EXPECT_FALSE(book.client(other->id));
        EXPECT_TRUE(book.history(other->id).isEmpty());
        EXPECT_TRUE(book.search(u"jones"_s, 10).isEmpty()) << "the removed client is gone from the search";
        EXPECT_EQ(book.history(bystander->id).size(), 1);
        EXPECT_EQ(book.count(), 2);
        EXPECT_TRUE(book.possibleDuplicates().isEmpty());
    }
}

TEST_F(ClientBookTest, ANewBookAndItsFolderAreTheUsersAloneAndExistingOnesKeepTheirMode)
{
    const mode_t before = umask(022);
    const auto modeOf = [](const QString &path) {
        struct stat info{};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    };
    {
        // Two folders to make, as a first start in a fresh home would.
        const QString fresh = path(u"data/kestrava/clients.sqlite"_s);
        ClientBook book(fresh);
        ASSERT_TRUE(book.isWritable());
        ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
        // While the book is open SQLite keeps its -wal and -shm files beside it.
        for (const QString &file : {fresh, fresh + u"-wal"_s, fresh + u"-shm"_s}) {
            SCOPED_TRACE(file.toStdString());
            EXPECT_EQ(modeOf(file), 0600);
        }
        EXPECT_EQ(modeOf(path(u"data/kestrava"_s)), 0700);
        EXPECT_EQ(modeOf(path(u"data"_s)), 0700);
    }
    {
        // A folder and a file made as someone chose keep what they chose.
        ASSERT_TRUE(QDir().mkpath(path(u"shared"_s)));
        ASSERT_EQ(::chmod(QFile::encodeName(path(u"shared"_s)).constData(), 0755), 0);
        const QString kept = path(u"shared/clients.sqlite"_s);
        { ClientBook book(kept); }
        ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
        ClientBook book(kept);
        ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
        EXPECT_EQ(modeOf(path(u"shared"_s)), 0755);
        EXPECT_EQ(modeOf(kept), 0640);
        EXPECT_EQ(modeOf(kept + u"-wal"_s), 0640);
    }
    umask(before);
}
