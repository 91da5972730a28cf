#pragma once

#include <QDateTime>
#include <QString>

namespace kestrava {

enum class ReminderStep {
    Start,   // no reminder date yet: remember now, ask nothing
    Nothing, // reminded within the last 14 days (or the date is unreadable)
    Ask,     // ask whether to look for an update, then remember now
};

// Decides what the update reminder does, given the stored reminder date
// (as written by reminderDateText) and the current date and time.  The
// question comes back once 15 calendar days lie between the two dates, in
// either direction, so a clock moved far back asks again too.
ReminderStep reminderStep(const QString &storedDate, const QDateTime &now);

// The text stored as the reminder date.
QString reminderDateText(const QDateTime &when);

} // namespace kestrava
