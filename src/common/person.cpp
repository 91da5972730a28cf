#include "common/person.h"

#include "common/numerology.h"

#include <QStringList>

namespace kestrava {

QString Person::joinedName() const
{
    QStringList names;
    for (const QString &name : {firstName, middleName, lastName}) {
        if (const QString trimmed = trimBlanks(name); !trimmed.isEmpty())
            names.append(trimmed);
    }
    return names.join(u' ');
}

namespace {

// Whether the UTF-16 unit at i (with the one after it, for a pair) has a
// capital other than itself.
bool hasOtherCapital(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c < 0x80)
        return c >= u'a' && c <= u'z';
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        const char32_t pair = QChar::surrogateToUcs4(c, text[i + 1].unicode());
        return QChar::toUpper(pair) != pair;
    }
    return QChar::toUpper(c) != c;
}

} // namespace

QString capitalLetters(const QString &name)
{
    // Names are mostly capitals already: hand them back uncopied.
    qsizetype i = 0;
    while (i < name.size() && !hasOtherCapital(name, i))
        ++i;
    if (i == name.size())
        return name;
    QString capitals = name;
    char16_t *text = reinterpret_cast<char16_t *>(capitals.data());
    for (; i < capitals.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            if (c >= u'a' && c <= u'z')
                text[i] = char16_t(c - (u'a' - u'A'));
        } else if (QChar::isHighSurrogate(c) && i + 1 < capitals.size() && QChar::isLowSurrogate(text[i + 1])) {
            // A capital outside the Basic Multilingual Plane stays there.
            const char32_t upper = QChar::toUpper(QChar::surrogateToUcs4(c, text[i + 1]));
            text[i] = QChar::highSurrogate(upper);
            text[++i] = QChar::lowSurrogate(upper);
        } else {
            text[i] = QChar::toUpper(c);
        }
    }
    return capitals;
}

Person readingPerson(const Person &person)
{
    Person reading = person;
    reading.firstName = capitalLetters(person.firstName);
    reading.middleName = capitalLetters(person.middleName);
    reading.lastName = capitalLetters(person.lastName);
    return reading;
}

Person splitName(const QString &name)
{
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    Person person;
    if (words.isEmpty())
        return person;
    person.firstName = words.front();
    if (words.size() > 1) {
        person.lastName = words.back();
        person.middleName = words.mid(1, words.size() - 2).join(u' ');
    }
    return person;
}

} // namespace kestrava
