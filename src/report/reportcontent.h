#pragma once

#include "common/failure.h"
#include "common/person.h"
#include "numpro/forecast/lifetimeline.h"
#include "report/practitioner.h"
#include "report/reporttext.h"
#include "richtext/composition.h"
#include "tarot/spread.h"

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// The practitioner's report: one document about one person, its sections
// composed by the programs themselves (their own headings, paragraphs and
// rules), without the programs' credit lines and forum links.
namespace report {

// The sections a report can hold, in the order the report shows them.
enum class SectionKind { Numerology, Timeline, Forecast, Tarot, Astrology, Runes, Tantric, Daily, Compatibility };
inline constexpr SectionKind kSectionKinds[] = {
    SectionKind::Numerology, SectionKind::Timeline, SectionKind::Forecast,
    SectionKind::Tarot,      SectionKind::Astrology, SectionKind::Runes,
    SectionKind::Tantric,    SectionKind::Daily,    SectionKind::Compatibility};

// The section's key on the command line and in a history entry
// ("numerology", "timeline", ...), and back.
QString sectionKey(SectionKind kind);
std::optional<SectionKind> sectionFromKey(QStringView key);
// The section's heading in the report and its table of contents.
QString sectionHeading(SectionKind kind);

// What to put in the report.
struct ReportRequest
{
    kestrava::Person person; // names as the readings are to read them
    QDate today;             // the report's date, and "today" for every reading
    QLocale locale;          // writes the report's dates
    QList<SectionKind> sections; // shown in the order of kSectionKinds whatever the order here

    // Variduzeda Vad: the comprehensive reading when empty, else these
    // readings (their ids) in the reading list's order.
    QStringList numerologyReadings;
    // The forecast's calendar years, first to last.
    int forecastFrom = 0;
    int forecastTo = 0;
    // The tarot section's spread, when one was dealt.
    std::optional<tarot::SpreadCards> spread;
    // The day whose daily number the report reads (today when null).
    QDate dailyDate;
    // Compatibility: the second person.
    std::optional<kestrava::Person> partner;
    // The day of the marriage (null: not known): the numerology section's
    // marriage vibration reads it, and the compatibility section with it.
    QDate marriageDate;
};

// A card of the tarot section's spread: its picture (the deck's SVG
// resource) and its caption ("1. The Magician").
struct ReportCard
{
    QString picture;
    QString caption;
};

// One section as the report shows it: its heading, then the program's own
// composed text; for the timeline the picture before the text, for a tarot
// section with a spread the cards' pictures after it.
struct ReportSection
{
    SectionKind kind = SectionKind::Numerology;
    QString heading;
    QList<richtext::Composition> parts;
    // The parts as the report sets them, each paragraph said once in the report.
    QList<TextBlock> text;
    std::optional<numpro::LifeTimeline> timeline;
    QList<ReportCard> cards; // position 1 first
};

struct Report
{
    Practitioner practitioner;
    QString title;      // the practitioner's report title
    QString clientName; // the person's names joined, as the title page shows them
    QDate birthDate;
    QDate date;         // the report's date
    QLocale locale;     // writes its dates
    QList<ReportSection> sections;
};

// The title page's words about the client and the date, the same in every
// format: "prepared for", "born 6 August 1979", "Report date: 11 December 2026".
struct TitleLines
{
    QString preparedFor;
    QString born;
    QString reportDate;
};
TitleLines titleLines(const Report &report);

// A date as the report writes it: the locale's long form, the same
// everywhere in the report ("Monday, 6 August 1979").
QString longDate(QDate date, const QLocale &locale);

// Composes the report; a person or a request a section cannot read (no
// first name, a birth date outside the programs' years, a forecast range
// that runs backwards, a compatibility section without a second person) is
// refused with the message the user sees.
std::variant<Report, kestrava::Failure> composeReport(const ReportRequest &request,
                                                      const Practitioner &practitioner);

// The request as the client's history keeps it: the sections and the
// options they were read with.
QJsonObject requestToJson(const ReportRequest &request);

} // namespace report
