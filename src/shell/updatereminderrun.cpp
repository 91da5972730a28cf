#include "shell/updatereminderrun.h"

#include "common/updatereminder.h"
#include "platform/settingsstore.h"
#include "platform/weblinks.h"

namespace {
const QString kReminderKey = QStringLiteral("UpdateReminderDate");
}

void runUpdateReminder(const platform::Services &services, QWidget *parent)
{
    const QDateTime now = services.clock->now();
    const kestrava::ReminderStep step = kestrava::reminderStep(platform::readSetting(kReminderKey), now);
    if (step == kestrava::ReminderStep::Nothing)
        return;
    platform::writeSetting(kReminderKey, kestrava::reminderDateText(now));
    if (step == kestrava::ReminderStep::Start)
        return;
    const bool yes = services.messages->ask(parent, platform::Icon::Information,
                                            QObject::tr("There maybe an update to this software available\n"
                                                        "Do you want to check for an update?"));
    if (yes)
        kestrava::openWebPage(kestrava::page::kDownload);
}
