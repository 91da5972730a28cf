#include "clients/clientbook.h"
#include "clients/clientbooktest.h"
#include "clients/schema.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <unistd.h>

using namespace clients;
using namespace clientstest;
using namespace Qt::StringLiterals;

namespace {

QByteArray sha256(const QString &path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
}

QString problemOf(const ClientBook &book)
{
    return book.problem() ? book.problem()->message : QString();
}

// Runs the child program on the book, as a user without rights where the
// tests run as root (who may write anything); gives what it printed.
QString childStatus(const QString &book)
{
    QStringList command{QStringLiteral(KESTRAVA_CLIENTBOOK_CHILD), u"status"_s, book};
    if (geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
        if (setpriv.isEmpty())
            return u"no setpriv"_s;
        command = QStringList{setpriv, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s} + command;
    }
    QProcess child;
    child.start(command.takeFirst(), command);
    if (!child.waitForFinished(30000))
        return u"the child did not finish"_s;
    return QString::fromUtf8(child.readAllStandardOutput());
}

// A book whose newest changes are still in its WAL file, as a writer killed
// before copying them into the book leaves it: the book and its -wal are
// copied while the writer still has them open.  `extra` clients are in the
// WAL only.
void leaveChangesInWal(const QString &scratch, const QString &target, int extra)
{
    ClientBook book(scratch);
    ASSERT_TRUE(book.isWritable()) << problemOf(book).toStdString();
    ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    // Copies everything so far into the book file itself.
    sqlValue(scratch, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    QList<ImportCandidate> people;
    for (int i = 0; i < extra; ++i)
        people.append({person(u"ANN"_s, u""_s, u"LEE %1"_s.arg(i), QDate(1990, 1, 1 + i % 28)), u"test"_s});
    ASSERT_TRUE(book.addMany(people, kNow));
    ASSERT_GT(QFileInfo(scratch + u"-wal"_s).size(), 0);
    QDir().mkpath(QFileInfo(target).absolutePath());
    ASSERT_TRUE(writeFile(target, fileBytes(scratch)));
    ASSERT_TRUE(writeFile(target + u"-wal"_s, fileBytes(scratch + u"-wal"_s)));
}

// A small RAM disk; unmounted again at the end.
class FullDisk
{
public:
    explicit FullDisk(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=1m"_s, u"tmpfs"_s, folder}) == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute(u"umount"_s, {m_folder});
    }
    bool mounted() const { return m_mounted; }
    // Writes until the disk takes no byte more.
    void fill() const
    {
        QFile filler(m_folder + u"/filler"_s);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }
    void makeRoom() const { QFile::remove(m_folder + u"/filler"_s); }

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace

TEST_F(ClientBookTest, AnUnknownVersionOrAnotherProgramsDatabaseIsRefusedUntouched)
{
    const QString good = path(u"good.sqlite"_s);
    {
        ClientBook book(good);
        ASSERT_TRUE(book.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    }
    sqlValue(good, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    sqlValue(good, u"PRAGMA journal_mode = DELETE"_s);
    ASSERT_EQ(sqlValue(good, u"PRAGMA application_id"_s).toInt(), schema::kApplicationId);

    const struct
    {
        const char *name;
        QStringList statements; // run on a copy of the good book, or on a new file
        bool fromBook;
        const char *says;
    } rows[] = {
        {"version -1", {u"PRAGMA user_version = -1"_s}, true, "its version (-1) is not one Kestrava writes"},
        {"lowest version", {u"PRAGMA user_version = -2147483648"_s}, true, "is not one Kestrava writes"},
        {"another program's, version 1", {u"CREATE TABLE notes (text TEXT)"_s, u"PRAGMA user_version = 1"_s}, false,
         "another program"},
        {"another program's, version 2", {u"CREATE TABLE notes (text TEXT)"_s, u"PRAGMA user_version = 2"_s}, false,
         "another program"},
        {"another program's, version 3",
         {u"CREATE TABLE clients (id INTEGER PRIMARY KEY, name TEXT)"_s, u"INSERT INTO clients VALUES (1, 'x')"_s,
          u"PRAGMA user_version = 3"_s},
         false, "another program"},
        {"another program's, this version", {u"CREATE TABLE notes (text TEXT)"_s, u"PRAGMA user_version = 4"_s},
         false, "another program"},
        {"another program's, a later version", {u"CREATE TABLE notes (text TEXT)"_s, u"PRAGMA user_version = 9"_s},
         false, "another program"},
        {"a book's tables, another program's mark", {u"PRAGMA application_id = 1234"_s}, true, "another program"},
        {"the mark, the tables gone", {u"DROP TABLE client_search"_s}, true, "tables of the book are missing"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(u"case.sqlite"_s);
        QFile::remove(file);
        if (row.fromBook)
            ASSERT_TRUE(QFile::copy(good, file));
        for (const QString &statement : row.statements)
            sqlValue(file, statement);
        const QByteArray before = sha256(file);
        {
            ClientBook book(file);
            EXPECT_FALSE(book.isReadable());
            EXPECT_FALSE(book.isWritable());
            ASSERT_TRUE(book.problem());
            EXPECT_EQ(book.problem()->kind, BookProblem::Kind::Damaged);
            EXPECT_TRUE(book.problem()->message.contains(QString::fromUtf8(row.says))) << problemOf(book).toStdString();
            EXPECT_TRUE(book.problem()->message.contains(file)) << "the message names the file";
            EXPECT_FALSE(book.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(2000, 1, 1)), kNow));
        }
        EXPECT_EQ(sha256(file), before) << "not one byte changed";
        EXPECT_FALSE(QFileInfo::exists(file + u"-wal"_s)) << "not switched to another journal";

        // The command line says the same and fails.
        QProcess cli;
        cli.start(QStringLiteral(KESTRAVA_CLI), {u"clients"_s, u"list"_s, u"--clients"_s, file});
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_NE(cli.exitCode(), 0);
        EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QString::fromUtf8(row.says)));
        EXPECT_EQ(sha256(file), before);
    }
}

TEST_F(ClientBookTest, BooksMadeBeforeTheMarkStillOpenAndAreMarkedWhenBroughtForward)
{
    QDir().mkpath(path(u"book"_s));
    for (const char *name : {"clients-v1.sqlite", "clients-v2.sqlite"}) {
        SCOPED_TRACE(name);
        QFile::remove(bookPath());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRAVA_CLIENTS_FIXTURES "/") + QString::fromUtf8(name), bookPath()));
        QFile::setPermissions(bookPath(), QFile::ReadOwner | QFile::WriteOwner);
        ASSERT_EQ(sqlValue(bookPath(), u"PRAGMA application_id"_s).toInt(), 0);
        {
            ClientBook book(bookPath());
            EXPECT_TRUE(book.isWritable()) << problemOf(book).toStdString();
            EXPECT_GT(book.count(), 0);
        }
        EXPECT_EQ(sqlValue(bookPath(), u"PRAGMA application_id"_s).toInt(), schema::kApplicationId);
    }

    // A book of this version made before the mark is known by its tables,
    // and opening it changes nothing.
    sqlValue(bookPath(), u"PRAGMA application_id = 0"_s);
    const int clients = sqlValue(bookPath(), u"SELECT count(*) FROM clients"_s).toInt();
    const QByteArray before = sha256(bookPath());
    {
        ClientBook book(bookPath());
        EXPECT_TRUE(book.isWritable()) << problemOf(book).toStdString();
        EXPECT_EQ(book.versionFound(), kSchemaVersion);
        EXPECT_EQ(book.list(0, 10).size(), clients);
        EXPECT_EQ(sha256(bookPath()), before);
    }
}

TEST_F(ClientBookTest, ReadersGoOnWhileAnotherProgramImports)
{
    { ClientBook book(bookPath()); }
    QByteArray csv = "first,middle,last,month,day,year\n";
    for (int i = 0; i < 200000; ++i)
        csv += "ann" + QByteArray::number(i) + ",,lee" + QByteArray::number(i) + ",March," +
               QByteArray::number(1 + i % 28) + "," + QByteArray::number(1950 + i % 50) + "\n";
    const QString people = path(u"people.csv"_s);
    ASSERT_TRUE(writeFile(people, csv));

    QProcess importer;
    importer.start(QStringLiteral(KESTRAVA_CLIENTBOOK_CHILD), {u"import"_s, bookPath(), people});
    ASSERT_TRUE(importer.waitForStarted());
    // The import holds the write lock from its first client to its last.
    while (!importer.canReadLine())
        ASSERT_TRUE(importer.waitForReadyRead(60000)) << "the import never began";

    // Opening, listing, searching and reading go on as before, and a change
    // waits for the import only when it is made.
    QElapsedTimer reading;
    reading.start();
    int opened = 0;
    while (reading.elapsed() < 3000 && importer.state() == QProcess::Running) {
        QElapsedTimer took;
        took.start();
        ClientBook book(bookPath());
        ASSERT_TRUE(book.isReadable()) << problemOf(book).toStdString();
        EXPECT_TRUE(book.isWritable()) << problemOf(book).toStdString();
        EXPECT_FALSE(book.problem()) << problemOf(book).toStdString();
        EXPECT_EQ(book.count(), 0) << "the import's clients come all at once";
        EXPECT_TRUE(book.list(0, 50).isEmpty());
        EXPECT_TRUE(book.search(u"ann"_s, 50).isEmpty());
        EXPECT_FALSE(book.client(1));
        EXPECT_LT(took.elapsed(), 1000) << "opening waited for the import";
        ++opened;
    }
    EXPECT_EQ(importer.state(), QProcess::Running) << "the import was over before the reading was";
    EXPECT_GT(opened, 5);
    importer.kill();
    importer.waitForFinished();
    ClientBook book(bookPath());
    EXPECT_TRUE(book.isWritable()) << problemOf(book).toStdString();
    EXPECT_EQ(book.count(), 0) << "a stopped import leaves the book as it was";
}

TEST_F(ClientBookTest, AHeaderAheadOfTheFileWhileChangesAreCopiedInIsNoDamage)
{
    // While another program copies the changes of its WAL file into the
    // book, the book's header already counts the pages the file is about to
    // grow to hold.  The book is healthy: the pages are in the WAL.
    const QString book = path(u"book/clients.sqlite"_s);
    leaveChangesInWal(path(u"scratch.sqlite"_s), book, 2000);
    const QByteArray wal = fileBytes(book + u"-wal"_s);
    const quint32 pageSize = qFromBigEndian<quint32>(wal.constData() + 8);
    QByteArray newestFirstPage;
    for (qsizetype frame = 32; frame + 24 + pageSize <= quint32(wal.size()); frame += 24 + pageSize) {
        if (qFromBigEndian<quint32>(wal.constData() + frame) == 1)
            newestFirstPage = wal.mid(frame + 24, pageSize);
    }
    ASSERT_FALSE(newestFirstPage.isEmpty());
    QByteArray bytes = fileBytes(book);
    bytes.replace(0, 100, newestFirstPage.left(100));
    ASSERT_GT(qint64(qFromBigEndian<quint32>(bytes.constData() + 28)) * pageSize, bytes.size())
        << "the header counts pages the file does not hold yet";
    ASSERT_EQ(qFromBigEndian<quint32>(bytes.constData() + 24), qFromBigEndian<quint32>(bytes.constData() + 92))
        << "and says that count is valid";
    ASSERT_TRUE(writeFile(book, bytes));

    ClientBook opened(book);
    EXPECT_FALSE(opened.problem()) << problemOf(opened).toStdString();
    EXPECT_TRUE(opened.isWritable());
    EXPECT_EQ(opened.count(), 2001);
}

TEST_F(ClientBookTest, ChangesLeftInAWalBesideAFolderNoOneMayWriteAreNotSilentlyLeftOut)
{
    const QString book = bookPath();
    leaveChangesInWal(path(u"scratch.sqlite"_s), book, 50);
    const QByteArray before = sha256(book), walBefore = sha256(book + u"-wal"_s);
    ASSERT_FALSE(QFileInfo::exists(book + u"-shm"_s));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions readOnlyFolder = readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), readOnlyFolder);
    QFile::setPermissions(path(u"book"_s), readOnlyFolder);
    QFile::setPermissions(book, readOnly);
    QFile::setPermissions(book + u"-wal"_s, readOnly);
    const QString output = childStatus(book);
    QFile::setPermissions(m_dir.path(), readOnlyFolder | QFile::WriteOwner);
    QFile::setPermissions(path(u"book"_s), readOnlyFolder | QFile::WriteOwner);

    EXPECT_TRUE(output.startsWith(u"readable 0 writable 0 count 0\n"_s)) << output.toStdString();
    EXPECT_TRUE(output.contains(u"its latest changes (in %1-wal) can't be read until its folder is writable"_s.arg(
        book)))
        << output.toStdString();
    EXPECT_EQ(sha256(book), before);
    EXPECT_EQ(sha256(book + u"-wal"_s), walBefore);

    // Once the folder may be written to, every client is there.
    ClientBook writable(book);
    EXPECT_TRUE(writable.isWritable()) << problemOf(writable).toStdString();
    EXPECT_EQ(writable.count(), 51);
}

TEST_F(ClientBookTest, AFullDiskIsSaidToBeFullAndTheBookIsSafe)
{
    FullDisk disk(path(u"full"_s));
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small RAM disk here";
    const QString book = path(u"full/clients.sqlite"_s);
    {
        ClientBook made(book);
        ASSERT_TRUE(made.add(person(u"MARY"_s, u""_s, u"SMITH"_s, QDate(1979, 8, 6)), kNow));
    }
    const QByteArray before = sha256(book);
    disk.fill();
    {
        ClientBook full(book);
        EXPECT_FALSE(full.isReadable());
        ASSERT_TRUE(full.problem());
        EXPECT_EQ(full.problem()->message,
                  u"The client book %1 cannot be opened because the disk is full. The book itself is safe: free "
                  "some space on the disk, then open it again."_s.arg(book));
    }
    EXPECT_EQ(sha256(book), before);
    disk.makeRoom();
    {
        ClientBook open(book);
        ASSERT_TRUE(open.isWritable()) << problemOf(open).toStdString();
        disk.fill();
        const Result<Client> refused = open.add(person(u"ANN"_s, u""_s, u"LEE"_s, QDate(2000, 1, 1)), kNow);
        ASSERT_FALSE(refused);
        EXPECT_TRUE(refused.failure().reason.contains(u"the disk is full"_s)) << refused.failure().reason.toStdString();
        EXPECT_TRUE(refused.failure().reason.contains(u"safe"_s));
        EXPECT_EQ(open.count(), 1);
    }
    disk.makeRoom();
    ClientBook again(book);
    EXPECT_TRUE(again.isWritable()) << problemOf(again).toStdString();
    EXPECT_EQ(again.count(), 1);
}
