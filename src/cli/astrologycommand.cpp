#include "cli/astrologycommand.h"

#include "astrology/fadic.h"
#include "common/datelists.h"
#include "common/subjectcheck.h"

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
    parser.addOptions({
        {u"month"_s, u"Birth month, January to December."_s, u"MONTH"_s},
        {u"day"_s, u"Birth day, 1 to 31."_s, u"D"_s},
        {u"year"_s, u"Birth year, 1900 to 2050."_s, u"Y"_s},
    });
    if (const std::optional<int> done = parseArguments(parser, u"astrology"_s, kUsage, arguments, out, err))
        return *done;
    const QString month = parser.value(u"month"_s);
    const QString day = parser.value(u"day"_s);
    const QString year = parser.value(u"year"_s);
    if (const auto problem = kestrava::checkDateEntries(day, month, year)) {
        err << "kestrava-cli: " << problem->message << "\n";
        return kExitUsage;
    }
    const int monthNumber = int(kestrava::monthNames().indexOf(month)) + 1;
    const qint16 combined = astrology::fadicSum(monthNumber, day.toInt(), year.toInt(), false);
    const qint16 fadic = astrology::fadicSum(monthNumber, day.toInt(), year.toInt(), true);
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
