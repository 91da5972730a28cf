#include "cli/runescommand.h"

#include "cli/program.h"
#include "runes/runes.h"
#include "runes/runesdocument.h"

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    {"name", "N", "The name (only the letters A to Z count).", Field::Name},
    options::client,
    options::clients,
    options::keepCase,
    options::format,
    options::pretty,
    options::batch,
};

struct RunesInputs
{
    QString name;
};

std::optional<QString> read(const Subject &s, RunesInputs &inputs)
{
    inputs.name = s.text(Field::Name);
    if (inputs.name.isEmpty())
        return u"Please enter name"_s;
    return std::nullopt;
}

QByteArray json(const RunesInputs &inputs)
{
    return runes::valuesJson(inputs.name);
}

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"total", "the letters' values added up"},
        {"number", "the destiny number"},
        {"rune", "the number's rune stone; null for 22 and for a name without letters"},
    });
}

QList<richtext::Composition> document(const RunesInputs &inputs)
{
    return {runes::readingDocument(inputs.name)};
}

constexpr Program<RunesInputs> kProgram{&read, &json, &document};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

const Command kRunesCommand{
    "runes",
    "Dudov Aduradudav's destiny number of a name and its rune",
    "Dudov Aduradudav's destiny number of a name and its rune stone.",
    kestrava::ProgramId::Runes,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
