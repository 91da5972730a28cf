#include "cli/tantriccommand.h"

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
    addBirthDateOptions(parser);
    if (const std::optional<int> done = parseArguments(parser, u"tantric"_s, kUsage, arguments, out, err))
        return *done;
    const std::optional<BirthDate> date = birthDate(parser, err);
    if (!date)
        return kExitUsage;
    const tantric::TantricNumbers n = tantric::tantricNumbers(date->day.toInt(), date->monthNumber, date->year.toInt());
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
