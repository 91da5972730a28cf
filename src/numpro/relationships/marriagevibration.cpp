#include "numpro/relationships/marriagevibration.h"

#include "common/numerology.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

#include <QJsonValue>

namespace numpro {

qint16 marriageVibrationNumber(QDate date)
{
    if (!date.isValid())
        return 0;
    qint16 month = qint16(date.month());
    qint16 day = qint16(date.day());
    qint16 year = qint16(date.year());
    // Each part is at most 22 once reduced, so the sum cannot overflow.
    qint16 total = qint16(kestrava::reduceNumber(month) + kestrava::reduceNumber(day) + kestrava::reduceNumber(year));
    return kestrava::reduceNumber(total);
}

ReadingValues computeMarriageVibration(const ReadingInputs &inputs, ResultState &)
{
    ReadingValues values;
    if (!inputs.marriageDate.isValid())
        return values;
    const qint16 number = marriageVibrationNumber(inputs.marriageDate);
    values.setNumber(u"marriageVibration", number)
        .setValue(u"marriageDate", inputs.marriageDate.toString(Qt::ISODate))
        .setLabelCaption(QString::number(number));
    return values;
}

ReadingResult composeMarriageVibration(const ReadingValues &values, OutputMode mode)
{
    if (!values.value(u"marriageVibration").isDouble())
        return {};
    const qint16 number = values.number(u"marriageVibration");
    return composeNumberReading({u"marriageVibration", QString::number(number),
                                 readingTexts(u"marriageVibration").table.text(number), headingBreaks(mode)});
}

} // namespace numpro
