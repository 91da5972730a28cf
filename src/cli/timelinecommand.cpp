#include "cli/timelinecommand.h"

#include "cli/clientaccess.h"
#include "cli/numerologycommand.h"
#include "numpro/forecast/lifetimeline.h"
#include "numpro/forecast/picture/timelinepicture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    options::first,
    options::middle,
    options::last,
    options::month,
    options::day,
    options::year,
    options::born,
    {"today", "YYYY-MM-DD",
     "The date the timeline is drawn for: it marks that age and starts the personal years there (default: the "
     "local date).",
     Field::Today},
    {"out", "FILE",
     "The picture's file; its ending names the format: .png (at twice the natural size), .svg or .pdf, in any "
     "case. An existing file is replaced only once the new one is complete.",
     Field::None, nullptr, true},
    options::clientSubject,
    options::clients,
    options::keepCase,
};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;
    const QString path = call.values.value(u"out"_s);
    if (path.isEmpty())
        return usageError(command, u"--out names the picture's file"_s, err);
    const QString ending = QFileInfo(path).suffix().toLower();
    if (ending != u"png"_s && ending != u"svg"_s && ending != u"pdf"_s)
        return usageError(command, u"--out must end in .png, .svg or .pdf, not \"%1\""_s.arg(path), err);

    Subject subject;
    numpro::ReadingInputs inputs;
    if (const std::optional<int> failed = readNumerologyCall(command, call, err, subject, inputs))
        return *failed;
    if (const kestrava::MaybeFailure failure = numpro::writeTimeline(numpro::lifeTimeline(inputs), path)) {
        err << "kestrava-cli: cannot write " << path << ": " << failure->reason << "\n";
        return kExitUsage;
    }
    return kExitDone;
}

} // namespace

QCoreApplication *makeTimelineApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
}

const Command kTimelineCommand{
    "timeline",
    "Variduzeda Vad's life timeline as a PNG, SVG or PDF picture",
    "Variduzeda Vad's life timeline (the pinnacles, challenges, life path periods, essence and personal years "
    "along the ages) drawn into a PNG, SVG or PDF file, without a window or a display.",
    kestrava::ProgramId::NumerologyPro,
    kOptions,
    nullptr,
    false,
    &run,
};
