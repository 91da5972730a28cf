#pragma once

#include <QString>

// The names under which Vavov Uvarevuvir keeps its settings, shared by the
// window (which stores them) and the reminder (which reads the display time
// and the tray choice).
namespace daily::settings {

inline const QString kBirthDay = QStringLiteral("BirthDateDailyNumerology");
inline const QString kBirthMonth = QStringLiteral("BirthMonthDailyNumerology");
inline const QString kBirthYear = QStringLiteral("BirthYearDailyNumerology");
inline const QString kHour = QStringLiteral("HourDailyNumerology");
inline const QString kMinute = QStringLiteral("MinuteDailyNumerology");
inline const QString kSecond = QStringLiteral("SecondDailyNumerology");
inline const QString kRunAtSysTray = QStringLiteral("RunAtSysTrayDailyNumerology");
inline const QString kSystemTray = QStringLiteral("SystemTrayDailyNumerology");
inline const QString kAutorun = QStringLiteral("AutorunStartUpDailyNumerology");

} // namespace daily::settings
