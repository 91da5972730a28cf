#pragma once

#include <QString>

namespace numpro {

// The input window's name fields and date lists as they read when a reading
// runs: untrimmed, exactly as the readings see them.
struct BirthInputs
{
    QString firstName;
    QString middleName;
    QString lastName;
    QString month; // "January".."December"
    QString day;   // "1".."31"
    QString year;  // "1900".."2050"
};

} // namespace numpro
