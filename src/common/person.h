#pragma once

#include <QDate>
#include <QString>

namespace kestrava {

// A person as every program takes them: the names given at birth, the birth
// date and, when it differs, the name the person goes by now.  The client
// book stores it, a program opens on it, the report reads it.
struct Person
{
    QString firstName;
    QString middleName;
    QString lastName;
    QDate birthDate;
    // Empty when the person goes by the birth name.
    QString nameNowUsed;

    friend bool operator==(const Person &, const Person &) = default;

    // The birth names without their outer blanks, the empty ones left out,
    // joined with single blanks: the name for the programs whose window has
    // one name field ("MARY ANN SMITH", "MARY SMITH").
    QString joinedName() const;
};

} // namespace kestrava
