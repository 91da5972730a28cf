#include "cli/tarotcommand.h"

#include "common/numerology.h"
#include "common/randomsource.h"
#include "tarot/profiles.h"
#include "tarot/spread.h"
#include "tarot/tarotnumbers.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli tarot --name N --month MONTH --day D --year Y [--seed S]"_s;

QJsonArray cardNames(int number)
{
    QJsonArray names;
    for (const tarot::TarotCard &card : tarot::numberCards(number))
        names.append(card.name);
    return names;
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Virer Ovuvudavov's life path and destiny numbers with their tarot cards."_s);
    parser.addOption({u"name"_s, u"The name (any case: it is valued in capitals)."_s, u"N"_s});
    addBirthDateOptions(parser);
    parser.addOption({u"seed"_s,
                      u"Also deal the numerology spread, drawn by a generator seeded with S (0 to 2^64 - 1): "
                      u"the same seed deals the same cards."_s,
                      u"S"_s});
    if (const std::optional<int> done = parseArguments(parser, u"tarot"_s, kUsage, arguments, out, err))
        return *done;
    const QString name = parser.value(u"name"_s);
    if (name.isEmpty()) {
        err << "kestrava-cli: Please Enter Your Name\n";
        return kExitUsage;
    }
    const std::optional<BirthDate> date = birthDate(parser, err);
    if (!date)
        return kExitUsage;

    std::optional<quint64> seed;
    if (parser.isSet(u"seed"_s)) {
        bool ok = false;
        seed = parser.value(u"seed"_s).toULongLong(&ok);
        if (!ok) {
            err << "kestrava-cli: The seed must be a whole number from 0 to 18446744073709551615\n";
            return kExitUsage;
        }
    }

    const qint16 lifePath = tarot::lifePathNumber(date->day, date->month, date->year);
    const qint16 destiny = tarot::destinyNumber(kestrava::trimBlanks(name));
    QJsonObject json{{u"lifePath"_s, lifePath},
                     {u"destiny"_s, destiny},
                     {u"lifePathCards"_s, cardNames(lifePath)},
                     {u"destinyCards"_s, cardNames(destiny)}};
    if (seed) {
        kestrava::SeededRandom random(*seed);
        QJsonArray spread;
        for (const qint16 card : tarot::dealNumerologySpread(random))
            spread.append(card);
        json.insert(u"spread"_s, spread);
    }
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitDone;
}

} // namespace

const Command kTarotCommand{"tarot", "Virer Ovuvudavov's life path and destiny numbers with their cards", &run};
