#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingresult.h"
#include "numpro/readings/readingvalues.h"
#include "numpro/readings/resultstate.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <span>
#include <string>

namespace numpro {

// Computes a reading's values from the inputs.  It may read the values other
// readings left in the state, and store the values of readings it computes
// itself along the way; its own values are stored by the caller.
using ComputeReading = ReadingValues (*)(const ReadingInputs &, ResultState &);
// Composes the reading from its values for the display window or the document.
using ComposeReading = ReadingResult (*)(const ReadingValues &, OutputMode);

// One reading of the result navigator.
struct Reading
{
    // Stable id: the name of its data file (data/texts/numpro/<id>.json) and
    // the JSON key of its main value.
    QStringView id;
    // The navigator's button: object name, caption, and place (column 0..2,
    // row from the top of that column; column -1 for a button the navigator
    // places elsewhere).
    QStringView button;
    QStringView buttonCaption;
    int column;
    int row;
    // The hidden label on the navigator that shows the reading's number.
    QStringView hiddenLabel;
    // Null while the reading is not offered yet; its button stays disabled.
    ComputeReading compute = nullptr;
    ComposeReading compose = nullptr;

    bool isOffered() const { return compute && compose; }
};

// Every reading, in the order of the comprehensive document.
std::span<const Reading> readingList();

// The reading with that id, or null.
const Reading *findReading(QStringView id);
// Its place in the list, or -1.  At once for the list's own id views.
std::ptrdiff_t readingIndex(QStringView id);

// Computes the reading, stores its values in the state and composes it.
// A reading that is not offered gives an empty result and leaves the state.
ReadingResult runReading(const Reading &reading, const ReadingInputs &inputs, ResultState &state, OutputMode mode);

// Whether the reading counts the letters of the name.
bool readsName(QStringView id);

// The sentence that names the letters of the name that count nothing
// ("Ø has no value in this system and was not counted."); empty when every
// letter counts.
QString uncountedLettersSentence(const ReadingInputs &inputs);

// Computes every reading's values in list order (the comprehensive order),
// composing nothing: what a front end needs for the numbers alone.
void computeAllReadings(const ReadingInputs &inputs, ResultState &state);

// The values of every reading that has run, as one compact JSON object with
// its keys in list order; the one place values are written as JSON.
QByteArray valuesToJsonText(const ResultState &state);
// The same appended to out, for writing many subjects without a copy each.
void appendValuesJson(std::string &out, const ResultState &state);
// The same as an object.
QJsonObject valuesToJson(const ResultState &state);

// The captions of the navigator's hidden labels, by label name, for the
// readings that have run: each label shows its reading's number (several
// numbers separated by single blanks; the planes' percentages from Mental to
// Intuitive; the current life path period), and none where the reading could
// not compute its number.
QHash<QString, QString> hiddenLabelCaptions(const ResultState &state);

} // namespace numpro
