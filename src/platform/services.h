#pragma once

#include "common/randomsource.h"
#include "platform/clock.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/printer.h"

#include <memory>

namespace platform {

// The platform services a window may need.  The application hands the real
// ones to the main window; tests hand in doubles for the modal or clock-bound ones.
struct Services
{
    MessageBoxes *messages = nullptr;
    FileDialogs *files = nullptr;
    Clock *clock = nullptr;
    Printer *printer = nullptr;
    kestrava::RandomSource *random = nullptr;
};

// Owns the real implementations.
class RealServices
{
public:
    RealServices();
    Services services() const;

private:
    std::unique_ptr<MessageBoxes> m_messages;
    std::unique_ptr<FileDialogs> m_files;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<Printer> m_printer;
    std::unique_ptr<kestrava::RandomSource> m_random;
};

} // namespace platform
