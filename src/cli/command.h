#pragma once

#include "common/brand.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QTextStream;

// Exit statuses every subcommand uses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

// What an option gives.  The subject's fields are also the columns of a
// batch file, named as the options are; today, seed and married may be
// columns too, whose empty fields take the option's value.
enum class Field { Name, First, Middle, Last, Month, Day, Year, Born, Today, Seed, Married, None };
inline constexpr int kFieldCount = int(Field::None);

// One option of a subcommand, as --help, the manual page and the shell
// completion show it.  A subcommand's options are one static table of these.
struct OptionEntry
{
    const char *name;        // without the leading dashes
    const char *valueName;   // null for a switch
    const char *description;
    Field field = Field::None;
    const char *choices = nullptr; // blank-separated values to complete, or null
    bool required = false;         // shown without brackets in the usage line
};

// The options every subcommand shares, to be listed in its table.
namespace options {
// The three names of the person a reading takes them from (not the tarot's
// or runes' single name).
extern const OptionEntry first, middle, last;
extern const OptionEntry month, day, year, born, keepCase, format, formatJsonOnly, pretty, batch;
// The day a couple married, for the marriage vibration.
extern const OptionEntry married;
// A client of the book instead of the name and date options (for a reading,
// which joins their history, or for a forecast or picture, which does not),
// and the book.
extern const OptionEntry client, clientSubject, clients;
}

// What a command with several of its own (clients list, clients add, ...)
// does with each: its operands and the options it takes, by name.
struct Action
{
    const char *name;
    const char *operands;    // "ID", "KEEP OTHER", "[FILE|-]", "FILE...", or empty
    const char *options;     // blank-separated option names
    const char *description;
    // Every option may be left out, the required ones too (a change names
    // only what changes).
    bool optionsOptional = false;
};

// A key of a subcommand's JSON object and what it holds.
struct JsonKey
{
    QString key;
    QString meaning;
};

// One subcommand of kestrava-cli.  Each lives in a file of its own and is
// listed once in main.cpp.
struct Command
{
    const char *name;
    const char *summary;     // one line for kestrava-cli --help
    const char *description; // the opening of its own --help and manual section
    kestrava::ProgramId program;
    std::span<const OptionEntry> options;
    // Its JSON object's keys in the order they are written; null for a
    // command that writes no JSON.
    QList<JsonKey> (*jsonKeys)();
    // Whether it writes text and HTML documents besides JSON.
    bool documents;
    // Runs with the arguments after the subcommand's name; returns the exit
    // status.
    int (*run)(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err);
    // The command's own actions, the first word after its name; none for a
    // command that reads one subject.
    std::span<const Action> actions = {};

    bool hasField(Field field) const;
    bool hasOption(std::string_view name) const;
    const OptionEntry *option(Field field) const;
    // The option table as shown and parsed: --format says json only while
    // the command writes no documents.
    std::vector<OptionEntry> optionList() const;
    // "kestrava-cli tarot --name N ..." lines: for one subject, for a client
    // of the book and for a batch, as far as the command has them; one per
    // action for a command with actions.
    QStringList usage() const;
};

// A static table of keys as the list jsonKeys() returns.
QList<JsonKey> jsonKeyList(std::initializer_list<std::pair<const char *, const char *>> keys);

enum class OutputFormat { Json, Text, Html };

// How a subcommand was asked to run.
struct Invocation
{
    OutputFormat format = OutputFormat::Json;
    bool pretty = false;
    bool keepCase = false;
    std::optional<QString> batch; // the file, or "-" for standard input
    // The option texts by field, as given.
    std::array<QString, kFieldCount> given;
    std::array<bool, kFieldCount> isSet{};
    // --today, or the local date.
    QDate today;
    // Every option given, by name, with its value (empty for a switch).
    QHash<QString, QString> values;
    // The words after the command's name that are no options: the action and
    // its operands, for a command with actions.
    QStringList operands;
};

// Parses a subcommand's arguments by its option table.  Returns the exit
// status when the command is done already: help printed, or a usage error
// (unknown option, missing value, unexpected argument, a bad --format or
// --today, options that exclude each other) said on err with the usage.
std::optional<int> parseInvocation(const Command &command, const QStringList &arguments, Invocation &call,
                                   QTextStream &out, QTextStream &err);

// Says a usage error on err with the command's usage; returns kExitUsage.
int usageError(const Command &command, const QString &message, QTextStream &err);

// One subject as the programs take it, from the options or a batch row, with
// the rules every subcommand shares applied: names in capitals (unless
// --keep-case), --born split into month, day and year, the month as the date
// lists hold it where it names one, today as a date.
class Subject
{
public:
    const QString &text(Field field) const { return m_text[std::size_t(field)]; }
    QString &text(Field field) { return m_text[std::size_t(field)]; }
    // The name as one text: the single name, or first, middle and last
    // joined by blanks.
    QString fullName() const;

    QDate today;

private:
    std::array<QString, kFieldCount> m_text;
};

// Applies the shared rules to the raw field texts of one subject.  `source`
// names a field in a problem: "--" for options, "" for batch columns.  The
// problem is nothing the program's own checks would say (those come later).
std::optional<QString> makeSubject(std::array<QString, kFieldCount> raw, bool keepCase, const QDate &today,
                                   QStringView source, Subject &subject);

// The title of the HTML page of a subject's reading: "Variduzeda Vad
// reading: MARY ANN SMITH".
QString documentTitle(const Command &command, const Subject &subject);

// The month name ("January".."December") of an English month name in any
// case, its first three letters or its number 1 to 12 (leading zeros
// allowed); the text unchanged when it is none of them, for the program's
// own check to refuse.
QString monthName(const QString &text);

// A date written YYYY-MM-DD exactly; nothing otherwise.
std::optional<QDate> parseIsoDate(const QString &text);

// A marriage date: written YYYY-MM-DD and in the years the marriage date
// lists offer; nothing otherwise.
std::optional<QDate> parseMarriageDate(const QString &text);
// What is wrong with a marriage date's text; `source` as for makeSubject.
QString marriageDateProblem(QStringView source, const QString &text);
