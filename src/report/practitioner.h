#pragma once

#include "common/paper.h"
#include "richtext/composition.h"

#include <QString>

#include <optional>

class QSettings;

// The practitioner whose report it is: the name, contact and logo on the
// title page, the report's title, its accent colour and its paper.  Stored
// with the suite's settings, in their own section.
namespace report {

struct Practitioner
{
    QString name;
    QString contact;  // lines separated by "\n"
    QString logoFile; // the logo's copy in the suite's data folder (SVG or PNG); empty: none
    QString reportTitle;
    richtext::Rgb accent = kDefaultAccent;
    kestrava::Paper paper = kestrava::Paper::A4;

    static constexpr richtext::Rgb kDefaultAccent{0, 102, 119};

    friend bool operator==(const Practitioner &, const Practitioner &) = default;
};

// "Numerology Report": the title a report takes until the practitioner names one.
QString defaultReportTitle();

// The practitioner as stored in the settings (section "Report"); what is not
// stored takes its default, the paper that of `defaultPaper`.
Practitioner readPractitioner(QSettings &settings, kestrava::Paper defaultPaper);
void writePractitioner(QSettings &settings, const Practitioner &practitioner);

// The file of the suite's settings, for a program other than the suite that
// reads them (the command line): the same store the suite's windows use.
QString suiteSettingsFile();

// "#rrggbb" and back; nothing for a text that is not such a colour.
QString colourName(richtext::Rgb colour);
std::optional<richtext::Rgb> colourFromName(const QString &name);

// "A4" or "Letter", and back (in any case).
QString paperName(kestrava::Paper paper);
std::optional<kestrava::Paper> paperFromName(const QString &name);

} // namespace report
