#include "common/updatereminder.h"

namespace kestrava {

ReminderStep reminderStep(const QString &storedDate, const QDateTime &now)
{
    if (storedDate.isEmpty())
        return ReminderStep::Start;
    const QDateTime reminded = QDateTime::fromString(storedDate, Qt::ISODate);
    if (!reminded.isValid())
        return ReminderStep::Nothing;
    const qint64 days = now.date().daysTo(reminded.date());
    return (days >= -14 && days <= 14) ? ReminderStep::Nothing : ReminderStep::Ask;
}

QString reminderDateText(const QDateTime &when)
{
    return when.toString(Qt::ISODate);
}

} // namespace kestrava
