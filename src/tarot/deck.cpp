#include "tarot/deck.h"

#include "common/jsonresource.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

namespace tarot {

namespace {

// Read once, on first use, and never changed: safe to read from any thread.
const QList<DeckCard> &deck()
{
    static const QList<DeckCard> cards = [] {
        QList<DeckCard> result;
        const QJsonArray entries =
            kestrava::readJsonResource(QStringLiteral(":/texts/tarot/deck.json")).value(u"cards").toArray();
        for (const QJsonValue &entry : entries) {
            const QJsonObject c = entry.toObject();
            result.append({c.value(u"name").toString(), c.value(u"keywords").toString(),
                           c.value(u"description").toString(), c.value(u"picture").toString()});
        }
        if (result.size() != kDeckSize)
            qWarning("the tarot deck holds %d cards instead of %d", int(result.size()), kDeckSize);
        return result;
    }();
    return cards;
}

} // namespace

const DeckCard *deckCard(int number)
{
    const QList<DeckCard> &cards = deck();
    return number >= 0 && number < cards.size() ? &cards[number] : nullptr;
}

QString cardPicturePath(const QString &pictureKey)
{
    return QStringLiteral(":/images/tarot/") + QString(pictureKey).replace(u' ', u'-') + QStringLiteral(".svg");
}

} // namespace tarot
