#include "daily/dailynumber.h"

#include "common/jsonresource.h"
#include "common/jsonwriter.h"
#include "common/numerology.h"

#include <QJsonObject>

namespace daily {

namespace {

// Read once, on first use; never changed afterwards.
const QJsonObject &rows()
{
    static const QJsonObject loaded =
        kestrava::readJsonResource(QStringLiteral(":/texts/daily/daily.json")).value(u"rows").toObject();
    return loaded;
}

QString field(int number, QStringView name)
{
    return rows().value(QString::number(number)).toObject().value(name).toString();
}

} // namespace

qint16 dailyReduce(QStringView digits)
{
    return kestrava::foldOnce(kestrava::foldOnce(kestrava::digitSum(digits)));
}

qint16 dailyNumber(QStringView birthDay, QStringView birthMonth, const QDate &today)
{
    const qint16 p = dailyReduce(kestrava::trimBlanks(birthDay));
    const qint16 q = kestrava::monthNumber(kestrava::trimBlanks(birthMonth));
    const qint16 s = dailyReduce(QString::number(today.day()));
    const qint16 u = dailyReduce(QString::number(today.month()));
    const qint16 v = dailyReduce(QString::number(today.year()));
    return dailyReduce(QString::number(p + q + s + u + v));
}

QString dailyWord(int number)
{
    return field(number, u"word");
}

QString dailyText(int number)
{
    return field(number, u"text");
}

bool birthDateExists(int day, int month)
{
    if (month == 2)
        return day <= 29;
    if (month == 4 || month == 6 || month == 9 || month == 11)
        return day <= 30;
    return true;
}

QByteArray dailyJson(int number)
{
    return kestrava::JsonObjectWriter().add("number", number).add("word", dailyWord(number)).finish();
}

} // namespace daily
