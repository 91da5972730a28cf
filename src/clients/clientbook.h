#pragma once

#include "clients/client.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// The client book: every person the practitioner keeps, in one SQLite file
// that the suite's windows, the command line and the imports share.
namespace clients {

// The schema version this build writes.  Older files are brought forward
// when they are opened; newer ones are only read.
inline constexpr int kSchemaVersion = 5;

// How long a change waits for another program that is writing to the same
// file before it gives up.
inline constexpr int kBusyTimeoutMs = 5000;

// Where the book lives: the file named by the KESTRAVA_CLIENTS environment
// variable when that is set and not empty, otherwise kestrava/clients.sqlite
// in the user's data folder.  Both are passed in; clientBookLocation()
// (clients/booklocation.h) passes this process's.
QString clientBookPath(const QString &kestravaClientsVariable, const QString &genericDataFolder);

// Why a book cannot be changed, or not read at all.
struct BookProblem
{
    enum class Kind {
        NewerVersion, // written by a later Kestrava: read-only
        Damaged,      // damaged as SQLite finds it, another program's database, or a version no Kestrava writes
        Unwritable,   // no permission to change the file or its folder
        CannotOpen,   // no file could be opened or created at the path
    };
    Kind kind;
    QString message; // a whole sentence for the user, naming the file
};

// Reports progress while many clients go in (total is -1 while it is not
// known); return false to stop, which leaves the book as it was.
using Progress = std::function<bool(int done, int total)>;

// One person to add by an import, with where they came from.
struct ImportCandidate
{
    Client client;  // id and timestamps are ignored
    QString source; // the file, or the file and row, for the report
};

// Two clients who may be one person (ClientBook::possibleDuplicates).
struct PossibleDuplicate
{
    Client first;
    Client second;
};

// What a merge did: the client kept, as it now is, and the one removed, as
// it was before.
struct MergedClients
{
    Client kept;
    Client removed;
    int movedEntries = 0; // the removed client's readings and reports, now the kept one's
};

// What became of each candidate of addMany.
enum class CandidateOutcome { Added, AlreadyThere };

// An open client book.  One object is one connection to the file: use it on
// the thread that made it.  Every change is one transaction, and several
// programs may write at once (each waits up to kBusyTimeoutMs for the other).
class ClientBook
{
public:
    // Opens the book at path, creating it (and its folder) when there is no
    // file yet and bringing an older file up to kSchemaVersion.  A book is
    // known by its mark and its tables; a file that is no book, is newer,
    // damaged or unwritable is never altered: it is opened read-only where
    // it can be read, and problem() says why.  Opening takes no lock that
    // keeps other programs from reading or writing, unless the book is new
    // or older and must be brought forward.
    explicit ClientBook(const QString &path);
    ~ClientBook();
    ClientBook(const ClientBook &) = delete;
    ClientBook &operator=(const ClientBook &) = delete;

    QString path() const { return m_path; }
    // Whether the book can be read (the list and search work).
    bool isReadable() const { return m_readable; }
    // Whether changes can be made.
    bool isWritable() const { return m_writable; }
    // Why the book is read-only or cannot be read; nothing when it is writable.
    const std::optional<BookProblem> &problem() const { return m_problem; }
    // The schema version of the file as it was found (0 for a new file).
    int versionFound() const { return m_versionFound; }

    // How many clients the book holds.
    int count() const;
    // Clients in the list's order (last, first, middle name, without case or
    // accents), from `offset`, at most `limit` of them.
    QList<Client> list(int offset, int limit) const;
    // Clients matching what was typed, closest first: every typed word must
    // be part of a name or of the birth date (YYYY-MM-DD; D.M.YYYY is
    // understood), or of the client's history in words (entrySearchWords).
    // Clients where every word is a whole name or the date come first, then
    // those where every word starts a name or the date, then those where
    // every word is inside one, then those found by their history; within
    // each, in the list's order.  Case and accents are ignored.  An empty
    // text gives the start of the list.  At most `limit` clients (-1: all).
    QList<Client> search(const QString &typed, int limit) const;
    // Every client search() would give without a limit (the whole list for
    // an empty text), in the same order, handed to `take` one by one as the
    // book reads them, so that none has to wait for the last; `take` returns
    // false to stop.  Why the book could not be read, if it could not.
    kestrava::MaybeFailure forEachMatch(const QString &typed,
                                        const std::function<bool(const Client &)> &take) const;
    // Reads what a search reads, so that the first search after opening is
    // as quick as the next ones (and finds damage in it: damageMet()).
    void prepareSearch() const;
    // Whether a read of this object has met a damaged part of the file
    // since it was opened or last rebuilt: the list and the search may then
    // miss clients the book holds.
    bool damageMet() const { return m_damageMet; }
    // Every client, in the order they were added, read from the clients
    // themselves rather than through the search table, so that a damaged
    // search table loses none of them; handed to `take` one by one as the
    // book reads them (`take` returns false to stop).  Why the book could
    // not be read to the end, if it could not: the clients before that
    // were handed over.
    kestrava::MaybeFailure forEachClient(const std::function<bool(const Client &)> &take) const;
    // Makes the search table (which the list and the search read) again
    // from the clients and their history, in one transaction: it mends a
    // search table that is damaged.  How many clients it holds now.
    Result<int> rebuildSearchIndex();
    // A number that changes when another program (or another connection)
    // has changed the file since it was last asked; changes made through
    // this object leave it as it is.
    qint64 dataVersion() const;
    // The client with this number, if the book has one.
    std::optional<Client> client(qint64 id) const;
    // The client with the same birth names (ignoring case and outer blanks)
    // and the same birth date, if there is one; the client numbered `except`
    // is passed over (the one being changed).
    std::optional<Client> samePerson(const kestrava::Person &person, qint64 except = 0) const;

    // Adds the client (its id is ignored).  A client needs a first or a last
    // name and a valid birth date, and is refused when the book holds the
    // same person (samePerson).  Added and changed are `now`.  Names, e-mail
    // and phone lose their outer blanks.  Returns the client as stored.
    Result<Client> add(const Client &client, const QDateTime &now);
    // Replaces the stored client with the same id; changed becomes `now`.
    // Refused, naming the other client, when the change would make the
    // client the same person as another one of the book.
    Result<Client> edit(const Client &client, const QDateTime &now);
    // Deletes the client and their history; returns what restore() needs to
    // bring them back.
    Result<DeletedClient> remove(qint64 id);
    // Undoes remove(): the client returns with the same number and history.
    kestrava::MaybeFailure restore(const DeletedClient &deleted);

    // Adds a reading or a report (ReadingEntry::report) to a client's
    // history (its id is ignored).
    Result<ReadingEntry> addReading(const ReadingEntry &entry);
    // A client's readings and reports, oldest first.
    QList<ReadingEntry> history(qint64 clientId) const;
    // Replaces the inputs of a history entry (to add the file it was saved
    // to, see inputsWithFile); returns the entry as stored.
    Result<ReadingEntry> setReadingInputs(qint64 entryId, const QString &inputs);

    // Adds the candidates in one transaction, skipping anyone already in the
    // book or earlier in the list (same person as samePerson()).  Either all
    // of them go in or, on a failure or when progress says stop, none.
    // A candidate that add() would refuse must have been filtered out before.
    Result<QList<CandidateOutcome>> addMany(const QList<ImportCandidate> &candidates, const QDateTime &now,
                                            const Progress &progress = {});

    // An import too large to hold at once: between beginImport() and
    // finishImport(), each addMany() adds inside one transaction, which
    // finishImport(true) commits and finishImport(false) (or closing the
    // book) rolls back, so that either all of it goes in or none.
    kestrava::MaybeFailure beginImport();
    kestrava::MaybeFailure finishImport(bool keep);

    // Every client, in the list's order.
    QList<Client> all() const { return list(0, -1); }

    // Clients who may be one person entered twice: born the same day with
    // the same last name, compared as the search compares names (without
    // case or accents, word by word); clients without a last name are
    // compared by their first name.  Each pair once, the client added first
    // as `first`; three or more alike give every pair of them, side by side,
    // and such groups come in the list's order of their first client.
    QList<PossibleDuplicate> possibleDuplicates() const;
    // Makes two clients one in one transaction: the client numbered `keepId`
    // keeps its names, date and ways to reach them, takes the other's
    // readings and reports into its history, and with fillEmpty takes the
    // other's e-mail, phone and notes where its own are empty; the other
    // client is removed.  Changed becomes `now`.
    Result<MergedClients> merge(qint64 keepId, qint64 otherId, bool fillEmpty, const QDateTime &now);

private:
    // What the read-only look at the file found.
    enum class Probe {
        Refused, // a problem is noted: the book is open read-only, or not at all
        Missing, // no book yet: one is made
        Book,    // a book (or an empty SQLite file) this version may change
    };
    void open();
    // Finds what the file is without changing it: missing, a book of which
    // version, newer, damaged, another program's, unwritable.
    Probe probe();
    // Makes the file when `create`, opens it for writing and switches it to
    // WAL; the schema version it holds, or nothing after noting the problem.
    std::optional<int> openForWriting(bool create);
    // Takes a book older than this version through the schema steps, in one
    // transaction, and leaves the book writable.
    void bringForward(int version, bool wasReadable, bool created);
    void setProblem(BookProblem::Kind kind, const QString &message);
    void setNewer(int version);
    // The book cannot be used at all: notes why and lets go of the file.
    void refuse(BookProblem::Kind kind, const QString &message);
    void refuseForeign();
    // Why the file could not be read, as SQLite found it.
    void refuseUnread(const QSqlError &error, bool cutOff);
    bool openConnection(bool readOnly, bool immutable = false);
    kestrava::MaybeFailure checkWritable() const;
    kestrava::MaybeFailure insert(Client &client, bool keepId);
    Result<Client> addInTransaction(const Client &client, const QDateTime &now);
    kestrava::MaybeFailure rebuildHistoryWords(qint64 clientId);
    // The failure of a read, noting whether it met damage.
    kestrava::Failure readFailure(const QSqlError &error) const;

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_readable = false;
    bool m_writable = false;
    int m_versionFound = 0;
    std::optional<BookProblem> m_problem;
    mutable bool m_damageMet = false;
    bool m_importOpen = false;
};

// A client as the book would store it: outer blanks removed from the names,
// e-mail and phone.  Why it cannot be stored, if it cannot.
kestrava::MaybeFailure checkClient(const Client &client);

} // namespace clients
