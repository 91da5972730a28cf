#include "tarot/profiles.h"

#include "common/jsonresource.h"
#include "tarot/deck.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>

namespace tarot {

namespace {

struct Data
{
    QMap<int, NumberProfile> profiles;
    QJsonObject planets;
    QJsonObject destinyTexts;
    QJsonObject lifePathTexts;
};

// Read once, on first use; never changed afterwards, so it may be read from
// any thread.
const Data &data()
{
    static const Data loaded = [] {
        Data d;
        const QJsonObject file = kestrava::readJsonResource(QStringLiteral(":/texts/tarot/profiles.json"));
        const QJsonObject profiles = file.value(u"profiles").toObject();
        for (auto it = profiles.begin(); it != profiles.end(); ++it) {
            const QJsonObject p = it.value().toObject();
            NumberProfile profile{it.key().toInt(),
                                  p.value(u"planet").toString(),
                                  p.value(u"luckyDay").toString(),
                                  p.value(u"bestDays").toString(),
                                  p.value(u"bestColours").toString(),
                                  p.value(u"luckyStones").toString(),
                                  {}};
            for (const QJsonValue &card : p.value(u"cards").toArray()) {
                const QJsonObject c = card.toObject();
                TarotCard entry{c.value(u"name").toString(), c.value(u"keywords").toString(),
                                c.value(u"picture").toString(), c.value(u"description").toString()};
                // A Major Arcana card reads as it does in the deck.
                if (const DeckCard *same = deckCard(c.value(u"card").toInt(-1))) {
                    entry.keywords = same->keywords;
                    entry.description = same->description;
                }
                profile.cards.append(entry);
            }
            d.profiles.insert(profile.number, profile);
        }
        d.planets = file.value(u"planets").toObject();
        d.destinyTexts = file.value(u"destinyTexts").toObject();
        d.lifePathTexts = kestrava::readJsonResource(QStringLiteral(":/texts/tarot/lifePath.json")).value(u"texts").toObject();
        return d;
    }();
    return loaded;
}

} // namespace

QList<int> profileNumbers()
{
    return data().profiles.keys();
}

const NumberProfile *numberProfile(int number)
{
    const auto &profiles = data().profiles;
    const auto it = profiles.constFind(number);
    return it == profiles.cend() ? nullptr : &it.value();
}

QList<TarotCard> numberCards(int number)
{
    const NumberProfile *profile = numberProfile(number);
    return profile ? profile->cards : QList<TarotCard>();
}

QString planetText(const QString &planet)
{
    return data().planets.value(planet).toString();
}

QString lifePathText(int number)
{
    return data().lifePathTexts.value(QString::number(number)).toString();
}

QString destinyText(int number)
{
    return data().destinyTexts.value(QString::number(number)).toString();
}

} // namespace tarot
