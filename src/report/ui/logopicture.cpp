#include "report/ui/logopicture.h"

#include "report/logo.h"

namespace report::ui {

std::optional<QByteArray> logoFormat(const QString &path)
{
    const std::variant<Logo, QString> logo = readLogo(path);
    if (const Logo *read = std::get_if<Logo>(&logo))
        return read->format;
    return std::nullopt;
}

QImage logoImage(const QString &path, QSize fitInto)
{
    const std::variant<Logo, QString> logo = readLogo(path);
    if (const Logo *read = std::get_if<Logo>(&logo))
        return report::logoImage(*read, fitInto);
    return {};
}

} // namespace report::ui
