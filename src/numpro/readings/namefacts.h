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
    // nameLetterSum of the first name alone.
    qint16 firstNameLetterSum = 0;
    // How often each capital A..Z occurs.
    std::array<qint64, 26> letterCounts{};
    // Characters of the joined name, counted as code points.
    qint64 length = 0;

    // Bit v set when a character of the name has the letter value v (1..9).
    quint16 letterValues = 0;
    // The letter value of the most frequent capital, the one that comes first
    // in the name among equals; 0 when the name has no capital.
    qint16 hiddenPassion = 0;

    bool hasLetterValue(int value) const { return letterValues >> value & 1; }
};

NameFacts nameFacts(const ReadingInputs &inputs);

} // namespace numpro
