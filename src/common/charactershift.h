#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
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

// A character a saved reading cannot keep, and what saving does with it.
struct UnsavableCharacter
{
    enum class Fate {
        Replaced, // not in Windows-1252: written as "?"
        Dropped,  // its shifted code would pass 255: left out
    };
    QString character; // a whole surrogate pair outside the Basic Multilingual Plane
    Fate fate;

    friend bool operator==(const UnsavableCharacter &, const UnsavableCharacter &) = default;
};

// The distinct characters of text, in order of first appearance, that
// shiftEncode would lose or replace, so the user can be warned before saving.
QList<UnsavableCharacter> unsavableCharacters(QStringView text);

} // namespace kestrava
