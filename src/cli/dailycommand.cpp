#include "cli/dailycommand.h"

#include "cli/program.h"
#include "common/datelists.h"
#include "daily/dailydocument.h"
#include "daily/dailynumber.h"

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    options::day,
    options::month,
    {"born", "YYYY-MM-DD", "The birth date in one option, instead of --month and --day (its year is not used).",
     Field::Born},
    {"today", "YYYY-MM-DD", "The date to read for (default: the local date).", Field::Today},
    options::client,
    options::clients,
    options::format,
    options::pretty,
    options::batch,
};

struct DailyInputs
{
    QString day;
    QString month;
    QDate today;
};

std::optional<QString> read(const Subject &s, DailyInputs &inputs)
{
    inputs = {s.text(Field::Day), s.text(Field::Month), s.today};
    if (!kestrava::dayTexts().contains(inputs.day))
        return u"The day must be 1 to 31"_s;
    if (!kestrava::monthNames().contains(inputs.month))
        return u"The month must be January to December"_s;
    // 30 February and the like: the window's own message.
    if (!daily::birthDateExists(inputs.day.toInt(), int(kestrava::monthNames().indexOf(inputs.month)) + 1))
        return u"Please Enter Correct Date !"_s;
    return std::nullopt;
}

QByteArray json(const DailyInputs &inputs)
{
    return daily::dailyJson(daily::dailyNumber(inputs.day, inputs.month, inputs.today));
}

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"number", "the number of the day, 1 to 9"},
        {"word", "the number as a word, \"One\" to \"Nine\""},
    });
}

QList<richtext::Composition> document(const DailyInputs &inputs)
{
    return {daily::readingDocument(inputs.day, inputs.month, inputs.today)};
}

constexpr Program<DailyInputs> kProgram{&read, &json, &document};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return runProgram(command, kProgram, arguments, out, err);
}

} // namespace

const Command kDailyCommand{
    "daily",
    "Vavov Uvarevuvir's number of the day",
    "Vavov Uvarevuvir's number of the day for a birth day and month.",
    kestrava::ProgramId::Daily,
    kOptions,
    &jsonKeys,
    writesDocuments(kProgram),
    &run,
};
