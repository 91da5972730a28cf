#include "common/updatereminder.h"

#include <gtest/gtest.h>

using kestrava::ReminderStep;

namespace {

QDateTime at(int year, int month, int day, int hour = 9, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

} // namespace

TEST(ReminderStep, CountsCalendarDaysInEitherDirection)
{
    struct Row
    {
        const char *what;
        QString stored;
        QDateTime now;
        ReminderStep expected;
    };
    const QDateTime now = at(2026, 12, 10);
    const Row rows[] = {
        {"never reminded", QString(), now, ReminderStep::Start},
        {"unreadable date", QStringLiteral("next Tuesday"), now, ReminderStep::Nothing},
        {"same moment", kestrava::reminderDateText(now), now, ReminderStep::Nothing},
        {"14 days ago", kestrava::reminderDateText(now.addDays(-14)), now, ReminderStep::Nothing},
        {"15 days ago", kestrava::reminderDateText(now.addDays(-15)), now, ReminderStep::Ask},
        {"a year ago", kestrava::reminderDateText(now.addYears(-1)), now, ReminderStep::Ask},
        {"14 days ahead (clock moved back)", kestrava::reminderDateText(now.addDays(14)), now,
         ReminderStep::Nothing},
        {"15 days ahead (clock moved back)", kestrava::reminderDateText(now.addDays(15)), now, ReminderStep::Ask},
        // Calendar days, not periods of 24 hours.
        {"15 days minus two seconds", kestrava::reminderDateText(at(2026, 11, 25, 23, 59, 59)),
         at(2026, 12, 10, 0, 0, 1), ReminderStep::Ask},
        {"14 days plus almost a day", kestrava::reminderDateText(at(2026, 11, 26, 0, 0, 0)),
         at(2026, 12, 10, 23, 59, 59), ReminderStep::Nothing},
        {"15 days over a new year", kestrava::reminderDateText(at(2026, 12, 25, 18, 0)), at(2027, 1, 9, 7, 0),
         ReminderStep::Ask},
        {"14 days over a new year", kestrava::reminderDateText(at(2026, 12, 26, 7, 0)), at(2027, 1, 9, 18, 0),
         ReminderStep::Nothing},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(int(kestrava::reminderStep(row.stored, row.now)), int(row.expected));
    }
}
