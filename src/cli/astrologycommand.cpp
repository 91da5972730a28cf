#include "cli/astrologycommand.h"

#include "astrology/astrologydocument.h"
#include "astrology/fadic.h"
#include "cli/program.h"
#include "common/datelists.h"
#include "common/subjectcheck.h"

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    options::month,  options::day,    options::year,   options::born,  options::client,
    options::clients, options::format, options::pretty, options::batch,
};

struct AstrologyInputs
{
    int month = 0;
    int day = 0;
    int year = 0;
};

std::optional<QString> read(const Subject &s, AstrologyInputs &inputs)
{
    if (const auto problem = kestrava::checkDateEntries(s.text(Field::Day), s.text(Field::Month),
                                                        s.text(Field::Year)))
        return problem->message;
    inputs = {int(kestrava::monthNames().indexOf(s.text(Field::Month))) + 1, s.text(Field::Day).toInt(),
              s.text(Field::Year).toInt()};
    return std::nullopt;
}

QByteArray json(const AstrologyInputs &inputs)
{
    return astrology::fadicJson(inputs.month, inputs.day, inputs.year);
}

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"combined", "the combined fadic number"},
        {"fadic", "the fadic number"},
        {"planet", "the fadic number's ruling planet"},
        {"sign", "the fadic number's numerological zodiac sign"},
    });
}

// The command line reads no name: the document is headed by the date.
QList<richtext::Composition> document(const AstrologyInputs &inputs)
{
    return {astrology::readingDocument(QString(), inputs.month, inputs.day, inputs.year)};
}

constexpr Program<AstrologyInputs> kProgram{&read, &json, &document};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

const Command kAstrologyCommand{
    "astrology",
    "Ruzazeder Uvuvevizoz's fadic numbers with their planet and sign",
    "Ruzazeder Uvuvevizoz's combined fadic number and fadic number with its planet and sign.",
    kestrava::ProgramId::Astrology,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
