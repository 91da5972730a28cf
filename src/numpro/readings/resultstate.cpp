#include "numpro/readings/resultstate.h"

#include "numpro/readings/readinglist.h"

namespace numpro {

namespace {

// Texts that share their data, as copies of one another do.
inline bool shared(const QString &a, const QString &b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

// Equal inputs; at once for copies of the same inputs, which is how one
// subject's readings see them.
inline bool sameInputs(const ReadingInputs &a, const ReadingInputs &b)
{
    if (shared(a.firstName, b.firstName) && shared(a.middleName, b.middleName) && shared(a.lastName, b.lastName)
        && shared(a.month, b.month) && shared(a.day, b.day) && shared(a.year, b.year) && a.today == b.today)
        return true;
    return a.firstName == b.firstName && a.middleName == b.middleName && a.lastName == b.lastName
           && a.month == b.month && a.day == b.day && a.year == b.year && a.today == b.today;
}

} // namespace

ResultState::ResultState() : m_entries(readingList().size())
{
}

void ResultState::clear()
{
    for (Entry &held : m_entries)
        held.held = false;
    m_inputs = {};
    ++m_inputsSerial;
    m_nameFactsSerial = -1;
}

ResultState::Entry *ResultState::entry(QStringView id)
{
    const std::ptrdiff_t index = readingIndex(id);
    return index < 0 ? nullptr : &m_entries[std::size_t(index)];
}

const ResultState::Entry *ResultState::entry(QStringView id) const
{
    const std::ptrdiff_t index = readingIndex(id);
    return index < 0 ? nullptr : &m_entries[std::size_t(index)];
}

const ReadingValues &ResultState::store(QStringView id, ReadingValues values, const ReadingInputs &inputs)
{
    const int serial = serialFor(inputs);
    Entry *held = entry(id);
    Q_ASSERT(held);
    if (!held) {
        // No reading of the list: kept nowhere it could be found again.
        m_unlisted = std::move(values);
        return m_unlisted;
    }
    held->values = std::move(values);
    held->inputsSerial = serial;
    held->held = true;
    return held->values;
}

const ReadingValues *ResultState::values(QStringView id) const
{
    const Entry *held = entry(id);
    return held && held->held ? &held->values : nullptr;
}

const ReadingValues *ResultState::valuesFor(QStringView id, const ReadingInputs &inputs) const
{
    const Entry *held = entry(id);
    if (!held || !held->held)
        return nullptr;
    return held->inputsSerial == m_inputsSerial && sameInputs(inputs, m_inputs) ? &held->values : nullptr;
}

int ResultState::serialFor(const ReadingInputs &inputs)
{
    if (!sameInputs(inputs, m_inputs)) {
        m_inputs = inputs;
        ++m_inputsSerial;
    }
    return m_inputsSerial;
}

const ReadingValues &ResultState::fresh(QStringView id, const ReadingInputs &inputs,
                                        ReadingValues (*compute)(const ReadingInputs &, ResultState &))
{
    if (const ReadingValues *held = valuesFor(id, inputs))
        return *held;
    return store(id, compute(inputs, *this), inputs);
}

const NameFacts &ResultState::nameFacts(const ReadingInputs &inputs)
{
    const int serial = serialFor(inputs);
    if (m_nameFactsSerial != serial) {
        m_nameFacts = numpro::nameFacts(inputs);
        m_nameFactsSerial = serial;
    }
    return m_nameFacts;
}

} // namespace numpro
