#include "clients/schema.h"

#include "clients/clientbook.h"
#include "clients/historytext.h"
#include "clients/searchtext.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace clients::schema {

namespace {

kestrava::MaybeFailure execAll(QSqlDatabase &db, const QStringList &statements)
{
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            return failureFrom(query.lastError());
    }
    return std::nullopt;
}

// Version 1: the clients with their birth names, and their readings.
kestrava::MaybeFailure toVersion1(QSqlDatabase &db)
{
    return execAll(db, {
        u"CREATE TABLE clients ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " first_name TEXT NOT NULL, middle_name TEXT NOT NULL DEFAULT '', last_name TEXT NOT NULL,"
        " birth_date TEXT NOT NULL,"
        " email TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '',"
        " added TEXT NOT NULL, changed TEXT NOT NULL)"_s,
        u"CREATE INDEX clients_birth_date ON clients (birth_date)"_s,
        u"CREATE TABLE readings ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " client_id INTEGER NOT NULL REFERENCES clients (id) ON DELETE CASCADE,"
        " program INTEGER NOT NULL, at TEXT NOT NULL, inputs TEXT NOT NULL)"_s,
        u"CREATE INDEX readings_client ON readings (client_id, at)"_s,
    });
}

// Version 2: the name a client goes by now, and the folded words and sort
// key that make the search and the list fast in a large book.
kestrava::MaybeFailure toVersion2(QSqlDatabase &db)
{
    if (auto failure = execAll(db, {
            u"ALTER TABLE clients ADD COLUMN name_now TEXT NOT NULL DEFAULT ''"_s,
            // Kept in the list's order, so that the list and a search that
            // matches many clients read only the start of it.
            u"CREATE TABLE client_search ("
            " sort_key TEXT NOT NULL,"
            " client_id INTEGER NOT NULL UNIQUE REFERENCES clients (id) ON DELETE CASCADE,"
            " words TEXT NOT NULL,"
            " PRIMARY KEY (sort_key, client_id)) WITHOUT ROWID"_s,
        }))
        return failure;

    QSqlQuery rows(db);
    if (!rows.exec(u"SELECT id, first_name, middle_name, last_name, birth_date FROM clients"_s))
        return failureFrom(rows.lastError());
    QSqlQuery insert(db);
    insert.prepare(u"INSERT INTO client_search (client_id, words, sort_key) VALUES (?, ?, ?)"_s);
    while (rows.next()) {
        const kestrava::Person person{rows.value(1).toString(), rows.value(2).toString(), rows.value(3).toString(),
                                      QDate::fromString(rows.value(4).toString(), Qt::ISODate), QString()};
        insert.addBindValue(rows.value(0));
        insert.addBindValue(personSearchWords(person));
        insert.addBindValue(personSortKey(person));
        if (!insert.exec())
            return failureFrom(insert.lastError());
    }
    return std::nullopt;
}

// Version 3: a history entry may be a report, which no program gave: its
// program is NULL.  SQLite cannot drop NOT NULL from a column, so the table
// is made anew; the entries keep their numbers, and the numbering goes on
// after the highest ever given, so that undoing a deletion cannot collide.
kestrava::MaybeFailure toVersion3(QSqlDatabase &db)
{
    return execAll(db, {
        u"CREATE TABLE readings_v3 ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " client_id INTEGER NOT NULL REFERENCES clients (id) ON DELETE CASCADE,"
        " program INTEGER, at TEXT NOT NULL, inputs TEXT NOT NULL)"_s,
        u"INSERT INTO readings_v3 (id, client_id, program, at, inputs)"
        " SELECT id, client_id, program, at, inputs FROM readings"_s,
        u"DELETE FROM sqlite_sequence WHERE name = 'readings_v3'"_s,
        u"UPDATE sqlite_sequence SET name = 'readings_v3' WHERE name = 'readings'"_s,
        u"DROP TABLE readings"_s,
        u"ALTER TABLE readings_v3 RENAME TO readings"_s,
        u"CREATE INDEX readings_client ON readings (client_id, at)"_s,
    });
}

// Version 4: the words of each client's history beside their name words,
// so that a search finds clients by what was read for them.
kestrava::MaybeFailure toVersion4(QSqlDatabase &db)
{
    if (auto failure = execAll(db, {u"ALTER TABLE client_search ADD COLUMN history TEXT NOT NULL DEFAULT ''"_s}))
        return failure;
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(u"SELECT client_id, program, at, inputs FROM readings ORDER BY client_id, at, id"_s))
        return failureFrom(rows.lastError());
    QSqlQuery update(db);
    update.prepare(u"UPDATE client_search SET history = history || ? WHERE client_id = ?"_s);
    while (rows.next()) {
        ReadingEntry entry;
        entry.clientId = rows.value(0).toLongLong();
        entry.program = rows.value(1).isNull() ? std::nullopt
                                               : std::optional(kestrava::ProgramId(rows.value(1).toInt()));
        entry.at = QDateTime::fromString(rows.value(2).toString(), Qt::ISODateWithMs);
        entry.inputs = rows.value(3).toString();
        update.addBindValue(entrySearchWords(entry));
        update.addBindValue(entry.clientId);
        if (!update.exec())
            return failureFrom(update.lastError());
    }
    return std::nullopt;
}

// Version 5: each client's birth names folded into one key beside the birth
// date, so that an import finds whether a person is in the book with one
// look-up however many clients were born that day.
kestrava::MaybeFailure toVersion5(QSqlDatabase &db)
{
    if (auto failure = execAll(db, {u"ALTER TABLE clients ADD COLUMN person_key TEXT NOT NULL DEFAULT ''"_s}))
        return failure;
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(u"SELECT id, first_name, middle_name, last_name FROM clients"_s))
        return failureFrom(rows.lastError());
    QSqlQuery update(db);
    update.prepare(u"UPDATE clients SET person_key = ? WHERE id = ?"_s);
    while (rows.next()) {
        const kestrava::Person person{rows.value(1).toString(), rows.value(2).toString(), rows.value(3).toString(),
                                      QDate(), QString()};
        update.addBindValue(personKey(person));
        update.addBindValue(rows.value(0));
        if (!update.exec())
            return failureFrom(update.lastError());
    }
    return execAll(db, {u"CREATE INDEX clients_same_person ON clients (birth_date, person_key)"_s});
}

} // namespace

bool hasTablesOf(QSqlDatabase &db, int version)
{
    QStringList clients{u"id"_s, u"first_name"_s, u"middle_name"_s, u"last_name"_s, u"birth_date"_s, u"email"_s,
                        u"phone"_s, u"notes"_s, u"added"_s, u"changed"_s};
    const QStringList readings{u"id"_s, u"client_id"_s, u"program"_s, u"at"_s, u"inputs"_s};
    QStringList search;
    if (version >= 2) {
        clients << u"name_now"_s;
        search << u"sort_key"_s << u"client_id"_s << u"words"_s;
    }
    if (version >= 4)
        search << u"history"_s;
    if (version >= 5)
        clients << u"person_key"_s;
    const std::pair<QString, QStringList> tables[] = {
        {u"clients"_s, clients}, {u"readings"_s, readings}, {u"client_search"_s, search}};
    for (const auto &[table, columns] : tables) {
        if (columns.isEmpty())
            continue;
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(u"SELECT name FROM pragma_table_info(?)"_s);
        query.addBindValue(table);
        if (!query.exec())
            return false;
        QStringList found;
        while (query.next())
            found.append(query.value(0).toString());
        for (const QString &column : columns) {
            if (!found.contains(column))
                return false;
        }
    }
    return true;
}

kestrava::MaybeFailure migrate(QSqlDatabase &db, int fromVersion)
{
    using Step = kestrava::MaybeFailure (*)(QSqlDatabase &);
    static constexpr Step steps[] = {toVersion1, toVersion2, toVersion3, toVersion4, toVersion5};
    static_assert(std::size(steps) == kSchemaVersion);
    if (fromVersion < 0 || fromVersion > kSchemaVersion)
        return kestrava::Failure{u"the client book's version %1 is not one Kestrava writes"_s.arg(fromVersion)};
    for (int version = fromVersion; version < kSchemaVersion; ++version) {
        if (auto failure = steps[version](db))
            return failure;
    }
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA user_version = %1"_s.arg(kSchemaVersion))
        || !query.exec(u"PRAGMA application_id = %1"_s.arg(kApplicationId)))
        return failureFrom(query.lastError());
    return std::nullopt;
}

kestrava::Failure failureFrom(const QSqlError &error)
{
    // Extended result codes: the primary code is the low byte.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return {u"another program kept the client book busy for more than %1 seconds"_s.arg(kBusyTimeoutMs / 1000)};
    case 8: // SQLITE_READONLY
        return {u"the client book cannot be written"_s};
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return {u"the client book is damaged"_s};
    case 13: // SQLITE_FULL
        return {u"the disk is full, so the change was not made; the client book is safe as it was"_s};
    default:
        break;
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return {text.isEmpty() ? u"the client book could not be changed"_s : text};
}

} // namespace clients::schema
