#include "runes/runes.h"

#include "common/jsonresource.h"
#include "common/jsonwriter.h"
#include "common/numerology.h"

#include <QJsonObject>
#include <QMap>
#include <QObject>

namespace runes {

namespace {

// Read once, on first use; never changed afterwards.
const QMap<int, RuneRow> &rows()
{
    static const QMap<int, RuneRow> loaded = [] {
        QMap<int, RuneRow> table;
        const QJsonObject runes = kestrava::readJsonResource(QStringLiteral(":/texts/runes/runes.json")).value(u"rows").toObject();
        // The number texts are Variduzeda Vad's destiny table.
        const QJsonObject numbers =
            kestrava::readJsonResource(QStringLiteral(":/texts/runes/destiny.json")).value(u"texts").toObject();
        for (auto it = runes.begin(); it != runes.end(); ++it) {
            const QJsonObject row = it.value().toObject();
            const int number = it.key().toInt();
            table.insert(number, {number, numbers.value(it.key()).toString(), row.value(u"rune").toString(),
                                  row.value(u"keywords").toString(), row.value(u"text").toString(),
                                  row.value(u"picture").toString()});
        }
        return table;
    }();
    return loaded;
}

} // namespace

qint16 nameTotal(QStringView name)
{
    qint16 total = 0;
    for (const QChar c : name) {
        const QChar upper = c.toUpper();
        kestrava::addSkippingOverflow(total, kestrava::letterValue(QStringView(&upper, 1)));
    }
    return total;
}

qint16 reduceByDigitSums(int total)
{
    int sum = kestrava::digitSumOf(total);
    while (sum != 11 && sum != 22 && sum > 9)
        sum = kestrava::digitSumOf(sum);
    return qint16(sum);
}

qint16 runesNumber(QStringView name)
{
    return reduceByDigitSums(nameTotal(kestrava::trimBlanks(name)));
}

const RuneRow *runeRow(int number)
{
    const auto it = rows().constFind(number);
    return it == rows().cend() ? nullptr : &it.value();
}

QString significanceText()
{
    return QObject::tr("This number describes your vibration in the world and the tasks that you must achieve in "
                       "this lifetime using the name given to you. Destiny / Expression number more correctly reads "
                       "as what you MUST strive to become with the development of talents you are born with.");
}

QByteArray valuesJson(QStringView name)
{
    const qint16 total = nameTotal(name); // blanks count nothing either way
    const qint16 number = reduceByDigitSums(total);
    const RuneRow *row = runeRow(number);
    kestrava::JsonObjectWriter json;
    json.add("total", total).add("number", number);
    // 22, and a name without letters, have no rune.
    if (row && !row->rune.isEmpty())
        json.add("rune", row->rune);
    else
        json.addNull("rune");
    return json.finish();
}

} // namespace runes
