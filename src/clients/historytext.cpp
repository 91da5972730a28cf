#include "clients/historytext.h"

#include "clients/searchtext.h"
#include "common/brand.h"
#include "common/datelists.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace clients {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("clients::History", text);
}

QString dateWords(const QDate &date)
{
    return u"%1 %2 %3"_s.arg(date.day()).arg(kestrava::monthNames().at(date.month() - 1)).arg(date.year());
}

// "2026-12-11" as "11 December 2026"; any other text as it is.
QString textWords(const QString &text)
{
    static const QRegularExpression isoDate(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
    if (isoDate.match(text).hasMatch()) {
        if (const QDate date = QDate::fromString(text, Qt::ISODate); date.isValid())
            return dateWords(date);
    }
    return text;
}

// A key's own words: "forecastFrom" as "forecast from", "birth_place" as
// "birth place".
QString keyWords(const QString &key)
{
    QString words;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        if (c == u'_' || c == u'-') {
            words += u' ';
        } else if (c.isUpper() && i > 0 && key.at(i - 1).isLower()) {
            words += u' ';
            words += c.toLower();
        } else {
            words += c;
        }
    }
    return words.simplified();
}

QString valueWords(const QJsonValue &value);

// The parts of an object in words, each key by its own words: "colour red".
QStringList objectWords(const QJsonObject &object)
{
    QStringList parts;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString value = valueWords(it.value());
        if (!value.isEmpty())
            parts << keyWords(it.key()) + u' ' + value;
    }
    return parts;
}

QString valueWords(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return textWords(value.toString().trimmed());
    case QJsonValue::Double:
        return value.toVariant().toString();
    case QJsonValue::Bool:
        return value.toBool() ? tr("yes") : tr("no");
    case QJsonValue::Array: {
        QStringList items;
        for (const QJsonValue &item : value.toArray()) {
            if (const QString words = valueWords(item); !words.isEmpty())
                items << words;
        }
        return items.join(u", "_s);
    }
    case QJsonValue::Object: {
        const QStringList parts = objectWords(value.toObject());
        return parts.isEmpty() ? QString() : u'(' + parts.join(u", "_s) + u')';
    }
    default:
        return {};
    }
}

QString takeText(QJsonObject &inputs, const QString &key)
{
    const QJsonValue value = inputs.take(key);
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble())
        return value.toVariant().toString();
    return {};
}

// The name from "name", or from "first", "middle" and "last".
QString takeName(QJsonObject &inputs)
{
    QStringList parts;
    for (const QString &key : {u"name"_s, u"first"_s, u"middle"_s, u"last"_s}) {
        if (const QString part = takeText(inputs, key); !part.isEmpty())
            parts << part;
    }
    return parts.join(u' ');
}

// The date from "day", "month" and "year" (the month as a name or a number),
// or from "born".
QString takeDate(QJsonObject &inputs)
{
    if (inputs.value(u"born"_s).isString())
        return textWords(takeText(inputs, u"born"_s));
    // A report's "day" is the date of its number of the day, not a birth date.
    if (inputs.value(u"day"_s).isString() && inputs.value(u"day"_s).toString().contains(u'-'))
        return {};
    QString month = takeText(inputs, u"month"_s);
    bool isNumber = false;
    if (const int number = month.toInt(&isNumber); isNumber && number >= 1 && number <= 12)
        month = kestrava::monthNames().at(number - 1);
    QStringList parts;
    for (const QString &part : {takeText(inputs, u"day"_s), month, takeText(inputs, u"year"_s)}) {
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(u' ');
}

// A person given as an object of names and a birth date, or as a name.
QString personWords(const QJsonValue &value)
{
    if (!value.isObject())
        return valueWords(value);
    QJsonObject person = value.toObject();
    const QString name = takeName(person);
    const QString born = takeDate(person);
    QStringList parts;
    if (!name.isEmpty())
        parts << name;
    if (!born.isEmpty())
        parts << (name.isEmpty() ? born : tr("born %1").arg(born));
    parts += objectWords(person);
    return parts.join(u", "_s);
}

QString fileWords(const QJsonValue &value)
{
    QStringList names;
    const QJsonArray files = value.isArray() ? value.toArray() : QJsonArray{value};
    for (const QJsonValue &file : files) {
        if (const QString path = file.toString().trimmed(); !path.isEmpty())
            names << QFileInfo(path).fileName();
    }
    return names.isEmpty() ? QString() : tr("saved to %1").arg(names.join(u", "_s));
}

// A report's sections, each with what it was made from: "forecast
// 2026–2028", "tarot (a spread of 9 cards)".
QString sectionsWords(QJsonObject &inputs)
{
    QStringList sections;
    for (const QJsonValue &value : inputs.take(u"sections"_s).toArray()) {
        const QString key = value.toString();
        QString words = keyWords(key);
        if (key == u"numerology"_s && inputs.value(u"readings"_s).isArray()) {
            QStringList readings;
            for (const QJsonValue &reading : inputs.take(u"readings"_s).toArray())
                readings << keyWords(reading.toString());
            if (!readings.isEmpty())
                words += u" ("_s + readings.join(u", "_s) + u')';
        } else if (key == u"forecast"_s && inputs.contains(u"forecastFrom"_s)) {
            const int from = inputs.take(u"forecastFrom"_s).toInt();
            const int to = inputs.contains(u"forecastTo"_s) ? inputs.take(u"forecastTo"_s).toInt() : from;
            words += from == to ? u" %1"_s.arg(from) : u" %1\u2013%2"_s.arg(from).arg(to);
        } else if (key == u"tarot"_s && inputs.value(u"spread"_s).isArray()) {
            const qsizetype cards = inputs.take(u"spread"_s).toArray().size();
            words += cards == 1 ? tr(" (a spread of 1 card)") : tr(" (a spread of %1 cards)").arg(cards);
        } else if (key == u"daily"_s && inputs.value(u"day"_s).isString()) {
            words += tr(" (the number of %1)").arg(textWords(takeText(inputs, u"day"_s)));
        } else if (key == u"compatibility"_s && inputs.contains(u"partner"_s)) {
            if (const QString partner = personWords(inputs.take(u"partner"_s)); !partner.isEmpty())
                words += tr(" with %1").arg(partner);
        }
        sections << words;
    }
    return sections.join(u", "_s);
}

QString details(const ReadingEntry &entry)
{
    const QJsonDocument document = QJsonDocument::fromJson(entry.inputs.toUtf8());
    if (!document.isObject())
        return entry.inputs.trimmed();
    QJsonObject inputs = document.object();
    QStringList groups;
    auto add = [&groups](const QString &words) {
        if (!words.isEmpty())
            groups << words;
    };

    // Who and when for a reading; a report is the client's own.
    const QString name = takeName(inputs);
    const QString born = takeDate(inputs);
    QString madeFor = takeText(inputs, u"date"_s);
    if (madeFor.isEmpty())
        madeFor = takeText(inputs, u"today"_s);
    if (!entry.isReport()) {
        QStringList subject;
        if (!name.isEmpty())
            subject << name;
        if (!born.isEmpty())
            subject << born;
        if (!madeFor.isEmpty())
            subject << tr("for %1").arg(textWords(madeFor));
        add(subject.join(u", "_s));
    } else if (!madeFor.isEmpty() && madeFor != entry.at.toUTC().date().toString(Qt::ISODate)) {
        add(tr("dated %1").arg(textWords(madeFor)));
    }

    // What was read.
    if (const QString reading = takeText(inputs, u"reading"_s); !reading.isEmpty()) {
        QString words = keyWords(reading);
        if (inputs.contains(u"partner"_s)) {
            if (const QString partner = personWords(inputs.take(u"partner"_s)); !partner.isEmpty())
                words += tr(" with %1").arg(partner);
        }
        add(words);
    }
    if (inputs.contains(u"sections"_s))
        add(sectionsWords(inputs));
    if (inputs.contains(u"partner"_s))
        add(tr("with %1").arg(personWords(inputs.take(u"partner"_s))));
    if (inputs.contains(u"married"_s))
        add(tr("married %1").arg(valueWords(inputs.take(u"married"_s))));
    if (inputs.contains(u"readings"_s))
        add(tr("readings: %1").arg(valueWords(inputs.take(u"readings"_s))));
    if (inputs.contains(u"forecastFrom"_s) || inputs.contains(u"forecastTo"_s)) {
        add(tr("forecast %1\u2013%2")
                .arg(valueWords(inputs.take(u"forecastFrom"_s)), valueWords(inputs.take(u"forecastTo"_s))));
    }
    if (inputs.value(u"spread"_s).isArray())
        add(tr("a spread of %1 cards").arg(inputs.take(u"spread"_s).toArray().size()));
    if (inputs.contains(u"seed"_s))
        add(tr("seed %1").arg(valueWords(inputs.take(u"seed"_s))));

    // Anything else, by its own words, and last where it went.
    const QJsonValue file = inputs.take(u"file"_s);
    add(objectWords(inputs).join(u", "_s));
    add(fileWords(file));
    return groups.join(u"; "_s);
}

} // namespace

QString entryHeading(const ReadingEntry &entry)
{
    return entry.program ? kestrava::programName(*entry.program) : tr("Report");
}

QString entryDetails(const ReadingEntry &entry)
{
    return details(entry);
}

QString entryInWords(const ReadingEntry &entry)
{
    const QString words = details(entry);
    return words.isEmpty() ? entryHeading(entry) : entryHeading(entry) + u": "_s + words;
}

QString entrySearchWords(const ReadingEntry &entry)
{
    QStringList words = searchWords(entryInWords(entry));
    if (entry.at.isValid())
        words << entry.at.toUTC().date().toString(Qt::ISODate);
    return u' ' + words.join(u' ') + u' ';
}

QString inputsWithFile(const QString &inputs, const QString &path)
{
    const QJsonDocument document = QJsonDocument::fromJson(inputs.toUtf8());
    if (!document.isObject() || path.isEmpty())
        return inputs;
    QJsonObject object = document.object();
    const QJsonValue before = object.value(u"file"_s);
    if (before.isString() && before.toString() != path)
        object.insert(u"file"_s, QJsonArray{before, path});
    else if (before.isArray() && !before.toArray().contains(path))
        object.insert(u"file"_s, QJsonArray(before.toArray()) << path);
    else if (!before.isArray())
        object.insert(u"file"_s, path);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace clients
