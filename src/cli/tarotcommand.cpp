#include "cli/tarotcommand.h"

#include "cli/program.h"
#include "common/randomsource.h"
#include "common/subjectcheck.h"
#include "tarot/deck.h"
#include "tarot/profiles.h"
#include "tarot/spread.h"
#include "tarot/tarotdocument.h"
#include "tarot/tarotreading.h"

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    {"name", "N", "The name.", Field::Name},
    options::month,
    options::day,
    options::year,
    options::born,
    {"seed", "S",
     "Also deal the numerology spread, drawn by a generator seeded with S (0 to 2^64 - 1): the same seed deals "
     "the same cards.",
     Field::Seed},
    options::client,
    options::clients,
    options::keepCase,
    options::format,
    options::pretty,
    options::batch,
};

struct TarotInputs
{
    tarot::TarotReading reading;
    std::optional<tarot::SpreadCards> spread; // dealt only with a seed
};

std::optional<QString> read(const Subject &s, TarotInputs &inputs)
{
    if (s.text(Field::Name).isEmpty())
        return u"Please Enter Your Name"_s;
    if (const auto problem = kestrava::checkDateEntries(s.text(Field::Day), s.text(Field::Month),
                                                        s.text(Field::Year)))
        return problem->message;
    if (const QString &seedText = s.text(Field::Seed); !seedText.isEmpty()) {
        bool ok = false;
        const quint64 seed = seedText.toULongLong(&ok);
        if (!ok)
            return u"The seed must be a whole number from 0 to 18446744073709551615"_s;
        kestrava::SeededRandom random(seed);
        inputs.spread = tarot::dealNumerologySpread(random);
    }
    inputs.reading = tarot::makeReading(s.text(Field::Name), s.text(Field::Day), s.text(Field::Month),
                                        s.text(Field::Year));
    return std::nullopt;
}

QByteArray json(const TarotInputs &inputs)
{
    return tarot::readingJson(inputs.reading, inputs.spread ? &*inputs.spread : nullptr);
}

QList<richtext::Composition> document(const TarotInputs &inputs)
{
    const tarot::NumberSection lifePath = tarot::numberSection(tarot::NumberPage::LifePath, inputs.reading.lifePath);
    const tarot::NumberSection destiny = tarot::numberSection(tarot::NumberPage::Destiny, inputs.reading.destiny);
    if (inputs.spread)
        return {tarot::readingDocument(inputs.reading, lifePath, destiny, *inputs.spread)};
    return {tarot::readingDocument(inputs.reading, lifePath, destiny)};
}

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"lifePath", "the life path number"},
        {"destiny", "the destiny number of the name (0 for a name without letters)"},
        {"lifePathCards", "the names of the life path number's cards, in their order"},
        {"destinyCards", "the names of the destiny number's cards (none for 0)"},
        {"spread", "with a seed: the nine dealt card numbers, position 1 first (0 = The Fool to 77 = King of "
                   "Pentacles)"},
        {"spreadCards", "with a seed: the nine dealt cards' names, position 1 first"},
    });
}

constexpr Program<TarotInputs> kProgram{&read, &json, &document};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

const Command kTarotCommand{
    "tarot",
    "Virer Ovuvudavov's life path and destiny numbers with their cards",
    "Virer Ovuvudavov's life path and destiny numbers with their tarot cards, and with a seed the numerology "
    "spread.",
    kestrava::ProgramId::Tarot,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
