#include "cli/command.h"

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
