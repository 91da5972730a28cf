#include "astrology/fadic.h"

#include "common/jsonresource.h"
#include "common/jsonwriter.h"
#include "common/numerology.h"

#include <QJsonObject>
#include <QMap>

namespace astrology {

namespace {

// Read once, on first use; never changed afterwards.
const QMap<int, FadicProfile> &profiles()
{
    static const QMap<int, FadicProfile> loaded = [] {
        QMap<int, FadicProfile> rows;
        const QJsonObject all =
            kestrava::readJsonResource(QStringLiteral(":/texts/astrology/fadic.json")).value(u"rows").toObject();
        for (auto it = all.begin(); it != all.end(); ++it) {
            const QJsonObject row = it.value().toObject();
            rows.insert(it.key().toInt(), {row.value(u"planet").toString(), row.value(u"sign").toString(),
                                           row.value(u"fadicText").toString(), row.value(u"planetText").toString(),
                                           row.value(u"signText").toString()});
        }
        return rows;
    }();
    return loaded;
}

} // namespace

qint16 fadicSum(int month, int day, int year, bool reduce)
{
    int sum = kestrava::digitSumOf(month) + kestrava::digitSumOf(day) + kestrava::digitSumOf(year);
    if (!reduce)
        return qint16(sum);
    // Add the digits again until one is left.
    while (sum > 9)
        sum = kestrava::digitSumOf(sum);
    return qint16(sum);
}

const FadicProfile *fadicProfile(int fadic)
{
    const auto it = profiles().constFind(fadic);
    return it == profiles().cend() ? nullptr : &it.value();
}

QByteArray fadicJson(int month, int day, int year)
{
    const qint16 combined = fadicSum(month, day, year, false);
    const qint16 fadic = fadicSum(month, day, year, true);
    const FadicProfile *profile = fadicProfile(fadic);
    return kestrava::JsonObjectWriter()
        .add("combined", combined)
        .add("fadic", fadic)
        .add("planet", profile ? profile->planet : QString())
        .add("sign", profile ? profile->sign : QString())
        .finish();
}

} // namespace astrology
