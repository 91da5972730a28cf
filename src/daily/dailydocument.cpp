#include "daily/dailydocument.h"

#include "common/brand.h"
#include "common/datelists.h"
#include "common/numerology.h"
#include "daily/dailynumber.h"

#include <QObject>

namespace daily {

namespace {

// "9 December 2025": day, month and year in the order of the birth lists.
QString dateText(const QDate &date)
{
    const QStringList &months = kestrava::monthNames();
    const QString month = date.month() >= 1 && date.month() <= months.size() ? months.at(date.month() - 1)
                                                                             : QString::number(date.month());
    return QString::number(date.day()) + u' ' + month + u' ' + QString::number(date.year());
}

} // namespace

QString readingCaption()
{
    return QObject::tr("%1 Reading").arg(kestrava::programName(kestrava::ProgramId::Daily));
}

QString luckyNumberCaption()
{
    return QObject::tr("You Lucky Number");
}

QString dayCaption()
{
    return QObject::tr("How will your Day Be");
}

QString birthDateCaption()
{
    return QObject::tr("Your Date Of Birth");
}

richtext::Composition readingDocument(QStringView birthDay, QStringView birthMonth, const QDate &today,
                                      kestrava::TitleBlock titleBlock)
{
    using namespace richtext;
    const qint16 number = dailyNumber(birthDay, birthMonth, today);
    Composition c;
    c.setTitle(readingCaption() + QStringLiteral(": ") + dateText(today));
    if (titleBlock == kestrava::TitleBlock::Shown) {
        c.bold(true).size(16).append(c.title() + crlf(2));
        c.size(0).append(birthDateCaption() + QStringLiteral(": "));
        c.bold(false).append(kestrava::trimBlanks(birthDay) + u' ' + kestrava::trimBlanks(birthMonth) + crlf(2));
    }

    // The page centres the number, its caption and its word.
    c.align(Align::Centre);
    c.bold(true).size(72).colour(kDarkRed).append(QString::number(number) + crlf());
    c.bold(false).size(0).defaultColour().append(luckyNumberCaption() + crlf());
    c.bold(true).size(12).append(dailyWord(number) + crlf(2));
    c.align(Align::Left).size(0).append(dayCaption() + crlf());
    c.bold(false).append(dailyText(number) + crlf());
    return c;
}

} // namespace daily
