#include "report/reportcontent.h"

#include "astrology/astrologydocument.h"
#include "common/datelists.h"
#include "common/subjectcheck.h"
#include "daily/dailydocument.h"
#include "daily/dailynumber.h"
#include "numpro/forecast/forecast.h"
#include "numpro/readings/comprehensivereading.h"
#include "numpro/readings/readingcompose.h"
#include "numpro/readings/readinglist.h"
#include "numpro/relationships/compatibility.h"
#include "runes/runesdocument.h"
#include "tantric/tantricdocument.h"
#include "tarot/deck.h"
#include "tarot/tarotdocument.h"
#include "tarot/tarotreading.h"

#include <QJsonArray>
#include <QLocale>
#include <QObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace report {

namespace {

struct SectionName
{
    SectionKind kind;
    QStringView key;
};

constexpr SectionName kSectionNames[] = {
    {SectionKind::Numerology, u"numerology"}, {SectionKind::Timeline, u"timeline"},
    {SectionKind::Forecast, u"forecast"},     {SectionKind::Tarot, u"tarot"},
    {SectionKind::Astrology, u"astrology"},   {SectionKind::Runes, u"runes"},
    {SectionKind::Tantric, u"tantric"},       {SectionKind::Daily, u"daily"},
    {SectionKind::Compatibility, u"compatibility"},
};

// The person as the programs' input windows would hold them: the date as the
// lists' texts.
struct DateTexts
{
    QString day;
    QString month;
    QString year;
};

DateTexts dateTexts(QDate date)
{
    if (!date.isValid())
        return {};
    return {QString::number(date.day()), kestrava::monthNames().value(date.month() - 1), QString::number(date.year())};
}

numpro::ReadingInputs readingInputs(const kestrava::Person &person, QDate today, QDate marriageDate = {})
{
    const DateTexts date = dateTexts(person.birthDate);
    return {person.firstName, person.middleName, person.lastName, date.month, date.day, date.year, today,
            marriageDate};
}

// What the numerology input window says for a person it cannot read.
std::optional<QString> personProblem(const kestrava::Person &person)
{
    const DateTexts date = dateTexts(person.birthDate);
    if (const auto problem = kestrava::checkSubject(person.firstName, person.lastName, date.day, date.month, date.year))
        return problem->message;
    if (const auto problem = kestrava::checkDateEntries(date.day, date.month, date.year))
        return problem->message;
    return std::nullopt;
}

QList<richtext::Composition> numerologyParts(const ReportRequest &request)
{
    const numpro::ReadingInputs inputs = readingInputs(request.person, request.today, request.marriageDate);
    numpro::ResultState state;
    QList<numpro::ReadingResult> items;
    if (request.numerologyReadings.isEmpty()) {
        items = numpro::comprehensiveReading(inputs, state, kestrava::TitleBlock::Omitted);
    } else {
        // Readings that build on others find their values in the state.
        numpro::computeAllReadings(inputs, state);
        for (const numpro::Reading &reading : numpro::readingList()) {
            if (request.numerologyReadings.contains(reading.id.toString()))
                items.append(numpro::runReading(reading, inputs, state, numpro::OutputMode::Document));
        }
    }
    QList<richtext::Composition> parts;
    for (const numpro::ReadingResult &item : std::as_const(items)) {
        const richtext::Composition part = numpro::withoutCreditAndFooter(item.text);
        if (!part.plainText().trimmed().isEmpty())
            parts.append(part);
    }
    return parts;
}

richtext::Composition timelineText(const numpro::LifeTimeline &timeline)
{
    richtext::Composition c;
    for (const numpro::TimelineRow row :
         {numpro::TimelineRow::Pinnacles, numpro::TimelineRow::Challenges, numpro::TimelineRow::Periods}) {
        c.bold(true).colour(richtext::kDarkCyan).append(numpro::timelineRowName(row) + richtext::crlf());
        c.bold(false).defaultColour();
        for (const numpro::TimelineBand &band : timeline.row(row))
            c.append(numpro::bandDescription(band) + richtext::crlf());
        c.append(richtext::crlf());
    }
    return c;
}

QList<richtext::Composition> tarotParts(const ReportRequest &request)
{
    const DateTexts date = dateTexts(request.person.birthDate);
    const tarot::TarotReading reading = tarot::makeReading(request.person.joinedName(), date.day, date.month, date.year);
    const tarot::NumberSection lifePath = tarot::numberSection(tarot::NumberPage::LifePath, reading.lifePath);
    const tarot::NumberSection destiny = tarot::numberSection(tarot::NumberPage::Destiny, reading.destiny);
    if (request.spread)
        return {tarot::readingDocument(reading, lifePath, destiny, *request.spread, kestrava::TitleBlock::Omitted)};
    return {tarot::readingDocument(reading, lifePath, destiny, kestrava::TitleBlock::Omitted)};
}

QList<richtext::Composition> compatibilityParts(const ReportRequest &request)
{
    const numpro::Compatibility compatibility = numpro::computeCompatibility(
        readingInputs(request.person, request.today), readingInputs(*request.partner, request.today),
        request.marriageDate);
    QList<richtext::Composition> parts;
    // The title page names the client and the birth date; the section's
    // heading the partner.
    const QLocale locale = request.locale;
    const numpro::CompatibilityDocumentOptions options{
        .formatDate = [locale](QDate date) { return longDate(date, locale); }, .introduceFirstPerson = false};
    for (const richtext::Composition &part : numpro::composeCompatibility(compatibility, options)) {
        const richtext::Composition kept = numpro::withoutCreditAndFooter(part);
        if (!kept.plainText().trimmed().isEmpty())
            parts.append(kept);
    }
    return parts;
}

QDate dailyDate(const ReportRequest &request)
{
    return request.dailyDate.isValid() ? request.dailyDate : request.today;
}

// Why a section has nothing to show, when it has not: a report never holds an
// empty section.
std::optional<QString> emptySection(const ReportSection &section, const ReportRequest &request)
{
    const bool hasText = std::any_of(section.parts.begin(), section.parts.end(), [](const richtext::Composition &part) {
        return !part.plainText().trimmed().isEmpty();
    });
    if (hasText || section.timeline || !section.cards.isEmpty())
        return std::nullopt;
    if (section.kind == SectionKind::Numerology && !request.marriageDate.isValid()
        && request.numerologyReadings.contains(u"marriageVibration"_s))
        return QObject::tr("The Marriage Vibration Number reads the day of the marriage: please give the marriage "
                           "date, or choose other readings for the %1 section.")
            .arg(section.heading);
    return QObject::tr("The %1 section would have nothing to read for this person: please choose other readings "
                       "for it, or leave it out.")
        .arg(section.heading);
}

QList<SectionKind> orderedSections(const QList<SectionKind> &chosen)
{
    QList<SectionKind> ordered;
    for (const SectionKind kind : kSectionKinds) {
        if (chosen.contains(kind))
            ordered.append(kind);
    }
    return ordered;
}

} // namespace

QString longDate(QDate date, const QLocale &locale)
{
    return locale.toString(date, QLocale::LongFormat);
}

TitleLines titleLines(const Report &report)
{
    return {QObject::tr("prepared for"), QObject::tr("born %1").arg(longDate(report.birthDate, report.locale)),
            QObject::tr("Report date: %1").arg(longDate(report.date, report.locale))};
}

QString sectionKey(SectionKind kind)
{
    for (const SectionName &name : kSectionNames) {
        if (name.kind == kind)
            return name.key.toString();
    }
    return {};
}

std::optional<SectionKind> sectionFromKey(QStringView key)
{
    for (const SectionName &name : kSectionNames) {
        if (name.key.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return name.kind;
    }
    return std::nullopt;
}

QString sectionHeading(SectionKind kind)
{
    switch (kind) {
    case SectionKind::Numerology:
        return QObject::tr("Numerology Reading");
    case SectionKind::Timeline:
        return QObject::tr("Life Timeline");
    case SectionKind::Forecast:
        return QObject::tr("Forecast");
    case SectionKind::Tarot:
        return QObject::tr("Tarot Numbers");
    case SectionKind::Astrology:
        return QObject::tr("Fadic Number, Planet and Sign");
    case SectionKind::Runes:
        return QObject::tr("Runes");
    case SectionKind::Tantric:
        return QObject::tr("Tantric Chart");
    case SectionKind::Daily:
        return QObject::tr("Number of the Day");
    case SectionKind::Compatibility:
        return QObject::tr("Compatibility");
    }
    return {};
}

std::variant<Report, kestrava::Failure> composeReport(const ReportRequest &request, const Practitioner &practitioner)
{
    if (const std::optional<QString> problem = personProblem(request.person))
        return kestrava::Failure{*problem};
    const QList<SectionKind> sections = orderedSections(request.sections);
    if (sections.isEmpty())
        return kestrava::Failure{QObject::tr("Please choose at least one section for the report.")};
    if (sections.contains(SectionKind::Forecast)
        && (request.forecastFrom < kestrava::kFirstBirthYear || request.forecastTo > 9999
            || request.forecastFrom > request.forecastTo))
        return kestrava::Failure{QObject::tr("The forecast's first year must not come after its last year.")};
    if (sections.contains(SectionKind::Compatibility)) {
        if (!request.partner)
            return kestrava::Failure{QObject::tr("Please enter the second person for the compatibility section.")};
        if (const std::optional<QString> problem = personProblem(*request.partner))
            return kestrava::Failure{QObject::tr("Second person: %1").arg(*problem)};
    }
    if (sections.contains(SectionKind::Daily)) {
        const QDate birth = request.person.birthDate;
        if (!daily::birthDateExists(birth.day(), birth.month()) || !dailyDate(request).isValid())
            return kestrava::Failure{QObject::tr("Please Enter Correct Date !")};
    }

    Report report;
    report.practitioner = practitioner;
    report.title = practitioner.reportTitle.trimmed().isEmpty() ? defaultReportTitle() : practitioner.reportTitle;
    report.clientName = request.person.joinedName();
    report.birthDate = request.person.birthDate;
    report.date = request.today;
    report.locale = request.locale;

    const DateTexts birth = dateTexts(request.person.birthDate);
    for (const SectionKind kind : sections) {
        ReportSection section;
        section.kind = kind;
        section.heading = sectionHeading(kind);
        switch (kind) {
        case SectionKind::Numerology:
            section.parts = numerologyParts(request);
            break;
        case SectionKind::Timeline:
            section.timeline = numpro::lifeTimeline(readingInputs(request.person, request.today));
            section.parts = {timelineText(*section.timeline)};
            break;
        case SectionKind::Forecast:
            section.heading = request.forecastFrom == request.forecastTo
                                  ? QObject::tr("Forecast for %1").arg(request.forecastFrom)
                                  : QObject::tr("Forecast %1 to %2").arg(request.forecastFrom).arg(request.forecastTo);
            section.parts = numpro::forecastSection(readingInputs(request.person, request.today),
                                                    request.forecastFrom, request.forecastTo);
            break;
        case SectionKind::Tarot:
            section.parts = tarotParts(request);
            if (request.spread) {
                for (qsizetype i = 0; i < qsizetype(request.spread->size()); ++i) {
                    if (const tarot::DeckCard *card = tarot::deckCard((*request.spread)[i]))
                        section.cards.append({tarot::cardPicturePath(card->picture),
                                              u"%1. %2"_s.arg(i + 1).arg(card->name)});
                }
            }
            break;
        case SectionKind::Astrology:
            section.parts = {astrology::readingDocument(report.clientName, request.person.birthDate.month(),
                                                        request.person.birthDate.day(),
                                                        request.person.birthDate.year(),
                                                        kestrava::TitleBlock::Omitted)};
            break;
        case SectionKind::Runes:
            section.parts = {runes::readingDocument(report.clientName, kestrava::TitleBlock::Omitted)};
            break;
        case SectionKind::Tantric:
            section.parts = {tantric::readingDocument(report.clientName, request.person.birthDate.day(),
                                                      request.person.birthDate.month(),
                                                      request.person.birthDate.year(),
                                                      kestrava::TitleBlock::Omitted)};
            break;
        case SectionKind::Daily:
            section.heading = QObject::tr("Number of the Day: %1").arg(longDate(dailyDate(request), request.locale));
            section.parts = {
                daily::readingDocument(birth.day, birth.month, dailyDate(request), kestrava::TitleBlock::Omitted)};
            break;
        case SectionKind::Compatibility:
            section.heading = QObject::tr("Compatibility with %1").arg(request.partner->joinedName());
            section.parts = compatibilityParts(request);
            break;
        }
        if (const std::optional<QString> empty = emptySection(section, request))
            return kestrava::Failure{*empty};
        report.sections.append(section);
    }

    QList<SectionText> texts;
    for (const ReportSection &section : std::as_const(report.sections))
        texts.append({section.heading, textBlocks(section.parts)});
    referRepeats(texts);
    for (qsizetype i = 0; i < texts.size(); ++i)
        report.sections[i].text = texts[i].blocks;
    return report;
}

QJsonObject requestToJson(const ReportRequest &request)
{
    QJsonArray sections;
    for (const SectionKind kind : orderedSections(request.sections))
        sections.append(sectionKey(kind));
    QJsonObject json{
        {u"first"_s, request.person.firstName},
        {u"middle"_s, request.person.middleName},
        {u"last"_s, request.person.lastName},
        {u"born"_s, request.person.birthDate.toString(Qt::ISODate)},
        {u"date"_s, request.today.toString(Qt::ISODate)},
        {u"sections"_s, sections},
    };
    if (request.sections.contains(SectionKind::Numerology) && !request.numerologyReadings.isEmpty())
        json.insert(u"readings"_s, QJsonArray::fromStringList(request.numerologyReadings));
    if (request.sections.contains(SectionKind::Forecast)) {
        json.insert(u"forecastFrom"_s, request.forecastFrom);
        json.insert(u"forecastTo"_s, request.forecastTo);
    }
    if (request.sections.contains(SectionKind::Tarot) && request.spread) {
        QJsonArray cards;
        for (const qint16 card : *request.spread)
            cards.append(card);
        json.insert(u"spread"_s, cards);
    }
    if (request.sections.contains(SectionKind::Daily))
        json.insert(u"day"_s, dailyDate(request).toString(Qt::ISODate));
    if (request.sections.contains(SectionKind::Compatibility) && request.partner) {
        json.insert(u"partner"_s, QJsonObject{{u"first"_s, request.partner->firstName},
                                               {u"middle"_s, request.partner->middleName},
                                               {u"last"_s, request.partner->lastName},
                                               {u"born"_s, request.partner->birthDate.toString(Qt::ISODate)}});
    }
    const bool readsMarriage = request.sections.contains(SectionKind::Numerology)
                               || (request.sections.contains(SectionKind::Compatibility) && request.partner);
    if (readsMarriage && request.marriageDate.isValid())
        json.insert(u"married"_s, request.marriageDate.toString(Qt::ISODate));
    return json;
}

} // namespace report
