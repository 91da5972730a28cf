#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/readings/readingvalues.h"

#include <vector>
#include <QString>
#include <QStringView>

namespace numpro {

// What the result navigator holds while it is open: the values each reading
// left, by reading id, with the inputs they were computed from.  The
// navigator starts every opening with a fresh state.
class ResultState
{
public:
    ResultState();

    // Keeps the values of the reading `id`, replacing those of an earlier run.
    const ReadingValues &store(QStringView id, ReadingValues values, const ReadingInputs &inputs = {});
    // The values the reading `id` left, or null when it has not run.
    const ReadingValues *values(QStringView id) const;
    // The values the reading `id` left for exactly these inputs, or null.
    const ReadingValues *valuesFor(QStringView id, const ReadingInputs &inputs) const;
    // The values of reading `id` for these inputs: those held when they were
    // computed from the same inputs, otherwise computed now and stored.
    const ReadingValues &fresh(QStringView id, const ReadingInputs &inputs,
                               ReadingValues (*compute)(const ReadingInputs &, ResultState &));

private:
    struct Entry
    {
        QStringView id; // a reading id of the list: static text
        int inputsSerial; // which inputs the values were computed from
        ReadingValues values;
    };
    // The inputs last stored with, and a number that changes with them.
    ReadingInputs m_inputs;
    int m_inputsSerial = 0;
    int serialFor(const ReadingInputs &inputs);
    // Room for every reading from the start, so that references handed out
    // stay valid as entries are added.
    std::vector<Entry> m_entries;
};

} // namespace numpro
