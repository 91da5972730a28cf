#pragma once

#include "numpro/readings/namefacts.h"
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

    // Forgets every value, as a fresh state would hold none; keeps its room,
    // so one state can serve subject after subject.
    void clear();

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

    // What the name readings read from the joined name of these inputs,
    // gathered once for all of them.
    const NameFacts &nameFacts(const ReadingInputs &inputs);

private:
    struct Entry
    {
        bool held = false;
        int inputsSerial = 0; // which inputs the values were computed from
        ReadingValues values;
    };
    // The inputs last stored with, and a number that changes with them.
    ReadingInputs m_inputs;
    int m_inputsSerial = 0;
    int serialFor(const ReadingInputs &inputs);
    // One entry for each reading of the list, in its order, from the start,
    // so that references handed out stay valid.
    std::vector<Entry> m_entries;
    Entry *entry(QStringView id);
    const Entry *entry(QStringView id) const;
    ReadingValues m_unlisted;
    NameFacts m_nameFacts;
    int m_nameFactsSerial = -1;
};

} // namespace numpro
