#include "report/ui/logopicture.h"

#include <QFileInfo>
#include <QImageReader>

namespace report::ui {

namespace {

// A logo is a small picture; a larger file is refused before it is read.
constexpr qint64 kMaxLogoBytes = 16 * 1024 * 1024;

} // namespace

std::optional<QByteArray> logoFormat(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || file.size() > kMaxLogoBytes)
        return std::nullopt;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format().toLower();
    if (format != "svg" && format != "png")
        return std::nullopt;
    // Read through once: a damaged file names its format in its first bytes
    // and fails only later.
    if (reader.read().isNull())
        return std::nullopt;
    return format;
}

QImage logoImage(const QString &path, QSize fitInto)
{
    const std::optional<QByteArray> format = logoFormat(path);
    if (!format || fitInto.isEmpty())
        return {};
    QImageReader reader(path, *format);
    const QSize natural = reader.size();
    if (natural.isValid() && !natural.isEmpty())
        reader.setScaledSize(natural.scaled(fitInto, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && (image.width() > fitInto.width() || image.height() > fitInto.height()))
        image = image.scaled(fitInto, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace report::ui
