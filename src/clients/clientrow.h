#pragma once

#include "clients/client.h"

#include <QDateTime>
#include <QString>

class QSqlQuery;
class QVariant;

// How a client is read back from the book: the columns every query that
// lists clients selects (the clients table as c), in the order clientFrom
// reads them.
namespace clients {

extern const QString kClientColumns;

// A stored time (UTC, ISO 8601 with milliseconds).
QDateTime timestampFrom(const QVariant &value);

// The client on the query's current row, which selected kClientColumns first.
Client clientFrom(const QSqlQuery &q);

} // namespace clients
