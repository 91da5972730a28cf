#pragma once

#include "numpro/readings/readinginputs.h"

#include <QtGlobal>

#include <array>

namespace numpro {

// What the name readings read from the joined name (the three name fields,
// each without its leading and trailing blanks, joined), gathered in one pass
// over the fields: no reading goes over the name again or copies it.
struct NameFacts
{
    // nameLetterSum, vowelSum and consonantSum of the joined name, each one
    // running 16-bit sum along it.
    qint16 letterSum = 0;
    qint16 vowelSum = 0;
    qint16 consonantSum = 0;
    // How often each capital A..Z occurs, and the UTF-16 position in the
    // joined name where it first does (-1 when it does not).
    std::array<qint64, 26> letterCounts{};
    std::array<qint64, 26> firstAt{};
    // Characters of the joined name, counted as code points.
    qint64 length = 0;

    // Whether a character of the name has the letter value 1..9.
    bool hasLetterValue(int value) const;
    // The letter value of the most frequent capital, the one that comes first
    // in the name among equals; 0 when the name has no capital.
    qint16 hiddenPassion() const;
};

NameFacts nameFacts(const ReadingInputs &inputs);

} // namespace numpro
