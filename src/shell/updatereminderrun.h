#pragma once

#include "platform/services.h"

class QWidget;

// Runs the update reminder: at most every 15 days asks whether to look for
// an update and opens the download page on Yes.  The reminder date lives in
// the settings store under "UpdateReminderDate".
void runUpdateReminder(const platform::Services &services, QWidget *parent);
