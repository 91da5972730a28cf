#pragma once

#include <QDateTime>

namespace platform {

// Local date and time of day.  Windows ask the clock; core code gets dates as parameters.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace platform
