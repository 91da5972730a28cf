#pragma once

#include <QDate>
#include <QString>

#include <functional>

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

// The name with each letter made its capital, one character for one (so ß
// stays ß and counts as what it is), as the name fields make typed letters.
QString capitalLetters(const QString &name);

// The person as every reading takes them: the names in capitals (see
// capitalLetters), the birth date and the name now used as they are.  Every
// door to a reading (an input window filled from the client book or a file,
// the command line, the report) turns a person into its subject through this,
// so the same person always reads the same; the book keeps names as written.
Person readingPerson(const Person &person);

// Splits one name field: "MARY ANN LEE SMITH" gives MARY / ANN LEE / SMITH;
// a single word is the first name.
Person splitName(const QString &name);

// The person a saved reading file was made for, as the file holds them: the
// birth names, and the birth date as the texts of the date lists (a month
// name, a day, a year), each without outer blanks.  The texts stay texts so
// that whoever takes the file in can say which date it could not read.
struct SavedPerson
{
    Person person; // names only: the birth date is in month, day and year
    QString month;
    QString day;
    QString year;
};

// A kind of saved reading file: its ending (lower case, without the dot) and
// how to read the person in such a file.  The reader reads a bounded amount,
// so a huge or binary file neither hangs nor exhausts memory, and a file
// without a reading gives an empty person.  Each program that saves readings
// offers its kind beside its file code; whoever names every program hands
// the kinds to the code that takes saved readings in.
struct SavedReadingKind
{
    QString ending;
    std::function<SavedPerson(const QString &path)> readPerson;
};

} // namespace kestrava
