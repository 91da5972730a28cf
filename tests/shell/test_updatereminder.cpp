#include "common/updatereminder.h"
#include "platform/settingsstore.h"
#include "shell/updatereminderrun.h"
#include "support/testservices.h"

#include <gtest/gtest.h>

namespace {

const QString kReminderKey = QStringLiteral("UpdateReminderDate");
const QString kQuestion = QStringLiteral("There maybe an update to this software available\n"
                                         "Do you want to check for an update?");
const QString kDownloadPage = QStringLiteral("https://www.kestrava.example/kestrava/ssd.php?page=download-web-page");

// The settings store is shared by the whole test run, and the input window
// runs the reminder when it opens: leave no date behind that would make a
// later window test meet an unexpected question.
struct ClearedReminderDate
{
    ClearedReminderDate() { platform::writeSetting(kReminderKey, QString()); }
    ~ClearedReminderDate() { platform::writeSetting(kReminderKey, QString()); }
};

} // namespace

TEST(UpdateReminder, AsksEveryFifteenDaysAndRemembersWhenItLastAsked)
{
    struct Step
    {
        const char *what;
        int day; // days after the first run
        bool answer;
        bool asks;
        int rememberedDay; // the date stored afterwards
    };
    const Step steps[] = {
        {"first run only remembers the date", 0, false, false, 0},
        {"14 days later stays quiet", 14, false, false, 0},
        {"15 days later asks; No", 15, false, true, 15},
        {"right after a No stays quiet", 15, false, false, 15},
        {"29 days stays quiet (14 since the question)", 29, false, false, 15},
        {"30 days asks again; Yes", 30, true, true, 30},
        {"right after a Yes stays quiet", 30, true, false, 30},
        {"clock moved back 15 days asks", 15, false, true, 15},
        {"clock moved back 14 more days stays quiet", 1, false, false, 15},
        {"clock moved back 15 more days asks; Yes", 0, true, true, 0},
    };

    ClearedReminderDate cleared;
    TestServices test;
    UrlCatcher catcher;
    const QDateTime start = test.clock.now();
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        test.messages.shown.clear();
        test.messages.answers = {step.answer};
        catcher.opened.clear();
        test.clock.set(start.addDays(step.day));

        runUpdateReminder(test.services(), nullptr);

        if (step.asks) {
            ASSERT_EQ(test.messages.shown.size(), 1);
            EXPECT_TRUE(test.messages.shown[0].question);
            EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Information);
            EXPECT_EQ(test.messages.shown[0].text, kQuestion);
        } else {
            EXPECT_TRUE(test.messages.shown.isEmpty());
        }
        EXPECT_EQ(catcher.opened, step.asks && step.answer ? QStringList{kDownloadPage} : QStringList{});
        EXPECT_EQ(platform::readSetting(kReminderKey),
                  kestrava::reminderDateText(start.addDays(step.rememberedDay)));
    }
}
