#include "tarot/ui/cardpicture.h"

#include "widgets/svgpicture.h"

namespace tarot {

QPixmap cardPicture(const QString &pictureKey, QSize size, qreal devicePixelRatio)
{
    return pictures::svgPicture(QStringLiteral(":/images/tarot/") + QString(pictureKey).replace(u' ', u'-')
                                    + QStringLiteral(".svg"),
                                size, devicePixelRatio);
}

} // namespace tarot
