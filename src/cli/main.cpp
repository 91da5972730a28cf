// kestrava-cli: the suite's readings from the command line, on the same core
// the windows use.  Each subcommand is a file of its own, listed here.
#include "cli/astrologycommand.h"
#include "cli/command.h"
#include "cli/dailycommand.h"
#include "cli/numerologycommand.h"
#include "cli/runescommand.h"
#include "cli/tantriccommand.h"
#include "cli/tarotcommand.h"
#include "common/brand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <array>
#include <cstdio>

namespace {

constexpr std::array kCommands = {&kNumerologyCommand, &kTarotCommand, &kDailyCommand, &kAstrologyCommand,
                                   &kRunesCommand, &kTantricCommand};

void printHelp(QTextStream &out)
{
    out << "usage: kestrava-cli COMMAND [options]\n"
           "       kestrava-cli COMMAND --help\n"
           "       kestrava-cli --version\n\n"
           "Commands:\n";
    for (const Command *command : kCommands)
        out << "  " << QString::fromLatin1(command->name).leftJustified(12) << command->summary << "\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    if (arguments.isEmpty()) {
        printHelp(err);
        return kExitUsage;
    }
    const QString first = arguments.takeFirst();
    if (first == u"--help" || first == u"-h") {
        printHelp(out);
        return kExitDone;
    }
    if (first == u"--version") {
        out << "kestrava-cli " << kestrava::productVersion() << "\n";
        return kExitDone;
    }
    for (const Command *command : kCommands) {
        if (first == QString::fromLatin1(command->name))
            return command->run(arguments, out, err);
    }
    err << "kestrava-cli: unknown command \"" << first << "\"\n";
    printHelp(err);
    return kExitUsage;
}
