#pragma once

#include <QString>

namespace numpro {

// The person a Variduzeda Vad reading is about, exactly as typed in the input
// window: the date parts stay text because the readings work on their digits.
struct ReadingSubject
{
    QString firstName;
    QString middleName;
    QString lastName;
    QString month;
    QString day;
    QString year;

    friend bool operator==(const ReadingSubject &, const ReadingSubject &) = default;
};

} // namespace numpro
