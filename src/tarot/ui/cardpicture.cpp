#include "tarot/ui/cardpicture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tarot {

QPixmap cardPicture(const QString &pictureKey, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(QStringLiteral(":/images/tarot/") + QString(pictureKey).replace(u' ', u'-')
                          + QStringLiteral(".svg"));
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace tarot
