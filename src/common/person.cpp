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

QString capitalLetters(QStringView name)
{
    QString capitals;
    capitals.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            const char32_t upper = QChar::toUpper(QChar::surrogateToUcs4(c, name[i + 1]));
            capitals.append(QChar::highSurrogate(upper));
            capitals.append(QChar::lowSurrogate(upper));
            ++i;
        } else {
            capitals.append(c.toUpper());
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
