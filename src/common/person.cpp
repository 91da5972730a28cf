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

} // namespace kestrava
