#include "cli/astrologycommand.h"

#include "astrology/fadic.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli astrology --month MONTH --day D --year Y"_s;

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Ruzazeder Uvuvevizoz's combined fadic number and fadic number with its planet and sign."_s);
    addBirthDateOptions(parser);
    if (const std::optional<int> done = parseArguments(parser, u"astrology"_s, kUsage, arguments, out, err))
        return *done;
    const std::optional<BirthDate> date = birthDate(parser, err);
    if (!date)
        return kExitUsage;
    const qint16 combined = astrology::fadicSum(date->monthNumber, date->day.toInt(), date->year.toInt(), false);
    const qint16 fadic = astrology::fadicSum(date->monthNumber, date->day.toInt(), date->year.toInt(), true);
    const astrology::FadicProfile *profile = astrology::fadicProfile(fadic);
    const QJsonObject json{{u"combined"_s, combined},
                           {u"fadic"_s, fadic},
                           {u"planet"_s, profile ? profile->planet : QString()},
                           {u"sign"_s, profile ? profile->sign : QString()}};
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitDone;
}

} // namespace

const Command kAstrologyCommand{"astrology", "Ruzazeder Uvuvevizoz's fadic numbers with their planet and sign", &run};
