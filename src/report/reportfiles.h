#pragma once

#include "common/failure.h"
#include "report/reportcontent.h"

#include <QString>

namespace report {

enum class ReportFormat { Pdf, Html };

// Writes the report in the format; the file takes the old one's place only
// when complete, so a failure leaves an existing file as it was.
kestrava::MaybeFailure writeReport(const Report &report, ReportFormat format, const QString &path);

} // namespace report
