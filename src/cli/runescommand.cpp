#include "cli/runescommand.h"

#include "runes/runes.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli runes --name N"_s;

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Dudov Aduradudav's destiny number of a name and its rune stone."_s);
    parser.addOptions({{u"name"_s, u"The name (any case; only the letters A to Z count)."_s, u"N"_s}});
    if (const std::optional<int> done = parseArguments(parser, u"runes"_s, kUsage, arguments, out, err))
        return *done;
    const QString name = parser.value(u"name"_s);
    if (name.isEmpty()) {
        err << "kestrava-cli: Please enter name\n";
        return kExitUsage;
    }
    const qint16 total = runes::nameTotal(name); // blanks count nothing either way
    const qint16 number = runes::reduceByDigitSums(total);
    const runes::RuneRow *row = runes::runeRow(number);
    QJsonObject json{{u"total"_s, total}, {u"number"_s, number}};
    // 22, and a name without letters, have no rune.
    json.insert(u"rune"_s, row && !row->rune.isEmpty() ? QJsonValue(row->rune) : QJsonValue(QJsonValue::Null));
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitDone;
}

} // namespace

const Command kRunesCommand{"runes", "Dudov Aduradudav's destiny number of a name and its rune", &run};
