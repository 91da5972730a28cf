#include "cli/tantriccommand.h"

#include "cli/program.h"
#include "common/datelists.h"
#include "common/subjectcheck.h"
#include "tantric/tantricdocument.h"
#include "tantric/tantricnumbers.h"

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    options::month,  options::day,    options::year,   options::born,  options::client,
    options::clients, options::format, options::pretty, options::batch,
};

struct TantricInputs
{
    int day = 0;
    int month = 0;
    int year = 0;
};

std::optional<QString> read(const Subject &s, TantricInputs &inputs)
{
    if (const auto problem = kestrava::checkDateEntries(s.text(Field::Day), s.text(Field::Month),
                                                        s.text(Field::Year)))
        return problem->message;
    inputs = {s.text(Field::Day).toInt(), int(kestrava::monthNames().indexOf(s.text(Field::Month))) + 1,
              s.text(Field::Year).toInt()};
    return std::nullopt;
}

QByteArray json(const TantricInputs &inputs)
{
    return tantric::tantricJson(tantric::tantricNumbers(inputs.day, inputs.month, inputs.year));
}

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"soul", "the soul number"},
        {"karma", "the karma number"},
        {"gift", "the gift number (0 for a year ending in 00, which has none)"},
        {"knowledge", "the knowledge number"},
        {"path", "the path number"},
    });
}

// The command line reads no name: the document is headed by the date.
QList<richtext::Composition> document(const TantricInputs &inputs)
{
    return {tantric::readingDocument(QString(), inputs.day, inputs.month, inputs.year)};
}

constexpr Program<TantricInputs> kProgram{&read, &json, &document};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

const Command kTantricCommand{
    "tantric",
    "Vorizov Avazodizaz's five tantric numbers",
    "Vorizov Avazodizaz's soul, karma, gift, knowledge and path numbers.",
    kestrava::ProgramId::Tantric,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
