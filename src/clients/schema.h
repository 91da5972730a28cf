#pragma once

#include "common/failure.h"

#include <QSqlDatabase>
#include <QSqlError>

// The book's tables, version by version.  Each version's step brings a file
// of the version before it forward; a new file takes every step.
namespace clients::schema {

// Marks a file as a client book (PRAGMA application_id): "KSTV".  Set when a
// book is made or brought forward; books from before it are known by their
// tables alone.
inline constexpr qint32 kApplicationId = 0x4B535456;

// Whether the open database has the tables and columns a client book of
// `version` (1 up to kSchemaVersion) has.  Reads only.
bool hasTablesOf(QSqlDatabase &db, int version);

// Runs the steps from `fromVersion` up to kSchemaVersion and records the
// version and the mark, inside the caller's transaction.
kestrava::MaybeFailure migrate(QSqlDatabase &db, int fromVersion);

// The failure to report for a database error, in words for the user.
kestrava::Failure failureFrom(const QSqlError &error);

} // namespace clients::schema
