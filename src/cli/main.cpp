// kestrava-cli: the suite's readings from the command line, on the same core
// the windows use.  Each subcommand is a file of its own, listed here.
#include "cli/astrologycommand.h"
#include "cli/clientscommand.h"
#include "cli/command.h"
#include "cli/compatibilitycommand.h"
#include "cli/dailycommand.h"
#include "cli/forecastcommand.h"
#include "cli/manual.h"
#include "cli/numerologycommand.h"
#include "cli/reportcommand.h"
#include "cli/runescommand.h"
#include "cli/tantriccommand.h"
#include "cli/tarotcommand.h"
#include "cli/timelinecommand.h"
#include "common/brand.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<const Command *, 11> kCommands = {
    &kNumerologyCommand, &kCompatibilityCommand, &kTarotCommand,    &kDailyCommand,    &kAstrologyCommand,
    &kRunesCommand,      &kTantricCommand,       &kForecastCommand, &kTimelineCommand, &kReportCommand,
    &kClientsCommand};

void printHelp(QTextStream &out)
{
    out << "usage: kestrava-cli COMMAND [options]\n"
           "       kestrava-cli COMMAND --help\n"
           "       kestrava-cli --version\n\n"
           "Commands:\n";
    // The summaries line up two blanks after the longest name.
    qsizetype width = 0;
    for (const Command *command : kCommands)
        width = std::max(width, qsizetype(qstrlen(command->name)));
    for (const Command *command : kCommands)
        out << "  " << QString::fromLatin1(command->name).leftJustified(width + 2) << command->summary << "\n";
}

// The build writes the manual page and the shell completion with these; the
// reference in docs/ is written the same way.  Not shown in --help.
struct Generator
{
    QStringView option;
    QString (*make)(std::span<const Command *const>);
};
const Generator kGenerators[] = {
    {u"--generate-manpage", &manualPage},
    {u"--generate-completion", &bashCompletion},
    {u"--generate-reference", &referenceMarkdown},
};

int generate(const Generator &generator, const QStringList &arguments, QTextStream &err)
{
    if (arguments.size() != 1) {
        err << "usage: kestrava-cli " << generator.option << " FILE\n";
        return kExitUsage;
    }
    QSaveFile file(arguments.front());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(generator.make(kCommands).toUtf8());
        if (file.commit())
            return kExitDone;
    }
    err << "kestrava-cli: cannot write " << arguments.front() << ": " << file.errorString() << "\n";
    return kExitUsage;
}

} // namespace

int main(int argc, char **argv)
{
    // Only the timeline and the report draw; everything else runs without Qt Gui.
    const bool draws = argc > 1
                       && (std::string_view(argv[1]) == std::string_view(kTimelineCommand.name)
                           || std::string_view(argv[1]) == std::string_view(kReportCommand.name));
    const std::unique_ptr<QCoreApplication> app(draws ? makeTimelineApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
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
    for (const Generator &generator : kGenerators) {
        if (first == generator.option)
            return generate(generator, arguments, err);
    }
    for (const Command *command : kCommands) {
        if (first == QString::fromLatin1(command->name))
            return command->run(*command, arguments, out, err);
    }
    err << "kestrava-cli: unknown command \"" << first << "\"\n";
    printHelp(err);
    return kExitUsage;
}
