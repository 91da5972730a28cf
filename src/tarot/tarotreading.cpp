#include "tarot/tarotreading.h"

#include "common/jsonwriter.h"
#include "common/numerology.h"
#include "tarot/deck.h"
#include "tarot/profiles.h"
#include "tarot/tarotnumbers.h"

#include <QList>
#include <QStringList>

namespace tarot {

namespace {

QStringList cardNames(int number)
{
    QStringList names;
    for (const TarotCard &card : numberCards(number))
        names.append(card.name);
    return names;
}

} // namespace

TarotReading makeReading(const QString &name, const QString &day, const QString &month, const QString &year)
{
    TarotReading r;
    r.name = kestrava::trimBlanks(name);
    r.birthDay = kestrava::trimBlanks(day);
    r.birthMonth = kestrava::trimBlanks(month);
    r.birthYear = kestrava::trimBlanks(year);
    r.birthDate = r.birthDay + u' ' + r.birthMonth + u' ' + r.birthYear;
    r.lifePath = lifePathNumber(r.birthDay, r.birthMonth, r.birthYear);
    r.destiny = destinyNumber(r.name);
    return r;
}

QByteArray readingJson(const TarotReading &reading, const SpreadCards *spread)
{
    kestrava::JsonObjectWriter json;
    json.add("lifePath", reading.lifePath)
        .add("destiny", reading.destiny)
        .add("lifePathCards", cardNames(reading.lifePath))
        .add("destinyCards", cardNames(reading.destiny));
    if (spread) {
        QList<int> numbers;
        QStringList names;
        for (const qint16 card : *spread) {
            numbers.append(card);
            names.append(deckCard(card)->name);
        }
        json.add("spread", numbers).add("spreadCards", names);
    }
    return json.finish();
}

} // namespace tarot
