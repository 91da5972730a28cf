#include "report/reportfiles.h"

#include "common/savefile.h"
#include "report/reporthtml.h"
#include "report/reportlayout.h"

#include <QSaveFile>

namespace report {

kestrava::MaybeFailure writeReport(const Report &report, ReportFormat format, const QString &path)
{
    const QByteArray bytes = format == ReportFormat::Pdf ? reportPdf(ReportLayout(report)) : reportHtml(report).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kestrava::Failure{file.errorString()};
    if (const std::optional<kestrava::SaveFailure> failure = kestrava::writeAndCommit(file, bytes))
        return kestrava::Failure{failure->reason};
    return std::nullopt;
}

} // namespace report
