#include "clients/clientrow.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace clients {

const QString kClientColumns =
    u"c.id, c.first_name, c.middle_name, c.last_name, c.birth_date, c.name_now, c.email, c.phone, c.notes,"
    " c.added, c.changed"_s;

QDateTime timestampFrom(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

Client clientFrom(const QSqlQuery &q)
{
    Client c;
    c.id = q.value(0).toLongLong();
    c.person = {q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                QDate::fromString(q.value(4).toString(), Qt::ISODate), q.value(5).toString()};
    c.email = q.value(6).toString();
    c.phone = q.value(7).toString();
    c.notes = q.value(8).toString();
    c.added = timestampFrom(q.value(9));
    c.changed = timestampFrom(q.value(10));
    return c;
}

} // namespace clients
