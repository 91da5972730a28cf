#include "report/ui/reportchoices.h"

#include "numpro/readings/readinglist.h"
#include "platform/settingsstore.h"

using namespace Qt::StringLiterals;

namespace {

const QString kSections = u"ReportSections"_s;
const QString kNumerology = u"ReportNumerology"_s;
const QString kReadings = u"ReportReadings"_s;
const QString kForecastFrom = u"ReportForecastFrom"_s;
const QString kForecastTo = u"ReportForecastTo"_s;
const QString kDealSpread = u"ReportDealSpread"_s;
const QString kMarried = u"ReportMarried"_s;

const QString kComprehensive = u"Comprehensive"_s;
const QString kChosen = u"Chosen"_s;

QString truth(bool value)
{
    return value ? u"True"_s : u"False"_s;
}

// The stored truth value, or fallback for anything but "True" or "False".
bool truthOf(const QString &key, bool fallback)
{
    const QString text = platform::readSetting(key);
    if (text == u"True")
        return true;
    if (text == u"False")
        return false;
    return fallback;
}

std::optional<int> numberOf(const QString &key)
{
    bool ok = false;
    const int value = platform::readSetting(key).toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

ReportChoices ReportChoices::stored(int thisYear)
{
    ReportChoices choices;

    QList<report::SectionKind> sections;
    for (const QString &key : platform::readSetting(kSections).split(u' ', Qt::SkipEmptyParts)) {
        if (const auto kind = report::sectionFromKey(key); kind && !sections.contains(*kind))
            sections.append(*kind);
    }
    if (!sections.isEmpty())
        choices.sections = sections;

    // Only readings the window offers.  The ticks are kept with the
    // comprehensive reading too, for when the user turns to chosen ones; but
    // chosen readings of which none is left would make a report the window
    // refuses.
    QStringList readings;
    for (const numpro::Reading &reading : numpro::readingList()) {
        if (reading.isOffered())
            readings << reading.id.toString();
    }
    const QStringList stored = platform::readSetting(kReadings).split(u' ', Qt::SkipEmptyParts);
    QStringList chosen;
    for (const QString &id : readings) {
        if (stored.contains(id))
            chosen << id;
    }
    choices.readings = chosen;
    choices.comprehensive = platform::readSetting(kNumerology) != kChosen || chosen.isEmpty();

    const std::optional<int> from = numberOf(kForecastFrom);
    const std::optional<int> to = numberOf(kForecastTo);
    // Every year the window offers, written as years after this one.
    const auto offered = [thisYear](int offset) {
        return offset >= 1 - thisYear && offset <= 9999 - thisYear;
    };
    if (from && to && offered(*from) && offered(*to) && *from <= *to && *to - *from < kMaxForecastYears) {
        choices.forecastFrom = *from;
        choices.forecastTo = *to;
    }

    choices.dealSpread = truthOf(kDealSpread, choices.dealSpread);
    choices.married = truthOf(kMarried, choices.married);
    return choices;
}

void ReportChoices::store() const
{
    QStringList keys;
    for (const report::SectionKind kind : sections)
        keys << report::sectionKey(kind);
    platform::writeSetting(kSections, keys.join(u' '));
    platform::writeSetting(kNumerology, comprehensive ? kComprehensive : kChosen);
    platform::writeSetting(kReadings, readings.join(u' '));
    platform::writeSetting(kForecastFrom, QString::number(forecastFrom));
    platform::writeSetting(kForecastTo, QString::number(forecastTo));
    platform::writeSetting(kDealSpread, truth(dealSpread));
    platform::writeSetting(kMarried, truth(married));
}
