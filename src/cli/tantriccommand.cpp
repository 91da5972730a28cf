#include "cli/tantriccommand.h"

#include "common/datelists.h"
#include "common/subjectcheck.h"
#include "tantric/tantricnumbers.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli tantric --month MONTH --day D --year Y"_s;

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Vorizov Avazodizaz's soul, karma, gift, knowledge and path numbers."_s);
    parser.addOptions({
        {u"month"_s, u"Birth month, January to December."_s, u"MONTH"_s},
        {u"day"_s, u"Birth day, 1 to 31."_s, u"D"_s},
        {u"year"_s, u"Birth year, 1900 to 2050."_s, u"Y"_s},
    });
    if (const std::optional<int> done = parseArguments(parser, u"tantric"_s, kUsage, arguments, out, err))
        return *done;
    const QString month = parser.value(u"month"_s);
    const QString day = parser.value(u"day"_s);
    const QString year = parser.value(u"year"_s);
    if (const auto problem = kestrava::checkDateEntries(day, month, year)) {
        err << "kestrava-cli: " << problem->message << "\n";
        return kExitUsage;
    }
    const tantric::TantricNumbers n =
        tantric::tantricNumbers(day.toInt(), int(kestrava::monthNames().indexOf(month)) + 1, year.toInt());
    const QJsonObject json{{u"soul"_s, n.soul},
                           {u"karma"_s, n.karma},
                           {u"gift"_s, n.gift},
                           {u"knowledge"_s, n.knowledge},
                           {u"path"_s, n.path}};
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitDone;
}

} // namespace

const Command kTantricCommand{"tantric", "Vorizov Avazodizaz's five tantric numbers", &run};
