#include "tantric/tantricnumbers.h"

#include "common/brand.h"
#include "common/jsonresource.h"
#include "common/jsonwriter.h"
#include "common/numerology.h"

#include <QJsonObject>
#include <QObject>

namespace tantric {

namespace {

const QJsonObject &tables()
{
    static const QJsonObject loaded = kestrava::readJsonResource(QStringLiteral(":/texts/tantric/tantric.json"));
    return loaded;
}

QStringView tableKey(Table table)
{
    switch (table) {
    case Table::Soul: return u"soul";
    case Table::Karma: return u"karma";
    case Table::Gift: return u"gift";
    case Table::Knowledge: return u"knowledge";
    case Table::Path: return u"path";
    }
    return {};
}

// The colours of the chart's sections.
constexpr richtext::Rgb kNavy{0, 0, 128};
constexpr richtext::Rgb kRed{255, 0, 0};

} // namespace

qint16 tantricReduce(int n)
{
    if (n == 11)
        return 11;
    QString digits = QString::number(qAbs(n));
    int sum = 0;
    while (!digits.isEmpty()) {
        sum += digits.front().digitValue();
        digits.remove(0, 1);
        if (sum == 10 || sum == 11)
            return qint16(sum);
        if (sum >= 12) {
            digits = QString::number(sum) + digits;
            sum = 0;
        }
    }
    return qint16(sum);
}

TantricNumbers tantricNumbers(int day, int month, int year)
{
    TantricNumbers n;
    n.soul = tantricReduce(day);
    n.karma = tantricReduce(month);
    n.gift = tantricReduce(qAbs(year) % 100);
    n.knowledge = tantricReduce(kestrava::digitSumOf(year));
    n.path = tantricReduce(n.karma + n.soul + n.knowledge);
    return n;
}

QString tantricText(Table table, int number)
{
    return tables().value(tableKey(table)).toObject().value(QString::number(number)).toString();
}

QString caption(Table table)
{
    switch (table) {
    case Table::Soul: return QObject::tr("Soul");
    case Table::Karma: return QObject::tr("Karma");
    case Table::Gift: return QObject::tr("Gift");
    case Table::Knowledge: return QObject::tr("Knowledge");
    case Table::Path: return QObject::tr("Path");
    }
    return {};
}

QString chartTitle(const QString &name)
{
    return QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tantric) + QObject::tr(" Chart for ")
           + name;
}

richtext::Composition tantricChart(const QString &name, const TantricNumbers &numbers)
{
    using namespace richtext;
    Composition chart;
    chart.bold(true).size(12).colour(kBlack).append(chartTitle(name) + crlf(2));
    chart.bold(false);
    return chart.append(chartSections(numbers));
}

richtext::Composition chartSections(const TantricNumbers &numbers, EmptyGift emptyGift)
{
    using namespace richtext;
    Composition chart;
    const struct
    {
        Rgb colour;
        Table table;
        qint16 number;
    } sections[] = {
        {kPurple, Table::Path, numbers.path},
        {kNavy, Table::Soul, numbers.soul},
        {kGreen, Table::Knowledge, numbers.knowledge},
        {kRed, Table::Gift, numbers.gift},
        {kDarkRed, Table::Karma, numbers.karma},
    };
    for (const auto &section : sections) {
        if (section.table == Table::Gift && section.number == 0 && emptyGift == EmptyGift::Nothing)
            continue;
        const bool last = section.table == Table::Karma;
        chart.bold(true).size(10).colour(section.colour);
        // A gift number of 0 has no heading; its empty text still leaves its two line breaks.
        if (section.table != Table::Gift || section.number != 0)
            chart.append(caption(section.table) + QStringLiteral(": ") + QString::number(section.number) + crlf());
        chart.append(tantricText(section.table, section.number) + (last ? QString() : crlf(2)));
        chart.bold(false);
    }
    return chart;
}

QByteArray tantricJson(const TantricNumbers &n)
{
    return kestrava::JsonObjectWriter()
        .add("soul", n.soul)
        .add("karma", n.karma)
        .add("gift", n.gift)
        .add("knowledge", n.knowledge)
        .add("path", n.path)
        .finish();
}

} // namespace tantric
