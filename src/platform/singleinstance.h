#pragma once

#include <QLockFile>
#include <memory>

namespace platform {

// Holds the per-user lock that keeps a second copy of the suite from running.
// A lock left behind by a crashed instance is recognised as stale and taken over.
class SingleInstance
{
public:
    SingleInstance();
    // True when this process is the only running instance (it then holds the lock).
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
