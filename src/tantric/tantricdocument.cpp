#include "tantric/tantricdocument.h"

#include "common/brand.h"
#include "common/datelists.h"
#include "common/numerology.h"
#include "tantric/tantricnumbers.h"

#include <QObject>

namespace tantric {

namespace {

using namespace richtext;

// "15 August 1975": day, month and year in the order of the input lists.
QString dateText(int day, int month, int year)
{
    const QStringList &months = kestrava::monthNames();
    const QString monthText = month >= 1 && month <= months.size() ? months.at(month - 1) : QString::number(month);
    return QString::number(day) + u' ' + monthText + u' ' + QString::number(year);
}

} // namespace

richtext::Composition readingDocument(const QString &name, int day, int month, int year, kestrava::TitleBlock titleBlock)
{
    const QString person = kestrava::trimBlanks(name);
    const QString date = dateText(day, month, year);
    const TantricNumbers numbers = tantricNumbers(day, month, year);

    Composition c;
    c.setTitle(QObject::tr("%1 Reading: %2")
                   .arg(kestrava::programName(kestrava::ProgramId::Tantric), person.isEmpty() ? date : person));
    if (titleBlock == kestrava::TitleBlock::Shown)
        appendTitleBlock(c, person, date);

    // The summary's order, row by row: Path; Soul, Knowledge; Gift, Karma.
    // Its captions are 14-point bold, its numbers 11-point bold.
    const struct
    {
        Table table;
        qint16 number;
    } summary[] = {
        {Table::Path, numbers.path}, {Table::Soul, numbers.soul},   {Table::Knowledge, numbers.knowledge},
        {Table::Gift, numbers.gift}, {Table::Karma, numbers.karma},
    };
    c.bold(true);
    for (const auto &line : summary) {
        if (line.table == Table::Gift && line.number == 0)
            continue; // the summary hides the gift of a year ending in 00
        c.size(14).append(caption(line.table) + u' ');
        c.size(11).append(QString::number(line.number) + crlf());
    }
    c.size(0).append(crlf());
    c.bold(false).append(chartSections(numbers, EmptyGift::Nothing));
    // The chart's last text ends without a line break; a document's lines all end.
    c.append(crlf());
    return c;
}

} // namespace tantric
