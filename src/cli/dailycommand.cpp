#include "cli/dailycommand.h"

#include "common/datelists.h"
#include "daily/dailynumber.h"

#include <QCommandLineParser>
#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage = u"kestrava-cli daily --day D --month MONTH [--today YYYY-MM-DD]"_s;

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Vavov Uvarevuvir's number of the day for a birth day and month."_s);
    parser.addOptions({
        {u"day"_s, u"Birth day, 1 to 31."_s, u"D"_s},
        {u"month"_s, u"Birth month, January to December."_s, u"MONTH"_s},
        {u"today"_s, u"The date to read for (default: today)."_s, u"YYYY-MM-DD"_s},
    });
    if (const std::optional<int> done = parseArguments(parser, u"daily"_s, kUsage, arguments, out, err))
        return *done;
    const QString day = parser.value(u"day"_s);
    const QString month = parser.value(u"month"_s);
    if (!kestrava::dayTexts().contains(day)) {
        err << "kestrava-cli: The day must be 1 to 31\n";
        return kExitUsage;
    }
    if (!kestrava::monthNames().contains(month)) {
        err << "kestrava-cli: The month must be January to December\n";
        return kExitUsage;
    }
    QDate today = QDate::currentDate();
    if (parser.isSet(u"today"_s)) {
        today = QDate::fromString(parser.value(u"today"_s), Qt::ISODate);
        if (!today.isValid() || today.year() < 1 || today.year() > 9999) {
            err << "kestrava-cli: --today must be a date written YYYY-MM-DD\n";
            return kExitUsage;
        }
    }
    const qint16 number = daily::dailyNumber(day, month, today);
    const QJsonObject json{{u"number"_s, number}, {u"word"_s, daily::dailyWord(number)}};
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitDone;
}

} // namespace

const Command kDailyCommand{"daily", "Vavov Uvarevuvir's number of the day", &run};
