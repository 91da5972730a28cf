#pragma once

#include <QStringList>

// The entries of the birth-date lists every input window offers.
namespace kestrava {

inline constexpr int kFirstBirthYear = 1900;
inline constexpr int kLastBirthYear = 2050;

// "January" to "December".
const QStringList &monthNames();
// "1" to "31".
const QStringList &dayTexts();
// firstYear to 2050, ascending (the daily program starts at 1901).
QStringList yearTexts(int firstYear = kFirstBirthYear);

// The date the lists show when a window opens: 6 August 1979.
inline constexpr int kDefaultMonth = 8;
inline constexpr int kDefaultDay = 6;
inline constexpr int kDefaultYear = 1979;

} // namespace kestrava
