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
