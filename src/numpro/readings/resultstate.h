#pragma once

#include "numpro/readings/readingvalues.h"

#include <QHash>
#include <QString>
#include <QStringView>

namespace numpro {

// What the result navigator holds while it is open: the values each reading
// left, by reading id.  The navigator starts every opening with a fresh state.
class ResultState
{
public:
    // Keeps the values of the reading `id`, replacing those of an earlier run.
    const ReadingValues &store(QStringView id, ReadingValues values);
    // The values the reading `id` left, or null when it has not run.
    const ReadingValues *values(QStringView id) const;

private:
    QHash<QString, ReadingValues> m_values;
};

} // namespace numpro
