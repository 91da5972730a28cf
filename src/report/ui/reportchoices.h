#pragma once

#include "report/reportcontent.h"

#include <QList>
#include <QStringList>

// What the report window starts with: the sections and options of the last
// report made (exported, saved as a web page or printed), kept in the
// suite's settings.  The forecast's years are kept as years after the
// current one, so that "this year to two years on" stays that next year.
struct ReportChoices
{
    // Years from here on are kept as damaged: a forecast that long would take
    // the preview minutes to lay out.
    static constexpr int kMaxForecastYears = 100;

    QList<report::SectionKind> sections{report::SectionKind::Numerology};
    bool comprehensive = true;
    QStringList readings; // ids of the readings chosen, in the list's order
    int forecastFrom = 0; // years after the current one
    int forecastTo = 2;
    bool dealSpread = false;
    bool married = false;

    friend bool operator==(const ReportChoices &, const ReportChoices &) = default;

    // The choices stored; each one missing, damaged or unknown (a section or
    // reading this version does not have, a backwards or overlong forecast,
    // years outside those the window offers for thisYear) is today's default.
    static ReportChoices stored(int thisYear);
    void store() const;
};
