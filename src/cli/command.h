#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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

class QCommandLineParser;

// Parses a subcommand's arguments with the options already added to parser
// (--help is added here).  Returns the exit status when the command is done
// already: help printed, or a usage error (unknown option, missing value,
// unexpected argument) said on err with the usage.  Nothing to go on.
std::optional<int> parseArguments(QCommandLineParser &parser, const QString &command, const QString &usage,
                                  const QStringList &arguments, QTextStream &out, QTextStream &err);

// The birth-date options of the dated subcommands: --month, --day and --year.
void addBirthDateOptions(QCommandLineParser &parser);

struct BirthDate
{
    QString month; // "January".."December"
    QString day;   // "1".."31"
    QString year;  // "1900".."2050"
    int monthNumber = 0;
};

// The date given, checked as the input windows' lists would hold it; nothing,
// after saying why on err, when it is missing or no entry of the lists.
std::optional<BirthDate> birthDate(const QCommandLineParser &parser, QTextStream &err);
