#include "clients/clientbook.h"

#include "clients/clientrow.h"
#include "clients/historytext.h"
#include "clients/schema.h"
#include "clients/searchtext.h"
#include "common/numerology.h"
#include "common/savefile.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>
#include <QVariant>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;
using kestrava::Failure;
using kestrava::MaybeFailure;

namespace clients {

namespace {

// A text to store: a null QString would be bound as NULL, which the NOT NULL
// columns refuse, so an empty one is bound as the empty text.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1StringView(""))) : QVariant(value);
}

QString timestampText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

ReadingEntry readingFrom(const QSqlQuery &q)
{
    const std::optional<kestrava::ProgramId> program =
        q.value(2).isNull() ? std::nullopt : std::optional(kestrava::ProgramId(q.value(2).toInt()));
    return {q.value(0).toLongLong(), q.value(1).toLongLong(), program, timestampFrom(q.value(3)),
            q.value(4).toString()};
}

// A report has no program: its column is NULL, which no book before
// version 3 holds.
QVariant programValue(const std::optional<kestrava::ProgramId> &program)
{
    return program ? QVariant(int(*program)) : QVariant(QMetaType::fromType<int>());
}

Client tidied(const Client &client)
{
    Client c = client;
    c.person.firstName = kestrava::trimBlanks(c.person.firstName);
    c.person.middleName = kestrava::trimBlanks(c.person.middleName);
    c.person.lastName = kestrava::trimBlanks(c.person.lastName);
    c.person.nameNowUsed = kestrava::trimBlanks(c.person.nameNowUsed);
    c.email = kestrava::trimBlanks(c.email);
    c.phone = kestrava::trimBlanks(c.phone);
    return c;
}

// Why a client cannot be added, or changed, to be someone the book has.
Failure alreadyThere(const Client &there)
{
    const QString name = there.person.joinedName();
    return Failure{u"%1, born %2, is already in the client book (ID %3)"_s.arg(
        name.isEmpty() ? kestrava::trimBlanks(there.person.nameNowUsed) : name,
        there.person.birthDate.toString(Qt::ISODate)).arg(there.id)};
}

// The name two clients born the same day are compared by to find who may
// be one person entered twice: the last name as the search takes it, or the
// first name where there is no last name.
QString duplicateKey(const QString &firstName, const QString &lastName)
{
    const QStringList last = searchWords(lastName);
    return last.isEmpty() ? u"\x1f"_s + searchWords(firstName).join(u' ') : last.join(u' ');
}

int sqliteCode(const QSqlError &error)
{
    // Extended result codes: the primary code is the low byte.
    return error.nativeErrorCode().toInt() & 0xff;
}

// One change: BEGIN IMMEDIATE takes the write lock at once (waiting for
// another writer up to the busy timeout), so no reader inside the change can
// find the file changed under it.  Rolled back unless committed.
class WriteTransaction
{
public:
    explicit WriteTransaction(QSqlDatabase &db) : m_db(db)
    {
        // SQLite's own wait backs off to a tenth of a second between tries,
        // so a program that changes the book again and again would take every
        // turn: trying every millisecond lets each writer have its own.
        QSqlQuery begin(m_db);
        begin.exec(u"PRAGMA busy_timeout = 0"_s);
        const QDeadlineTimer deadline(kBusyTimeoutMs);
        for (;;) {
            if (begin.exec(u"BEGIN IMMEDIATE"_s)) {
                m_open = true;
                break;
            }
            if (sqliteCode(begin.lastError()) != 5 /* SQLITE_BUSY */ || deadline.hasExpired()) {
                m_failure = schema::failureFrom(begin.lastError());
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        begin.exec(u"PRAGMA busy_timeout = %1"_s.arg(kBusyTimeoutMs));
    }
    ~WriteTransaction()
    {
        if (m_open)
            QSqlQuery(m_db).exec(u"ROLLBACK"_s);
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // Why the transaction could not begin.
    const MaybeFailure &failure() const { return m_failure; }

    MaybeFailure commit()
    {
        QSqlQuery commit(m_db);
        if (!commit.exec(u"COMMIT"_s))
            return schema::failureFrom(commit.lastError());
        m_open = false;
        return std::nullopt;
    }

private:
    QSqlDatabase &m_db;
    bool m_open = false;
    MaybeFailure m_failure;
};

// What the first 100 bytes of a file say about it.
struct FileHeader
{
    bool sqlite = false;
    // The header counts more pages than the file holds.  Only a hint on why
    // SQLite found a file damaged, never a judgement of its own: while another
    // program copies its changes into the file, the header may count pages
    // the file has not grown to hold yet.
    bool cutOff = false;
};

FileHeader readHeader(const QString &path)
{
    FileHeader header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const qint64 size = file.size();
    const QByteArray bytes = file.read(100);
    if (bytes.size() < 100 || !bytes.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return header;
    header.sqlite = true;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    quint32 pageSize = qFromBigEndian<quint16>(data + 16);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pageCount = qFromBigEndian<quint32>(data + 28);
    // The page count in the header is valid when the change counter matches
    // the "version valid for" number, as it does for every file SQLite
    // 3.7.0 or later wrote.
    const bool countValid = qFromBigEndian<quint32>(data + 24) == qFromBigEndian<quint32>(data + 92);
    header.cutOff = pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0
                    || (countValid && qint64(pageCount) * pageSize > size);
    return header;
}

bool isDamage(const QSqlError &error)
{
    const int code = sqliteCode(error);
    return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */;
}

// Whether SQLite finds the open file damaged.  Asked only after a read
// failed as if it were: a read may also fail that way while another program
// changes the file in a way this connection has not seen yet.
bool confirmedDamaged(QSqlDatabase &db)
{
    QSqlQuery check(db);
    return !(check.exec(u"PRAGMA quick_check(1)"_s) && check.next() && check.value(0).toString() == u"ok"_s);
}

// Whether a failure to read or write the book comes from a full disk.
// SQLite says so for the file itself, but a shared-memory file it cannot
// grow comes back as an input/output error.
bool diskIsFull(const QString &folder, const QSqlError &error)
{
    const int code = sqliteCode(error);
    if (code == 13) // SQLITE_FULL
        return true;
    if (code != 10) // SQLITE_IOERR
        return false;
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.bytesAvailable() < 64 * 1024;
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QAtomicInteger<quint64> connectionCounter;

} // namespace

QString clientBookPath(const QString &kestravaClientsVariable, const QString &genericDataFolder)
{
    if (!kestravaClientsVariable.isEmpty())
        return kestravaClientsVariable;
    return genericDataFolder + u"/kestrava/clients.sqlite"_s;
}

MaybeFailure checkClient(const Client &client)
{
    const Client c = tidied(client);
    if (c.person.firstName.isEmpty() && c.person.lastName.isEmpty())
        return Failure{u"a client needs a first or a last name"_s};
    if (!c.person.birthDate.isValid())
        return Failure{u"a client needs a valid birth date"_s};
    // The book writes the date YYYY-MM-DD, which has no room for others.
    if (const int year = c.person.birthDate.year(); year < 1 || year > 9999)
        return Failure{u"the birth year must be 1 to 9999, not %1"_s.arg(year)};
    return std::nullopt;
}

ClientBook::ClientBook(const QString &path)
    : m_path(path), m_connectionName(u"kestrava-clients-%1"_s.arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    open();
}

ClientBook::~ClientBook()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool ClientBook::openConnection(bool readOnly, bool immutable)
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connectionName);
    QString options = u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(kBusyTimeoutMs);
    if (immutable) {
        // Reading a WAL file needs its shared-memory file beside it; where
        // that cannot be made, the file is read as one nobody changes.
        m_db.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + u"?immutable=1"_s);
        options += u";QSQLITE_OPEN_URI"_s;
    } else {
        m_db.setDatabaseName(m_path);
    }
    if (readOnly)
        options += u";QSQLITE_OPEN_READONLY"_s;
    m_db.setConnectOptions(options);
    if (!m_db.open())
        return false;
    // A search reads the whole search table when few clients match: keep it
    // in memory (up to 64 MiB) rather than reading it again from the file.
    // The setting belongs to the connection and does not touch the file.
    QSqlQuery(m_db).exec(u"PRAGMA cache_size = -65536"_s);
    return true;
}

void ClientBook::setProblem(BookProblem::Kind kind, const QString &message)
{
    m_problem = BookProblem{kind, message};
}

void ClientBook::setNewer(int version)
{
    setProblem(BookProblem::Kind::NewerVersion,
               u"The client book %1 was written by a newer version of Kestrava (book version %2; this version knows "
               "up to %3). It is open read-only: update Kestrava to change it."_s.arg(shownPath(m_path))
                   .arg(version)
                   .arg(kSchemaVersion));
}

void ClientBook::refuse(BookProblem::Kind kind, const QString &message)
{
    setProblem(kind, message);
    m_readable = false;
    m_db.close();
}

void ClientBook::refuseForeign()
{
    refuse(BookProblem::Kind::Damaged,
           u"The client book %1 is no client book: it is an SQLite database of another program. "
           "Kestrava leaves it as it is."_s.arg(shownPath(m_path)));
}

void ClientBook::refuseUnread(const QSqlError &error, bool cutOff)
{
    const QString shown = shownPath(m_path);
    if (diskIsFull(QFileInfo(m_path).absolutePath(), error)) {
        refuse(BookProblem::Kind::CannotOpen,
               u"The client book %1 cannot be opened because the disk is full. The book itself is safe: free "
               "some space on the disk, then open it again."_s.arg(shown));
    } else if (isDamage(error)) {
        refuse(BookProblem::Kind::Damaged,
               (cutOff ? u"The client book %1 is damaged: the file is shorter than its contents (it may have "
                         "been cut off). Kestrava leaves it as it is. It cannot be read."_s
                       : u"The client book %1 is damaged. Kestrava leaves it as it is. It cannot be read."_s)
                   .arg(shown));
    } else {
        refuse(BookProblem::Kind::CannotOpen,
               u"The client book %1 cannot be opened: %2."_s.arg(shown, schema::failureFrom(error).reason));
    }
}

void ClientBook::open()
{
    // Everything that could write (journal mode, migrations) waits until the
    // file is known to be a client book this version may change.
    const Probe found = probe();
    if (found == Probe::Refused)
        return;
    const bool wasReadable = m_readable;
    const std::optional<int> version = openForWriting(found == Probe::Missing);
    if (!version)
        return;
    bringForward(*version, wasReadable, found == Probe::Missing);
}

ClientBook::Probe ClientBook::probe()
{
    const QString shown = shownPath(m_path);
    if (m_path.isEmpty()) {
        setProblem(BookProblem::Kind::CannotOpen, u"No file was named for the client book."_s);
        return Probe::Refused;
    }

    const QFileInfo info(m_path);
    const QString folder = info.absolutePath();
    const bool existed = info.exists() && info.size() > 0;
    if (info.exists() && !info.isFile()) {
        setProblem(BookProblem::Kind::CannotOpen,
                   u"The client book %1 cannot be opened: it is not a file."_s.arg(shown));
        return Probe::Refused;
    }
    if (!existed)
        return Probe::Missing;

    const FileHeader header = readHeader(m_path);
    if (!header.sqlite) {
        setProblem(BookProblem::Kind::Damaged,
                   u"The client book %1 is damaged or is no client book: it is not an SQLite database. "
                   "Kestrava leaves it as it is."_s.arg(shown));
        return Probe::Refused;
    }
    auto unread = [&](const QSqlError &error, bool cutOff) {
        refuseUnread(error, cutOff);
        return Probe::Refused;
    };
    if (!openConnection(true))
        return unread(m_db.lastError(), header.cutOff);

    qint32 applicationId = 0;
    QSqlError error;
    auto readMarks = [&] {
        QSqlQuery query(m_db);
        if (!query.exec(u"PRAGMA user_version"_s) || !query.next()) {
            error = query.lastError();
            return false;
        }
        m_versionFound = query.value(0).toInt();
        if (!query.exec(u"PRAGMA application_id"_s) || !query.next()) {
            error = query.lastError();
            return false;
        }
        applicationId = query.value(0).toInt();
        return true;
    };
    bool marksRead = readMarks();
    if (!marksRead && !QFileInfo(folder).isWritable()) {
        // Reading the changes waiting in a WAL file needs a shared-memory
        // file beside it, which a folder nobody may write to cannot be
        // given.  Without such changes the file alone is the whole book,
        // and it is read as one nobody changes.
        const QFileInfo wal(m_path + u"-wal"_s);
        if (wal.exists() && wal.size() > 0) {
            refuse(BookProblem::Kind::CannotOpen,
                   u"The client book %1 cannot be read: its latest changes (in %2) can't be read until "
                   "its folder is writable. Kestrava leaves it as it is."_s.arg(shown, shownPath(wal.filePath())));
            return Probe::Refused;
        }
        if (!openConnection(true, true))
            return unread(m_db.lastError(), header.cutOff);
        marksRead = readMarks();
    }
    if (!marksRead && isDamage(error) && !confirmedDamaged(m_db))
        marksRead = readMarks();
    if (!marksRead)
        return unread(error, header.cutOff);

    // A book is known by its mark, or, made before books had one, by its
    // tables; the version alone is no proof, as any program may set it.
    const bool marked = applicationId == schema::kApplicationId;
    if (m_versionFound < 0) {
        refuse(BookProblem::Kind::Damaged,
               u"The client book %1 cannot be opened: its version (%2) is not one Kestrava writes. "
               "Kestrava leaves it as it is."_s.arg(shown)
                   .arg(m_versionFound));
        return Probe::Refused;
    }
    if (applicationId != 0 && !marked) {
        refuseForeign();
        return Probe::Refused;
    }
    if (m_versionFound == 0) {
        // An SQLite file with nothing in it yet may become a book.
        QSqlQuery tables(m_db);
        if (!tables.exec(u"SELECT count(*) FROM sqlite_master"_s) || !tables.next() || tables.value(0).toInt() != 0) {
            refuseForeign();
            return Probe::Refused;
        }
    } else if (m_versionFound > kSchemaVersion) {
        if (!marked) {
            refuseForeign();
            return Probe::Refused;
        }
        setNewer(m_versionFound);
    } else if (!schema::hasTablesOf(m_db, m_versionFound)) {
        if (!marked) {
            refuseForeign();
            return Probe::Refused;
        }
        refuse(BookProblem::Kind::Damaged,
               u"The client book %1 is damaged: tables of the book are missing. Kestrava leaves it as "
               "it is."_s.arg(shown));
        return Probe::Refused;
    }

    // A book of this version or a newer one is read as it is; an older
    // one only once it has been brought forward.
    if (m_versionFound >= kSchemaVersion) {
        const QString firstClient =
            u"SELECT %1 FROM client_search s JOIN clients c ON c.id = s.client_id LIMIT 1"_s.arg(kClientColumns);
        auto readFirst = [&] {
            QSqlQuery query(m_db);
            if (query.exec(firstClient) && (query.next() || query.lastError().type() == QSqlError::NoError))
                return true;
            error = query.lastError();
            return false;
        };
        m_readable = readFirst();
        if (!m_readable && isDamage(error) && !confirmedDamaged(m_db))
            m_readable = readFirst();
        if (!m_readable)
            return unread(error, false);
    }
    // A newer book stays open read-only.
    if (m_problem)
        return Probe::Refused;

    const QFileInfo folderInfo(folder);
    if (!info.isWritable() || !folderInfo.isWritable()) {
        const QString what = info.isWritable() ? u"its folder"_s : u"the file"_s;
        setProblem(BookProblem::Kind::Unwritable,
                   m_readable ? u"The client book %1 cannot be changed: there is no permission to write to %2. It "
                                "is open read-only."_s.arg(shown, what)
                              : u"The client book %1 needs updating for this version of Kestrava but cannot be "
                                "changed: there is no permission to write to %2."_s.arg(shown, what));
        if (!m_readable)
            m_db.close();
        return Probe::Refused;
    }
    return Probe::Book;
}

std::optional<int> ClientBook::openForWriting(bool create)
{
    const QString shown = shownPath(m_path);
    if (create) {
        const QString folder = QFileInfo(m_path).absolutePath();
        if (!kestrava::makePrivateFolder(folder)) {
            setProblem(BookProblem::Kind::CannotOpen,
                       u"The client book %1 cannot be created: its folder cannot be made."_s.arg(shown));
            return std::nullopt;
        }
        // SQLite would make the file readable by every user of the computer,
        // and makes its -wal and -shm files with the permissions the file
        // has: the file is made first, for the user alone.
        if (!QFileInfo::exists(m_path)) {
            QFile file(m_path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
                && !QFileInfo::exists(m_path)) {
                setProblem(BookProblem::Kind::CannotOpen,
                           u"The client book %1 cannot be created: %2."_s.arg(shown, file.errorString()));
                return std::nullopt;
            }
        }
    }

    m_readable = false;
    if (!openConnection(false)) {
        refuseUnread(m_db.lastError(), false);
        return std::nullopt;
    }

    // Opening takes no lock that keeps anyone else from reading or writing:
    // only a book that is new or older than this version is changed, in one
    // short transaction.  Reading the version first also reads the journal
    // mode the file is in.
    QSqlQuery query(m_db);
    if (!query.exec(u"PRAGMA foreign_keys = ON"_s) || !query.exec(u"PRAGMA user_version"_s) || !query.next()) {
        refuseUnread(query.lastError(), false);
        return std::nullopt;
    }
    const int version = query.value(0).toInt();
    if (!query.exec(u"PRAGMA journal_mode"_s) || !query.next()) {
        refuseUnread(query.lastError(), false);
        return std::nullopt;
    }
    const bool wal = query.value(0).toString().compare(u"wal"_s, Qt::CaseInsensitive) == 0;
    query.finish();
    // WAL lets readers go on while someone writes.  A book is switched
    // to it once, when it is made or first opened by a version that
    // uses it.
    if (!wal && !query.exec(u"PRAGMA journal_mode = WAL"_s)) {
        refuseUnread(query.lastError(), false);
        return std::nullopt;
    }
    return version;
}

void ClientBook::bringForward(int version, bool wasReadable, bool created)
{
    const QString shown = shownPath(m_path);
    auto failOpen = [&](const QSqlError &error) { refuseUnread(error, false); };
    if (version < kSchemaVersion) {
        WriteTransaction transaction(m_db);
        if (transaction.failure()) {
            const QString reason = transaction.failure()->reason;
            return refuse(BookProblem::Kind::CannotOpen,
                          u"The client book %1 cannot be opened: %2."_s.arg(shown, reason));
        }
        // Another program may have brought the file forward since it was looked at.
        QSqlQuery query(m_db);
        if (!query.exec(u"PRAGMA user_version"_s) || !query.next())
            return failOpen(query.lastError());
        version = query.value(0).toInt();
        query.finish();
        if (version < kSchemaVersion) {
            if (auto failure = schema::migrate(m_db, version)) {
                return refuse(BookProblem::Kind::CannotOpen,
                              u"The client book %1 cannot be opened: %2."_s.arg(shown, failure->reason));
            }
            if (auto failure = transaction.commit()) {
                return refuse(BookProblem::Kind::CannotOpen,
                              u"The client book %1 cannot be opened: %2."_s.arg(shown, failure->reason));
            }
        }
    } else if (version == kSchemaVersion && !wasReadable) {
        // Brought forward by another program since it was looked at.
        if (!schema::hasTablesOf(m_db, version))
            return refuseForeign();
    }
    if (version > kSchemaVersion) {
        // A newer version took the file over in the meantime.
        m_versionFound = version;
        setNewer(version);
        m_readable = openConnection(true);
        return;
    }
    if (created)
        m_versionFound = 0;
    m_readable = true;
    m_writable = true;
}

MaybeFailure ClientBook::checkWritable() const
{
    if (m_writable)
        return std::nullopt;
    return Failure{m_problem ? m_problem->message : u"The client book is not open."_s};
}

int ClientBook::count() const
{
    if (!m_readable)
        return 0;
    QSqlQuery query(m_db);
    if (query.exec(u"SELECT count(*) FROM clients"_s) && query.next())
        return query.value(0).toInt();
    readFailure(query.lastError());
    return 0;
}

Failure ClientBook::readFailure(const QSqlError &error) const
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == 11 || code == 26) // SQLITE_CORRUPT, SQLITE_NOTADB
        m_damageMet = true;
    return schema::failureFrom(error);
}

MaybeFailure ClientBook::forEachClient(const std::function<bool(const Client &)> &take) const
{
    if (!m_readable)
        return Failure{m_problem ? m_problem->message : u"The client book is not open."_s};
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT %1 FROM clients c ORDER BY c.id"_s.arg(kClientColumns)))
        return readFailure(query.lastError());
    while (query.next()) {
        if (!take(clientFrom(query)))
            return std::nullopt;
    }
    if (query.lastError().isValid())
        return readFailure(query.lastError());
    return std::nullopt;
}

QList<Client> ClientBook::list(int offset, int limit) const
{
    QList<Client> clients;
    if (!m_readable)
        return clients;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(u"SELECT %1 FROM client_search s JOIN clients c ON c.id = s.client_id"
                  " ORDER BY s.sort_key, s.client_id LIMIT ? OFFSET ?"_s.arg(kClientColumns));
    query.addBindValue(limit);
    query.addBindValue(offset);
    if (query.exec()) {
        while (query.next())
            clients.append(clientFrom(query));
    }
    if (query.lastError().isValid())
        readFailure(query.lastError());
    return clients;
}

qint64 ClientBook::dataVersion() const
{
    if (!m_readable)
        return 0;
    QSqlQuery query(m_db);
    return query.exec(u"PRAGMA data_version"_s) && query.next() ? query.value(0).toLongLong() : 0;
}

std::optional<Client> ClientBook::client(qint64 id) const
{
    if (!m_readable)
        return std::nullopt;
    QSqlQuery query(m_db);
    query.prepare(u"SELECT %1 FROM clients c WHERE c.id = ?"_s.arg(kClientColumns));
    query.addBindValue(id);
    if (query.exec() && query.next())
        return clientFrom(query);
    if (query.lastError().isValid())
        readFailure(query.lastError());
    return std::nullopt;
}

std::optional<Client> ClientBook::samePerson(const kestrava::Person &person, qint64 except) const
{
    if (!m_readable || !person.birthDate.isValid())
        return std::nullopt;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(u"SELECT %1 FROM clients c WHERE c.birth_date = ? AND c.person_key = ? AND c.id <> ?"
                  " ORDER BY c.id LIMIT 1"_s.arg(kClientColumns));
    query.addBindValue(person.birthDate.toString(Qt::ISODate));
    query.addBindValue(personKey(person));
    query.addBindValue(except);
    if (query.exec() && query.next())
        return clientFrom(query);
    if (query.lastError().isValid())
        readFailure(query.lastError());
    return std::nullopt;
}

MaybeFailure ClientBook::insert(Client &c, bool keepId)
{
    QSqlQuery query(m_db);
    query.prepare(u"INSERT INTO clients (%1first_name, middle_name, last_name, birth_date, name_now, email, phone,"
                  " notes, added, changed, person_key) VALUES (%2?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s.arg(
                      keepId ? u"id, "_s : QString(), keepId ? u"?, "_s : QString()));
    if (keepId)
        query.addBindValue(c.id);
    query.addBindValue(text(c.person.firstName));
    query.addBindValue(text(c.person.middleName));
    query.addBindValue(text(c.person.lastName));
    query.addBindValue(c.person.birthDate.toString(Qt::ISODate));
    query.addBindValue(text(c.person.nameNowUsed));
    query.addBindValue(text(c.email));
    query.addBindValue(text(c.phone));
    query.addBindValue(text(c.notes));
    query.addBindValue(timestampText(c.added));
    query.addBindValue(timestampText(c.changed));
    query.addBindValue(personKey(c.person));
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    c.id = query.lastInsertId().toLongLong();

    QSqlQuery search(m_db);
    search.prepare(u"INSERT INTO client_search (client_id, words, sort_key) VALUES (?, ?, ?)"_s);
    search.addBindValue(c.id);
    search.addBindValue(personSearchWords(c.person));
    search.addBindValue(personSortKey(c.person));
    if (!search.exec())
        return schema::failureFrom(search.lastError());
    return std::nullopt;
}

Result<Client> ClientBook::addInTransaction(const Client &client, const QDateTime &now)
{
    if (auto problem = checkClient(client))
        return *problem;
    Client c = tidied(client);
    c.id = 0;
    c.added = now.toUTC();
    c.changed = now.toUTC();
    if (auto failure = insert(c, false))
        return *failure;
    return c;
}

Result<Client> ClientBook::add(const Client &client, const QDateTime &now)
{
    if (auto failure = checkWritable())
        return *failure;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    if (const std::optional<Client> there = samePerson(tidied(client).person))
        return alreadyThere(*there);
    Result<Client> added = addInTransaction(client, now);
    if (!added)
        return added;
    if (auto failure = transaction.commit())
        return *failure;
    return added;
}

Result<Client> ClientBook::edit(const Client &client, const QDateTime &now)
{
    if (auto failure = checkWritable())
        return *failure;
    if (auto problem = checkClient(client))
        return *problem;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    Client c = tidied(client);
    {
        QSqlQuery added(m_db);
        added.prepare(u"SELECT added FROM clients WHERE id = ?"_s);
        added.addBindValue(c.id);
        if (!added.exec())
            return schema::failureFrom(added.lastError());
        if (!added.next())
            return Failure{u"client number %1 is not in the book"_s.arg(c.id)};
        c.added = timestampFrom(added.value(0));
    }
    if (const std::optional<Client> there = samePerson(c.person, c.id))
        return alreadyThere(*there);
    c.changed = now.toUTC();
    QSqlQuery query(m_db);
    query.prepare(u"UPDATE clients SET first_name = ?, middle_name = ?, last_name = ?, birth_date = ?,"
                  " name_now = ?, email = ?, phone = ?, notes = ?, changed = ?, person_key = ? WHERE id = ?"_s);
    query.addBindValue(text(c.person.firstName));
    query.addBindValue(text(c.person.middleName));
    query.addBindValue(text(c.person.lastName));
    query.addBindValue(c.person.birthDate.toString(Qt::ISODate));
    query.addBindValue(text(c.person.nameNowUsed));
    query.addBindValue(text(c.email));
    query.addBindValue(text(c.phone));
    query.addBindValue(text(c.notes));
    query.addBindValue(timestampText(c.changed));
    query.addBindValue(personKey(c.person));
    query.addBindValue(c.id);
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    QSqlQuery search(m_db);
    search.prepare(u"UPDATE client_search SET words = ?, sort_key = ? WHERE client_id = ?"_s);
    search.addBindValue(personSearchWords(c.person));
    search.addBindValue(personSortKey(c.person));
    search.addBindValue(c.id);
    if (!search.exec())
        return schema::failureFrom(search.lastError());
    if (auto failure = transaction.commit())
        return *failure;
    return c;
}

Result<DeletedClient> ClientBook::remove(qint64 id)
{
    if (auto failure = checkWritable())
        return *failure;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    std::optional<Client> found = client(id);
    if (!found)
        return Failure{u"client number %1 is not in the book"_s.arg(id)};
    DeletedClient deleted{*found, history(id)};
    QSqlQuery query(m_db);
    query.prepare(u"DELETE FROM clients WHERE id = ?"_s);
    query.addBindValue(id);
    // The history and the search words go with the client (ON DELETE CASCADE).
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    if (auto failure = transaction.commit())
        return *failure;
    return deleted;
}

MaybeFailure ClientBook::restore(const DeletedClient &deleted)
{
    if (auto failure = checkWritable())
        return failure;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return transaction.failure();
    if (client(deleted.client.id))
        return Failure{u"client number %1 is already in the book"_s.arg(deleted.client.id)};
    Client c = deleted.client;
    if (auto failure = insert(c, true))
        return failure;
    for (const ReadingEntry &entry : deleted.history) {
        QSqlQuery query(m_db);
        query.prepare(u"INSERT INTO readings (id, client_id, program, at, inputs) VALUES (?, ?, ?, ?, ?)"_s);
        query.addBindValue(entry.id);
        query.addBindValue(c.id);
        query.addBindValue(programValue(entry.program));
        query.addBindValue(timestampText(entry.at));
        query.addBindValue(text(entry.inputs));
        if (!query.exec())
            return schema::failureFrom(query.lastError());
    }
    if (auto failure = rebuildHistoryWords(c.id))
        return failure;
    return transaction.commit();
}

MaybeFailure ClientBook::rebuildHistoryWords(qint64 clientId)
{
    QString words;
    for (const ReadingEntry &entry : history(clientId))
        words += entrySearchWords(entry);
    QSqlQuery query(m_db);
    query.prepare(u"UPDATE client_search SET history = ? WHERE client_id = ?"_s);
    query.addBindValue(text(words));
    query.addBindValue(clientId);
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    return std::nullopt;
}

Result<ReadingEntry> ClientBook::addReading(const ReadingEntry &entry)
{
    if (auto failure = checkWritable())
        return *failure;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    if (!client(entry.clientId))
        return Failure{u"client number %1 is not in the book"_s.arg(entry.clientId)};
    ReadingEntry e = entry;
    e.at = entry.at.toUTC();
    QSqlQuery query(m_db);
    query.prepare(u"INSERT INTO readings (client_id, program, at, inputs) VALUES (?, ?, ?, ?)"_s);
    query.addBindValue(e.clientId);
    query.addBindValue(programValue(e.program));
    query.addBindValue(timestampText(e.at));
    query.addBindValue(text(e.inputs));
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    e.id = query.lastInsertId().toLongLong();
    QSqlQuery words(m_db);
    words.prepare(u"UPDATE client_search SET history = history || ? WHERE client_id = ?"_s);
    words.addBindValue(entrySearchWords(e));
    words.addBindValue(e.clientId);
    if (!words.exec())
        return schema::failureFrom(words.lastError());
    if (auto failure = transaction.commit())
        return *failure;
    return e;
}

Result<ReadingEntry> ClientBook::setReadingInputs(qint64 entryId, const QString &inputs)
{
    if (auto failure = checkWritable())
        return *failure;
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    QSqlQuery query(m_db);
    query.prepare(u"SELECT id, client_id, program, at, inputs FROM readings WHERE id = ?"_s);
    query.addBindValue(entryId);
    if (!query.exec())
        return schema::failureFrom(query.lastError());
    if (!query.next())
        return Failure{u"the history entry is no longer in the book"_s};
    ReadingEntry e = readingFrom(query);
    query.finish();
    e.inputs = inputs;
    QSqlQuery update(m_db);
    update.prepare(u"UPDATE readings SET inputs = ? WHERE id = ?"_s);
    update.addBindValue(text(inputs));
    update.addBindValue(entryId);
    if (!update.exec())
        return schema::failureFrom(update.lastError());
    if (auto failure = rebuildHistoryWords(e.clientId))
        return *failure;
    if (auto failure = transaction.commit())
        return *failure;
    return e;
}

QList<ReadingEntry> ClientBook::history(qint64 clientId) const
{
    QList<ReadingEntry> entries;
    if (!m_readable)
        return entries;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(u"SELECT id, client_id, program, at, inputs FROM readings WHERE client_id = ? ORDER BY at, id"_s);
    query.addBindValue(clientId);
    if (query.exec()) {
        while (query.next())
            entries.append(readingFrom(query));
    }
    if (query.lastError().isValid())
        readFailure(query.lastError());
    return entries;
}

Result<int> ClientBook::rebuildSearchIndex()
{
    if (auto failure = checkWritable())
        return *failure;
    int clients = 0;
    {
        WriteTransaction transaction(m_db);
        if (transaction.failure())
            return *transaction.failure();
        // A damaged table can be neither emptied nor dropped: SQLite walks
        // its pages to free them and stops at the damage.  A new table is
        // filled beside it and takes its place in the schema; the old
        // table's pages are left to the VACUUM below.
        QSqlQuery query(m_db);
        if (!query.exec(u"SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'client_search'"_s)
            || !query.next())
            return readFailure(query.lastError());
        const QString createSql = query.value(0).toString();
        query.finish();
        QString createNew = createSql;
        createNew.replace(u"client_search"_s, u"client_search_rebuilt"_s);
        if (!query.exec(u"DROP TABLE IF EXISTS client_search_rebuilt"_s) || !query.exec(createNew))
            return schema::failureFrom(query.lastError());

        QSqlQuery insert(m_db);
        insert.prepare(u"INSERT INTO client_search_rebuilt (client_id, words, sort_key) VALUES (?, ?, ?)"_s);
        MaybeFailure failed;
        if (MaybeFailure unread = forEachClient([&](const Client &c) {
                insert.addBindValue(c.id);
                insert.addBindValue(personSearchWords(c.person));
                insert.addBindValue(personSortKey(c.person));
                if (!insert.exec()) {
                    failed = schema::failureFrom(insert.lastError());
                    return false;
                }
                ++clients;
                return true;
            }))
            return Failure{u"the clients themselves cannot all be read (%1); export the book to save those "
                           "that can be"_s.arg(unread->reason)};
        if (failed)
            return *failed;

        QSqlQuery rows(m_db);
        rows.setForwardOnly(true);
        if (!rows.exec(u"SELECT id, client_id, program, at, inputs FROM readings ORDER BY client_id, at, id"_s))
            return readFailure(rows.lastError());
        QSqlQuery update(m_db);
        update.prepare(u"UPDATE client_search_rebuilt SET history = history || ? WHERE client_id = ?"_s);
        while (rows.next()) {
            const ReadingEntry entry = readingFrom(rows);
            update.addBindValue(entrySearchWords(entry));
            update.addBindValue(entry.clientId);
            if (!update.exec())
                return schema::failureFrom(update.lastError());
        }
        if (rows.lastError().isValid())
            return Failure{u"the history cannot all be read (%1)"_s.arg(readFailure(rows.lastError()).reason)};

        if (!query.exec(u"PRAGMA schema_version"_s) || !query.next())
            return schema::failureFrom(query.lastError());
        const qint64 schemaVersion = query.value(0).toLongLong();
        query.finish();
        // The old table and its index go from the schema, and the new ones
        // take their names; the schema version tells other connections to
        // read the schema again.
        QSqlQuery rename(m_db);
        const bool renamed = query.exec(u"PRAGMA writable_schema = ON"_s)
                             && query.exec(u"DELETE FROM sqlite_master WHERE tbl_name = 'client_search'"_s)
                             && rename.prepare(u"UPDATE sqlite_master SET name = replace(name, 'client_search_rebuilt',"
                                               " 'client_search'), tbl_name = 'client_search', sql = CASE WHEN type ="
                                               " 'table' THEN ? ELSE sql END WHERE tbl_name = 'client_search_rebuilt'"_s)
                             && (rename.addBindValue(createSql), rename.exec())
                             && query.exec(u"PRAGMA schema_version = %1"_s.arg(schemaVersion + 1));
        const QSqlError renameError = renamed ? QSqlError() : (rename.lastError().isValid() ? rename.lastError()
                                                                                             : query.lastError());
        QSqlQuery(m_db).exec(u"PRAGMA writable_schema = OFF"_s);
        if (!renamed)
            return schema::failureFrom(renameError);
        if (auto failure = transaction.commit())
            return *failure;
    }
    // This connection knows the schema as it was: it opens again.
    if (!openConnection(false)) {
        m_readable = m_writable = false;
        return Failure{u"the search table was rebuilt, but the client book could not be opened again: %1"_s.arg(
            schema::failureFrom(m_db.lastError()).reason)};
    }
    QSqlQuery pragma(m_db);
    pragma.exec(u"PRAGMA foreign_keys = ON"_s);
    // Gives the old table's pages back; the book works without it, so
    // another program reading the book at the moment only delays that.
    pragma.exec(u"VACUUM"_s);
    m_damageMet = false;
    return clients;
}

Result<QList<CandidateOutcome>> ClientBook::addMany(const QList<ImportCandidate> &candidates, const QDateTime &now,
                                                    const Progress &progress)
{
    if (auto failure = checkWritable())
        return *failure;
    // Inside an import, the import's transaction holds the change.
    std::optional<WriteTransaction> transaction;
    if (!m_importOpen) {
        transaction.emplace(m_db);
        if (transaction->failure())
            return *transaction->failure();
    }
    QList<CandidateOutcome> outcomes;
    outcomes.reserve(candidates.size());
    const int total = int(candidates.size());
    for (const ImportCandidate &candidate : candidates) {
        if (samePerson(tidied(candidate.client).person)) {
            outcomes.append(CandidateOutcome::AlreadyThere);
        } else {
            Result<Client> added = addInTransaction(candidate.client, now);
            if (!added)
                return Failure{u"%1: %2"_s.arg(candidate.source, added.failure().reason)};
            outcomes.append(CandidateOutcome::Added);
        }
        if (progress && !progress(int(outcomes.size()), total))
            return Failure{u"the import was stopped; nothing was added"_s};
    }
    if (transaction) {
        if (auto failure = transaction->commit())
            return *failure;
    }
    return outcomes;
}

MaybeFailure ClientBook::beginImport()
{
    if (auto failure = checkWritable())
        return failure;
    if (m_importOpen)
        return Failure{u"an import is already under way"_s};
    QSqlQuery begin(m_db);
    if (!begin.exec(u"BEGIN IMMEDIATE"_s))
        return schema::failureFrom(begin.lastError());
    m_importOpen = true;
    return std::nullopt;
}

MaybeFailure ClientBook::finishImport(bool keep)
{
    if (!m_importOpen)
        return Failure{u"no import is under way"_s};
    m_importOpen = false;
    QSqlQuery end(m_db);
    if (keep && end.exec(u"COMMIT"_s))
        return std::nullopt;
    MaybeFailure failure = keep ? MaybeFailure(schema::failureFrom(end.lastError())) : std::nullopt;
    QSqlQuery(m_db).exec(u"ROLLBACK"_s);
    return failure;
}

QList<PossibleDuplicate> ClientBook::possibleDuplicates() const
{
    QList<PossibleDuplicate> pairs;
    if (!m_readable)
        return pairs;
    // Only the clients who share a birth date with someone can be in a pair;
    // of them, only the names are read until a pair is found.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT id, first_name, last_name, birth_date FROM clients WHERE birth_date IN"
                    " (SELECT birth_date FROM clients GROUP BY birth_date HAVING count(*) > 1)"
                    " ORDER BY birth_date, id"_s))
        return pairs;
    // Each group of clients who may be one person, its clients in the order
    // they were added.
    QList<QList<qint64>> groups;
    QString date;
    QHash<QString, QList<qint64>> sameDay; // by duplicateKey
    auto closeDay = [&] {
        for (const QList<qint64> &ids : std::as_const(sameDay)) {
            if (ids.size() > 1)
                groups.append(ids);
        }
        sameDay.clear();
    };
    while (query.next()) {
        const QString born = query.value(3).toString();
        if (born != date) {
            closeDay();
            date = born;
        }
        sameDay[duplicateKey(query.value(1).toString(), query.value(2).toString())].append(
            query.value(0).toLongLong());
    }
    closeDay();

    // A group's pairs stay together, the groups in the list's order of
    // their first client.
    QHash<qint64, Client> byId;
    for (const QList<qint64> &ids : std::as_const(groups)) {
        for (qint64 id : ids) {
            if (std::optional<Client> c = client(id))
                byId.insert(id, *c);
        }
    }
    const auto sortKey = [&byId](const QList<qint64> &ids) {
        return personSortKey(byId.value(ids.front()).person);
    };
    std::stable_sort(groups.begin(), groups.end(), [&](const QList<qint64> &a, const QList<qint64> &b) {
        const QString keyA = sortKey(a), keyB = sortKey(b);
        return keyA != keyB ? keyA < keyB : a.front() < b.front();
    });
    for (const QList<qint64> &ids : std::as_const(groups)) {
        for (qsizetype i = 0; i < ids.size(); ++i) {
            for (qsizetype j = i + 1; j < ids.size(); ++j) {
                if (byId.contains(ids[i]) && byId.contains(ids[j]))
                    pairs.append({byId.value(ids[i]), byId.value(ids[j])});
            }
        }
    }
    return pairs;
}

Result<MergedClients> ClientBook::merge(qint64 keepId, qint64 otherId, bool fillEmpty, const QDateTime &now)
{
    if (auto failure = checkWritable())
        return *failure;
    if (keepId == otherId)
        return Failure{u"a client cannot be merged with themselves"_s};
    WriteTransaction transaction(m_db);
    if (transaction.failure())
        return *transaction.failure();
    std::optional<Client> kept = client(keepId);
    if (!kept)
        return Failure{u"client number %1 is not in the book"_s.arg(keepId)};
    const std::optional<Client> other = client(otherId);
    if (!other)
        return Failure{u"client number %1 is not in the book"_s.arg(otherId)};

    MergedClients merged{*kept, *other, 0};
    Client &k = merged.kept;
    if (fillEmpty) {
        for (auto [field, from] : {std::pair{&k.email, &other->email}, std::pair{&k.phone, &other->phone},
                                   std::pair{&k.notes, &other->notes}}) {
            if (kestrava::trimBlanks(*field).isEmpty() && !kestrava::trimBlanks(*from).isEmpty())
                *field = *from;
        }
    }
    k.changed = now.toUTC();
    QSqlQuery update(m_db);
    update.prepare(u"UPDATE clients SET email = ?, phone = ?, notes = ?, changed = ? WHERE id = ?"_s);
    update.addBindValue(text(k.email));
    update.addBindValue(text(k.phone));
    update.addBindValue(text(k.notes));
    update.addBindValue(timestampText(k.changed));
    update.addBindValue(k.id);
    if (!update.exec())
        return schema::failureFrom(update.lastError());

    // The history moves before the other client goes: removing a client
    // removes whatever history is still theirs.
    QSqlQuery move(m_db);
    move.prepare(u"UPDATE readings SET client_id = ? WHERE client_id = ?"_s);
    move.addBindValue(k.id);
    move.addBindValue(otherId);
    if (!move.exec())
        return schema::failureFrom(move.lastError());
    merged.movedEntries = move.numRowsAffected();
    QSqlQuery remove(m_db);
    remove.prepare(u"DELETE FROM clients WHERE id = ?"_s);
    remove.addBindValue(otherId);
    if (!remove.exec())
        return schema::failureFrom(remove.lastError());
    // The search finds the kept client by both histories now.
    if (auto failure = rebuildHistoryWords(k.id))
        return *failure;
    if (auto failure = transaction.commit())
        return *failure;
    return merged;
}

} // namespace clients
