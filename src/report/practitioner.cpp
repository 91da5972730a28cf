#include "report/practitioner.h"

#include "common/brand.h"
#include "common/regularfile.h"

#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QSettings>

namespace report {

namespace {

const QString kName = QStringLiteral("Report/PractitionerName");
const QString kContact = QStringLiteral("Report/Contact");
const QString kLogo = QStringLiteral("Report/Logo");
const QString kTitle = QStringLiteral("Report/Title");
const QString kAccent = QStringLiteral("Report/Accent");
const QString kPaper = QStringLiteral("Report/Paper");

// A text as stored.  An INI file written by hand may hold a text with a
// comma unquoted, which the store reads as a list: it is the text again.
QString text(QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u", ") : value.toString();
}

} // namespace

QString defaultReportTitle()
{
    return QObject::tr("Numerology Report");
}

Practitioner readPractitioner(QSettings &settings, kestrava::Paper defaultPaper)
{
    Practitioner practitioner;
    practitioner.name = text(settings, kName);
    practitioner.contact = text(settings, kContact);
    practitioner.logoFile = text(settings, kLogo);
    // Something put in the copy's place that is no file (a pipe would block
    // whoever opens it) is no logo; a copy that is missing, on a drive not
    // mounted say, stays named and is left out until it is back.
    if (!practitioner.logoFile.isEmpty() && QFileInfo::exists(practitioner.logoFile)
        && kestrava::notARegularFile(practitioner.logoFile))
        practitioner.logoFile.clear();
    practitioner.reportTitle = text(settings, kTitle);
    if (practitioner.reportTitle.trimmed().isEmpty())
        practitioner.reportTitle = defaultReportTitle();
    practitioner.accent = colourFromName(text(settings, kAccent)).value_or(Practitioner::kDefaultAccent);
    practitioner.paper = paperFromName(text(settings, kPaper)).value_or(defaultPaper);
    return practitioner;
}

void writePractitioner(QSettings &settings, const Practitioner &practitioner)
{
    settings.setValue(kName, practitioner.name);
    settings.setValue(kContact, practitioner.contact);
    settings.setValue(kLogo, practitioner.logoFile);
    settings.setValue(kTitle, practitioner.reportTitle);
    settings.setValue(kAccent, colourName(practitioner.accent));
    settings.setValue(kPaper, paperName(practitioner.paper));
    settings.sync();
}

QString suiteSettingsFile()
{
    // The suite's windows keep their settings under the product's name in a
    // store named after the suite's executable.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(), QStringLiteral("kestrava"))
        .fileName();
}

QString colourName(richtext::Rgb colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour.r, 2, 16, QLatin1Char('0'))
        .arg(colour.g, 2, 16, QLatin1Char('0'))
        .arg(colour.b, 2, 16, QLatin1Char('0'));
}

std::optional<richtext::Rgb> colourFromName(const QString &name)
{
    static const QRegularExpression hex(QStringLiteral("^#([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})$"));
    const QRegularExpressionMatch match = hex.match(name.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return richtext::Rgb{quint8(match.captured(1).toUInt(nullptr, 16)), quint8(match.captured(2).toUInt(nullptr, 16)),
                         quint8(match.captured(3).toUInt(nullptr, 16))};
}

QString paperName(kestrava::Paper paper)
{
    return paper == kestrava::Paper::Letter ? QStringLiteral("Letter") : QStringLiteral("A4");
}

std::optional<kestrava::Paper> paperFromName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.compare(u"A4", Qt::CaseInsensitive) == 0)
        return kestrava::Paper::A4;
    if (trimmed.compare(u"Letter", Qt::CaseInsensitive) == 0)
        return kestrava::Paper::Letter;
    return std::nullopt;
}

} // namespace report
