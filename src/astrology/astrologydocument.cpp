#include "astrology/astrologydocument.h"

#include "astrology/fadic.h"
#include "common/brand.h"
#include "common/datelists.h"
#include "common/numerology.h"

#include <QObject>

namespace astrology {

namespace {

using namespace richtext;

// "May 15, 1986": month, day and year in the order of the input lists.
QString dateText(int month, int day, int year)
{
    const QStringList &months = kestrava::monthNames();
    const QString monthText = month >= 1 && month <= months.size() ? months.at(month - 1) : QString::number(month);
    return monthText + u' ' + QString::number(day) + QStringLiteral(", ") + QString::number(year);
}

// A caption and its value in bold, on a line of their own, as the result
// view's labels show them.
void appendRow(Composition &c, ResultRow row, const QString &value)
{
    c.bold(true).append(caption(row) + QStringLiteral(": ") + value + crlf());
    c.bold(false);
}

} // namespace

QString caption(ResultRow row)
{
    switch (row) {
    case ResultRow::Combined: return QObject::tr("Combined Fadic No");
    case ResultRow::Fadic: return QObject::tr("Fadic Number");
    case ResultRow::Planet: return QObject::tr("Ruling Planet");
    case ResultRow::Sign: return QObject::tr("Numerological Zodiac Sign");
    }
    return {};
}

richtext::Composition readingDocument(const QString &name, int month, int day, int year, kestrava::TitleBlock titleBlock)
{
    const QString person = kestrava::trimBlanks(name);
    const QString date = dateText(month, day, year);
    Composition c;
    c.setTitle(QObject::tr("%1 Reading: %2")
                   .arg(kestrava::programName(kestrava::ProgramId::Astrology), person.isEmpty() ? date : person));
    if (titleBlock == kestrava::TitleBlock::Shown)
        appendTitleBlock(c, person, date);

    const qint16 fadic = fadicSum(month, day, year, true);
    appendRow(c, ResultRow::Combined, QString::number(fadicSum(month, day, year, false)));
    appendRow(c, ResultRow::Fadic, QString::number(fadic));
    const FadicProfile *profile = fadicProfile(fadic);
    if (!profile)
        return c;
    c.append(profile->fadicText + crlf(2));
    appendRow(c, ResultRow::Planet, profile->planet);
    c.append(profile->planetText + crlf(2));
    appendRow(c, ResultRow::Sign, profile->sign);
    c.append(profile->signText + crlf());
    return c;
}

} // namespace astrology
