#include "numpro/relationships/compatibility.h"

#include "common/datelists.h"
#include "common/jsonwriter.h"
#include "common/numerology.h"
#include "numpro/readings/corereadings.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/texttable.h"
#include "numpro/relationships/marriagevibration.h"

#include <QJsonArray>
#include <QLocale>
#include <QStringList>

#include <utility>

using namespace Qt::StringLiterals;
using richtext::crlf;

namespace numpro {

namespace {

constexpr QStringView kTable = u"compatibility";

const QJsonObject &tableFields()
{
    return readingTexts(kTable).fields;
}

// The table's entry for the unordered pair of roots, lower first: {"rating", "text"}.
QJsonObject pairEntry(qint16 a, qint16 b)
{
    qint16 low = pairRoot(a);
    qint16 high = pairRoot(b);
    if (low > high)
        std::swap(low, high);
    return tableFields().value(u"pairs").toObject().value(QString::number(low) + u'-' + QString::number(high))
        .toObject();
}

bool isPairNumber(qint16 n)
{
    return (n >= 1 && n <= 9) || n == 11 || n == 22;
}

QString numberText(const QJsonValue &value)
{
    return value.isDouble() ? QString::number(value.toInt()) : QStringLiteral("none");
}

QString dateText(QDate date)
{
    return QLocale(QLocale::English).toString(date, u"MMMM d, yyyy"_s);
}

// The birth date as the person's lists give it: through the document's date
// form when the texts make a date, else as the texts read (an impossible
// date such as 31 February is read like any other).
QString birthDateText(const ReadingInputs &person, const std::function<QString(QDate)> &format)
{
    using kestrava::trimBlanks;
    const QString month = trimBlanks(person.month);
    const QString day = trimBlanks(person.day);
    const QString year = trimBlanks(person.year);
    bool dayRead = false;
    bool yearRead = false;
    const QDate date(year.toInt(&yearRead), int(kestrava::monthNames().indexOf(month)) + 1, day.toInt(&dayRead));
    if (dayRead && yearRead && date.isValid())
        return format(date);
    return month + u' ' + day + u", "_s + year;
}

// Practitioners also read a couple for a wedding date still to come.
QString marriageDateLead(QDate marriageDate, QDate today)
{
    return today.isValid() && marriageDate > today ? u"Marrying on "_s : u"Married on "_s;
}

// The six numbers, written even where one is missing, so both people's
// objects always have the same keys.
void writeNumbers(kestrava::JsonWriter &json, const QJsonObject &numbers)
{
    json.beginObject();
    for (QStringView key : kCompatibilityNumberKeys) {
        const QJsonValue value = numbers.value(key);
        if (value.isDouble())
            json.key(key).value(value.toInt());
        else
            json.key(key).null();
    }
    json.endObject();
}

} // namespace

QString ratingName(PairRating rating)
{
    switch (rating) {
    case PairRating::Harmonious:
        return u"harmonious"_s;
    case PairRating::Workable:
        return u"workable"_s;
    case PairRating::Challenging:
        return u"challenging"_s;
    }
    return {};
}

qint16 pairRoot(qint16 number)
{
    if (number == 11)
        return 2;
    if (number == 22)
        return 4;
    return number;
}

std::optional<PairRating> pairRating(qint16 a, qint16 b)
{
    if (!isPairNumber(a) || !isPairNumber(b))
        return std::nullopt;
    const QString name = pairEntry(a, b).value(u"rating").toString();
    for (PairRating rating : {PairRating::Harmonious, PairRating::Workable, PairRating::Challenging}) {
        if (name == ratingName(rating))
            return rating;
    }
    return std::nullopt;
}

QString pairParagraph(qint16 a, qint16 b)
{
    if (!isPairNumber(a) || !isPairNumber(b))
        return tableFields().value(u"noNumber").toString();
    QString text = pairEntry(a, b).value(u"text").toString();
    const QJsonObject masters = tableFields().value(u"masterNumbers").toObject();
    for (qint16 master : {qint16(11), qint16(22)}) {
        if (a == master || b == master)
            text += u' ' + masters.value(QString::number(master)).toString();
    }
    return text;
}

QJsonObject compatibilityNumbers(const ReadingInputs &person)
{
    // The readings' own compute functions, so each number is the one the
    // person's own readings show.
    ResultState state;
    QJsonObject numbers;
    for (QStringView key : kCompatibilityNumberKeys) {
        const Reading *reading = findReading(key);
        const ReadingValues &values = state.store(reading->id, reading->compute(person, state), person);
        numbers.insert(key.toString(), values.value(key));
    }
    return numbers;
}

Compatibility computeCompatibility(const ReadingInputs &first, const ReadingInputs &second, QDate marriageDate)
{
    Compatibility c{first, second, compatibilityNumbers(first), compatibilityNumbers(second), {}, marriageDate};
    for (QStringView key : kRatedPairKeys) {
        const qint16 a = qint16(c.firstNumbers.value(key).toInt());
        const qint16 b = qint16(c.secondNumbers.value(key).toInt());
        c.pairs.append({key, a, b, pairRating(a, b)});
    }
    return c;
}

QJsonObject compatibilityToJson(const Compatibility &c)
{
    QJsonArray pairs;
    for (const NumberPair &pair : c.pairs) {
        pairs.append(QJsonObject{{u"key"_s, pair.key.toString()},
                                 {u"numbers"_s, QJsonArray{pair.first, pair.second}},
                                 {u"rating"_s, pair.rating ? QJsonValue(ratingName(*pair.rating)) : QJsonValue()}});
    }
    QJsonObject json{{u"first"_s, c.firstNumbers}, {u"second"_s, c.secondNumbers}, {u"pairs"_s, pairs}};
    if (c.marriageDate.isValid()) {
        json.insert(u"marriageDate"_s, c.marriageDate.toString(Qt::ISODate));
        json.insert(u"marriageVibration"_s, marriageVibrationNumber(c.marriageDate));
    }
    return json;
}

QByteArray compatibilityJson(const Compatibility &c)
{
    kestrava::JsonObjectWriter json;
    writeNumbers(json.member("a"), c.firstNumbers);
    writeNumbers(json.member("b"), c.secondNumbers);
    kestrava::JsonWriter &pairs = json.member("pairs").beginObject();
    for (const NumberPair &pair : c.pairs) {
        pairs.key(pair.key).beginObject();
        pairs.key("numbers").beginArray().value(int(pair.first)).value(int(pair.second)).endArray();
        if (pair.rating)
            pairs.key("rating").value(ratingName(*pair.rating));
        else
            pairs.key("rating").null();
        pairs.endObject();
    }
    pairs.endObject();
    if (c.marriageDate.isValid())
        json.add("marriageVibration", int(marriageVibrationNumber(c.marriageDate)));
    return json.finish();
}

QString compatibilityName(const ReadingInputs &person)
{
    QStringList parts;
    for (const QString &part : {person.firstName, person.middleName, person.lastName}) {
        const QString trimmed = kestrava::trimBlanks(part);
        if (!trimmed.isEmpty())
            parts << trimmed;
    }
    return parts.join(u' ');
}

namespace {

QJsonObject personInputs(const ReadingInputs &person)
{
    using kestrava::trimBlanks;
    return {{u"first"_s, trimBlanks(person.firstName)}, {u"middle"_s, trimBlanks(person.middleName)},
            {u"last"_s, trimBlanks(person.lastName)},   {u"month"_s, trimBlanks(person.month)},
            {u"day"_s, trimBlanks(person.day)},         {u"year"_s, trimBlanks(person.year)}};
}

} // namespace

QJsonObject compatibilityHistoryInputs(const ReadingInputs &client, const ReadingInputs &partner,
                                       QDate marriageDate)
{
    QJsonObject inputs = personInputs(client);
    inputs.insert(u"reading"_s, u"compatibility"_s);
    inputs.insert(u"partner"_s, personInputs(partner));
    if (marriageDate.isValid())
        inputs.insert(u"married"_s, marriageDate.toString(Qt::ISODate));
    return inputs;
}

QList<richtext::Composition> composeCompatibility(const Compatibility &c, const CompatibilityDocumentOptions &options)
{
    const ReadingTexts &texts = readingTexts(kTable);
    const QString caption = texts.caption;
    const std::function<QString(QDate)> formatDate = options.formatDate ? options.formatDate : dateText;
    QList<richtext::Composition> parts;

    richtext::Composition head;
    head.setTitle(caption);
    head.colour(richtext::kDarkCyan);
    if (options.introduceFirstPerson) {
        head.bold(true).append(texts.heading + compatibilityName(c.first) + u" and "_s + compatibilityName(c.second)
                               + crlf(2));
    }
    head.bold(false).append(texts.introduction + crlf(2));
    for (const ReadingInputs *person : {&c.first, &c.second}) {
        if (person == &c.first && !options.introduceFirstPerson)
            continue;
        head.append(compatibilityName(*person) + u", born "_s + birthDateText(*person, formatDate) + crlf());
    }
    head.append(crlf()).bold(true).append(texts.text(u"numbersHeading") + crlf()).bold(false);
    for (QStringView key : kCompatibilityNumberKeys) {
        head.append(readingTexts(key).caption + u": "_s + numberText(c.firstNumbers.value(key)) + u" and "_s
                    + numberText(c.secondNumbers.value(key)) + crlf());
    }
    head.append(crlf());
    parts.append(head);

    const QJsonObject aspects = texts.fields.value(u"aspects").toObject();
    for (const NumberPair &pair : c.pairs) {
        const QJsonObject aspect = aspects.value(pair.key).toObject();
        richtext::Composition part;
        part.setTitle(caption);
        QString heading = aspect.value(u"title").toString() + u": "_s + QString::number(pair.first) + u" and "_s
                          + QString::number(pair.second);
        if (pair.rating)
            heading += u", "_s + texts.fields.value(u"ratings").toObject().value(ratingName(*pair.rating)).toString();
        part.colour(richtext::kDarkCyan).bold(true).append(heading + crlf(2)).bold(false)
            .append(aspect.value(u"introduction").toString() + crlf(2))
            .append(pairParagraph(pair.first, pair.second) + crlf(2));
        parts.append(part);
    }

    if (c.marriageDate.isValid()) {
        const ReadingTexts &marriage = readingTexts(u"marriageVibration");
        const qint16 number = marriageVibrationNumber(c.marriageDate);
        richtext::Composition part;
        part.setTitle(caption);
        part.colour(richtext::kDarkCyan).bold(true)
            .append(marriage.heading + QString::number(number) + crlf(2)).bold(false)
            .append(marriageDateLead(c.marriageDate, c.first.today) + formatDate(c.marriageDate) + crlf(2))
            .append(marriage.table.text(number) + crlf(2));
        parts.append(part);
    }

    richtext::Composition closing;
    closing.setTitle(caption);
    closing.colour(richtext::kDarkCyan);
    appendCreditAndFooter(closing);
    parts.append(closing);
    return parts;
}

} // namespace numpro
