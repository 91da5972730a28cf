#pragma once

#include "cli/command.h"

// kestrava-cli report: the practitioner's report for one person or client,
// written as a PDF document or a web page.
extern const Command kReportCommand;
