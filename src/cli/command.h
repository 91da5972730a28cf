#pragma once

#include <QStringList>

class QTextStream;

// One subcommand of kestrava-cli.  Each lives in a file of its own and is
// listed once in main.cpp.
struct Command
{
    const char *name;
    const char *summary;
    // Runs with the arguments after the subcommand's name; returns the exit
    // status (0 done, 1 some input failed, 2 usage error).
    int (*run)(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

// Exit statuses every subcommand uses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
