#include "numpro/readings/resultstate.h"

namespace numpro {

const ReadingValues &ResultState::store(QStringView id, ReadingValues values)
{
    return *m_values.insert(id.toString(), std::move(values));
}

const ReadingValues *ResultState::values(QStringView id) const
{
    const auto it = m_values.constFind(id.toString());
    return it == m_values.cend() ? nullptr : &it.value();
}

} // namespace numpro
