#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The character shift that keeps saved readings from being read at a glance:
// every Windows-1252 code is moved up by a fixed amount.
namespace kestrava {

// The same for every reading file of the suite; changing it makes every file
// saved before unreadable.
constexpr int kShift = 14;

// Each character as its Windows-1252 code plus kShift ('?' for a character the
// code page lacks).  A character whose shifted code would pass 255 is left
// out, so the result never holds CR or LF (every byte is at least kShift).
QByteArray shiftEncode(QStringView text);

// The inverse of shiftEncode; a byte below kShift stands for nothing and is
// left out.
QString shiftDecode(QByteArrayView encoded);

// The distinct characters of text, in order of first appearance, that
// shiftEncode would lose or replace, so the user can be warned before saving.
// A character outside the Basic Multilingual Plane is returned whole.
QString unsavableCharacters(QStringView text);

} // namespace kestrava
