#pragma once

#include "common/failure.h"

#include <QSqlDatabase>
#include <QSqlError>

// The book's tables, version by version.  Each version's step brings a file
// of the version before it forward; a new file takes every step.
namespace clients::schema {

// Runs the steps from `fromVersion` up to kSchemaVersion and records the
// version, inside the caller's transaction.
kestrava::MaybeFailure migrate(QSqlDatabase &db, int fromVersion);

// The failure to report for a database error, in words for the user.
kestrava::Failure failureFrom(const QSqlError &error);

} // namespace clients::schema
