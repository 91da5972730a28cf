#include "cli/command.h"

#include "common/datelists.h"
#include "common/subjectcheck.h"

#include <QCommandLineParser>
#include <QTextStream>

std::optional<int> parseArguments(QCommandLineParser &parser, const QString &command, const QString &usage,
                                  const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    parser.addHelpOption();
    if (!parser.parse(QStringList{QStringLiteral("kestrava-cli ") + command} + arguments)) {
        err << "kestrava-cli: " << parser.errorText() << "\nusage: " << usage << "\n";
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << "usage: " << usage << "\n\n" << parser.applicationDescription() << "\n\n"
            << parser.helpText().section(QStringLiteral("Options:"), 1).prepend(QStringLiteral("Options:")).trimmed()
            << "\n";
        return kExitDone;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "kestrava-cli: unexpected argument \"" << parser.positionalArguments().front() << "\"\nusage: "
            << usage << "\n";
        return kExitUsage;
    }
    return std::nullopt;
}

void addBirthDateOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("month"), QStringLiteral("Birth month, January to December."), QStringLiteral("MONTH")},
        {QStringLiteral("day"), QStringLiteral("Birth day, 1 to 31."), QStringLiteral("D")},
        {QStringLiteral("year"), QStringLiteral("Birth year, 1900 to 2050."), QStringLiteral("Y")},
    });
}

std::optional<BirthDate> birthDate(const QCommandLineParser &parser, QTextStream &err)
{
    BirthDate date{parser.value(QStringLiteral("month")), parser.value(QStringLiteral("day")),
                   parser.value(QStringLiteral("year")), 0};
    if (const auto problem = kestrava::checkDateEntries(date.day, date.month, date.year)) {
        err << "kestrava-cli: " << problem->message << "\n";
        return std::nullopt;
    }
    date.monthNumber = int(kestrava::monthNames().indexOf(date.month)) + 1;
    return date;
}
