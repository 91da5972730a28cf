#include "platform/services.h"

namespace platform {

RealServices::RealServices()
    : m_messages(std::make_unique<QtMessageBoxes>())
    , m_files(std::make_unique<QtFileDialogs>())
    , m_clock(std::make_unique<SystemClock>())
    , m_printer(std::make_unique<DefaultPrinter>())
    , m_random(std::make_unique<kestrava::SystemRandom>())
{
}

Services RealServices::services() const
{
    return {m_messages.get(), m_files.get(), m_clock.get(), m_printer.get(), m_random.get()};
}

} // namespace platform
