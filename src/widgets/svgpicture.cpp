#include "widgets/svgpicture.h"

#include <QImageReader>

namespace pictures {

QPixmap svgPicture(const QString &path, QSize size, qreal devicePixelRatio)
{
    // Through Qt SVG's image plugin, loaded when the first picture is drawn:
    // linking the SVG library itself made every start load it, though the
    // main window shows its pictures from the artwork cache.
    QImageReader reader(path, "svg");
    reader.setScaledSize(size * devicePixelRatio);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace pictures
