#include "tarot/ui/cardpicture.h"

#include "tarot/deck.h"
#include "widgets/svgpicture.h"

namespace tarot {

QPixmap cardPicture(const QString &pictureKey, QSize size, qreal devicePixelRatio)
{
    return pictures::svgPicture(cardPicturePath(pictureKey), size, devicePixelRatio);
}

} // namespace tarot
