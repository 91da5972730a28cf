#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// While it lives, this thread opens files with the permissions of an
// ordinary user (nobody) when the tests run as the superuser, who may read
// and write any file: so unreadable and read-only files can be tried there
// too.  Files and folders meant to be reached need permissions for others.
class AsOrdinaryUser
{
public:
    AsOrdinaryUser() : m_switched(::geteuid() == 0)
    {
        if (m_switched) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~AsOrdinaryUser()
    {
        if (m_switched) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    bool m_switched;
};
