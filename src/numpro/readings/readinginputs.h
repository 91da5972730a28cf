#pragma once

#include <QDate>
#include <QString>

namespace numpro {

// What a reading is computed from: the input window's name fields and date
// lists as they read when the reading runs (untrimmed, exactly as typed), and
// today's date for the readings that depend on it.
struct ReadingInputs
{
    QString firstName;
    QString middleName;
    QString lastName;
    QString month; // "January".."December"
    QString day;   // "1".."31"
    QString year;  // "1900".."2050"
    QDate today;
    // The day the person married, when a marriage date was chosen; null
    // otherwise (the marriage vibration then has nothing to read).
    QDate marriageDate = {};

    friend bool operator==(const ReadingInputs &, const ReadingInputs &) = default;
};

} // namespace numpro
