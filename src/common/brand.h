#pragma once

#include <QString>

// The names the suite shows: the product with its version, and its programs.
namespace kestrava {

// The six programs, numbered as their launch buttons on the main window.
enum class ProgramId { Astrology = 0, NumerologyPro = 1, Tarot = 2, Daily = 3, Runes = 4, Tantric = 5 };
inline constexpr int kProgramCount = 6;

// "Kestrava": the message boxes' title and the settings store's organisation.
QString productName();
// The project version, e.g. "1.25".
QString productVersion();
// "Kestrava v1.25": the main window's and the About box's caption.
QString productTitle();
// The program's name as its launch button shows it.
QString programName(ProgramId program);
// The caption of a program's own windows: "Orvanel " + name + " Software".
QString programWindowTitle(ProgramId program);

} // namespace kestrava
