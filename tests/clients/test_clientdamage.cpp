#include "clients/clientcsv.h"
#include "clients/clientimport.h"
#include "clients/clientbooktest.h"
#include "numpro/files/numfile.h"
#include "tarot/tarotdocument.h"

#include <QDir>

using namespace clients;
using namespace clientstest;
using namespace Qt::StringLiterals;

#include <QCryptographicHash>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}


constexpr int kClients = 400;

// A book of kClients clients, each with one reading, closed so that all of
// it is in the file itself.
void makeBook(const QString &path)
{
    ClientBook book(path);
    QList<ImportCandidate> candidates;
    for (int i = 0; i < kClients; ++i)
        candidates.append({person(u"Anna%1"_s.arg(i), u""_s, u"Smith%1"_s.arg(i), QDate(1980, 1, 1).addDays(i)),
                           u"made"_s});
    ASSERT_TRUE(book.addMany(candidates, kNow));
    ASSERT_TRUE(book.addReading({0, 7, kestrava::ProgramId::Tarot, kNow, u"Saved as: /tmp/lighthouse.tnm"_s}));
}

// Overwrites the first page of the table or index `name` with garbage, as a
// failing disk would.
void damage(const QString &path, const QString &name)
{
    const int page = sqlValue(path, u"SELECT rootpage FROM sqlite_master WHERE name = '%1'"_s.arg(name)).toInt();
    const int pageSize = sqlValue(path, u"PRAGMA page_size"_s).toInt();
    ASSERT_GT(page, 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(qint64(page - 1) * pageSize));
    ASSERT_EQ(file.write(QByteArray(pageSize, '\xa5')), pageSize);
}

} // namespace

TEST_F(ClientBookTest, ADamagedSearchIndexIsReportedLosesNoClientAndIsRebuilt)
{
    makeBook(bookPath());
    damage(bookPath(), u"client_search"_s);

    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    // The list and the search read the index: they say so rather than look empty.
    EXPECT_LT(book.list(0, -1).size(), kClients);
    const kestrava::MaybeFailure listed = book.forEachMatch(QString(), [](const Client &) { return true; });
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->reason, u"the client book is damaged"_s);
    EXPECT_TRUE(book.damageMet());

    // The export reads the clients themselves.
    QList<qint64> ids;
    EXPECT_FALSE(book.forEachClient([&ids](const Client &c) {
        ids.append(c.id);
        return true;
    }));
    ASSERT_EQ(ids.size(), kClients);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));

    const Result<int> rebuilt = book.rebuildSearchIndex();
    ASSERT_TRUE(rebuilt) << rebuilt.failure().reason.toStdString();
    EXPECT_EQ(*rebuilt, kClients);
    EXPECT_FALSE(book.damageMet());
    EXPECT_EQ(book.list(0, -1).size(), kClients);
    // The history words come back with the names.
    const QList<Client> byHistory = book.search(u"lighthouse"_s, -1);
    ASSERT_EQ(byHistory.size(), 1);
    EXPECT_EQ(byHistory.front().id, 7);
    EXPECT_EQ(book.search(u"smith399"_s, 10).size(), 1);
    // Changes go on as before, and the file is sound again.
    EXPECT_TRUE(book.remove(7));
    EXPECT_TRUE(book.search(u"lighthouse"_s, -1).isEmpty());
    EXPECT_TRUE(book.add(person(u"Zoe"_s, u""_s, u"Young"_s, QDate(1990, 5, 5)), kNow));
    EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);

    ClientBook again(bookPath());
    EXPECT_EQ(again.list(0, -1).size(), kClients);
    EXPECT_FALSE(again.damageMet());
}

TEST_F(ClientBookTest, DamagedClientsAreReportedAndTheSearchIndexIsNotRebuiltFromPartOfThem)
{
    makeBook(bookPath());
    damage(bookPath(), u"clients"_s);
    const QByteArray before = fileHash(bookPath());

    // The clients themselves are damaged: the book is refused as damaged
    // when it opens, nothing is read as if it were all, and nothing is
    // rebuilt from part of it.
    ClientBook book(bookPath());
    EXPECT_FALSE(book.isReadable());
    ASSERT_TRUE(book.problem());
    EXPECT_EQ(book.problem()->kind, BookProblem::Kind::Damaged);
    int read = 0;
    EXPECT_TRUE(book.forEachClient([&read](const Client &) {
        ++read;
        return true;
    }));
    EXPECT_EQ(read, 0);
    EXPECT_FALSE(book.rebuildSearchIndex());
    EXPECT_EQ(fileHash(bookPath()), before) << "the file is left as it is";
}

TEST_F(ClientBookTest, AYearTheBookCannotWriteRefusesOnlyItsFileOrRow)
{
    const QString in = path(u"in"_s);
    QDir().mkpath(in);
    ASSERT_TRUE(writeFile(in + u"/far.num"_s,
                          numpro::encodeNumFile({u"FAR"_s, u""_s, u"AWAY"_s, u"August"_s, u"6"_s, u"99999"_s})));
    ASSERT_TRUE(writeFile(in + u"/mary.num"_s,
                          numpro::encodeNumFile({u"MARY"_s, u""_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s})));
    ASSERT_TRUE(writeFile(in + u"/people.csv"_s, "first,last,month,day,year\n"
                                                 "Late,Comer,May,1,99999\n"
                                                 "Early,Bird,May,1,-5\n"
                                                 "Ada,Byron,December,10,1815\n"));
    ClientBook book(bookPath());
    const ImportReport report =
        importFiles(book, {numpro::numFileKind(), tarot::tnmFileKind()}, {in}, kNow);
    ASSERT_FALSE(report.failure) << report.failure->reason.toStdString();
    EXPECT_EQ(report.added, 2);
    QStringList refused;
    for (const ImportRefusal &refusal : report.refused) {
        refused.append(QString(refusal.source).remove(in + u'/'));
        EXPECT_FALSE(refusal.reason.contains(u"NOT NULL"_s)) << refusal.reason.toStdString();
    }
    EXPECT_EQ(refused, (QStringList{u"far.num"_s, u"people.csv, row 1"_s, u"people.csv, row 2"_s}));
    EXPECT_EQ(report.refused.at(1).reason, u"the birth year must be 1 to 9999, not 99999"_s);

    // Nor can a client be added or changed to such a year.
    Client far = person(u"Far"_s, u""_s, u"Away"_s, QDate(99999, 8, 6));
    EXPECT_FALSE(book.add(far, kNow));
    Client mary = book.search(u"mary"_s, 1).value(0);
    mary.person.birthDate = QDate(-5, 1, 1);
    EXPECT_FALSE(book.edit(mary, kNow));
}

TEST_F(ClientBookTest, ManyClientsBornOneDayAreEachFoundByTheirNamesWithOneLookUp)
{
    const QDate born(1900, 1, 1);
    {
        ClientBook book(bookPath());
        QList<ImportCandidate> candidates;
        for (int i = 0; i < 3000; ++i)
            candidates.append({person(u"First%1"_s.arg(i), u""_s, u"Last%1"_s.arg(i), born), u"made"_s});
        // The same people again, in other case and with outer blanks, and
        // one who differs only by a middle name.
        candidates.append({person(u" FIRST17"_s, u""_s, u"last17 "_s, born), u"again"_s});
        candidates.append({person(u"First2999"_s, u""_s, u"LAST2999"_s, born), u"again"_s});
        candidates.append({person(u"First17"_s, u"Middle"_s, u"Last17"_s, born), u"other"_s});
        const Result<QList<CandidateOutcome>> outcomes = book.addMany(candidates, kNow);
        ASSERT_TRUE(outcomes);
        EXPECT_EQ(outcomes->count(CandidateOutcome::AlreadyThere), 2);
        EXPECT_EQ(book.count(), 3001);
    }
    // A book written before the key was kept gets it when brought forward.
    sqlValue(bookPath(), u"DROP INDEX clients_same_person"_s);
    sqlValue(bookPath(), u"ALTER TABLE clients DROP COLUMN person_key"_s);
    sqlValue(bookPath(), u"PRAGMA user_version = 4"_s);
    ClientBook book(bookPath());
    ASSERT_TRUE(book.isWritable());
    const std::optional<Client> found = book.samePerson({u"first2500"_s, u""_s, u"LAST2500"_s, born, QString()});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->person.firstName, u"First2500"_s);
    EXPECT_FALSE(book.samePerson({u"First2500"_s, u""_s, u"Last2500"_s, born.addDays(1), QString()}));
    EXPECT_FALSE(book.samePerson(found->person, found->id));

    // The look-up goes straight to the person, by the index the book was
    // brought forward with, rather than through everyone born that day.
    QString plan;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"query-plan"_s);
        db.setDatabaseName(bookPath());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(u"EXPLAIN QUERY PLAN SELECT id FROM clients c WHERE c.birth_date = '1900-01-01'"
                               " AND c.person_key = 'x' AND c.id <> 0 ORDER BY c.id LIMIT 1"_s));
        while (query.next())
            plan += query.value(3).toString() + u'\n';
    }
    QSqlDatabase::removeDatabase(u"query-plan"_s);
    EXPECT_TRUE(plan.contains(u"clients_same_person (birth_date=? AND person_key=?)"_s)) << plan.toStdString();
}

TEST_F(ClientBookTest, AnImportLargerThanAChunkIsStillOneChangeAndFindsRepeatsAcrossChunks)
{
    QByteArray csv = "first,last,born\n";
    for (int i = 0; i < 2500; ++i)
        csv += "Person" + QByteArray::number(i) + ",Many,1950-03-0" + QByteArray::number(1 + i % 9) + "\n";
    // Row 2501 repeats row 10; row 2502 opens a quote it never closes.
    csv += "person9,MANY,1950-03-01\n\"Open,Quote,1950-03-01\nAfter,Quote,1950-03-02\n";
    const QString file = path(u"many.csv"_s);
    ASSERT_TRUE(writeFile(file, csv));

    {
        // Stopped past the first chunk: the chunks already written go too.
        ClientBook book(bookPath());
        int seen = 0;
        const ImportReport stopped = importFiles(book, {}, {file}, kNow, [&seen](int done, int total) {
            EXPECT_EQ(total, -1);
            seen = done;
            return done < 1500;
        });
        ASSERT_TRUE(stopped.failure);
        EXPECT_EQ(seen, 1500);
        EXPECT_EQ(stopped.added, 0);
        EXPECT_EQ(book.count(), 0);
    }
    EXPECT_EQ(sqlValue(bookPath(), u"SELECT count(*) FROM clients"_s).toInt(), 0);

    ClientBook book(bookPath());
    const ImportReport report = importFiles(book, {}, {file}, kNow);
    ASSERT_FALSE(report.failure) << report.failure->reason.toStdString();
    EXPECT_EQ(report.added, 2501);
    EXPECT_EQ(report.alreadyThere, 1);
    ASSERT_EQ(report.refused.size(), 1);
    EXPECT_EQ(report.refused.front().source, file + u", row 2502"_s);
    EXPECT_EQ(book.count(), 2501);
    EXPECT_EQ(book.search(u"after quote"_s, 5).size(), 1);
}
