#include "numpro/ui/numproprogram.h"

#include "common/brand.h"
#include "common/filenames.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/compatibilitywindow.h"
#include "numpro/ui/forecastwindow.h"
#include "numpro/ui/lifetimelinewindow.h"
#include "numpro/ui/numerologyprodisp.h"
#include "numpro/ui/numerologypromain.h"
#include "numpro/ui/numerologyproresult.h"
#include "numpro/ui/numerologyprosave.h"

NumProProgram::NumProProgram(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

void NumProProgram::launch()
{
    if (NumerologyProMain *old = input())
        old->close();
    m_input = new NumerologyProMain(*this);
    m_input->showAtTop();
    m_input->afterLoad();
}

void NumProProgram::closeAll()
{
    if (CompatibilityWindow *window = compatibility())
        window->close();
    if (ForecastWindow *window = forecast())
        window->close();
    if (LifeTimelineWindow *window = lifeTimeline())
        window->close();
    if (NumerologyProSave *window = document())
        window->close();
    if (NumerologyProDisp *window = display())
        window->close();
    if (NumerologyProResult *window = navigator())
        window->close();
    if (NumerologyProMain *window = input())
        window->close();
}

NumerologyProMain *NumProProgram::input() const { return openOrNull(m_input); }
NumerologyProResult *NumProProgram::navigator() const { return openOrNull(m_navigator); }
NumerologyProDisp *NumProProgram::display() const { return openOrNull(m_display); }
NumerologyProSave *NumProProgram::document() const { return openOrNull(m_document); }

NumerologyProResult *NumProProgram::showNavigator()
{
    if (!navigator())
        m_navigator = new NumerologyProResult(*this);
    m_navigator->showAtTop();
    return m_navigator;
}

NumerologyProDisp *NumProProgram::ensureDisplay()
{
    if (!display()) {
        m_display = new NumerologyProDisp(*this);
        m_display->hide();
    }
    return m_display;
}

NumerologyProSave *NumProProgram::ensureDocument()
{
    if (!document()) {
        m_document = new NumerologyProSave(*this);
        m_document->hide();
    }
    return m_document;
}

LifeTimelineWindow *NumProProgram::lifeTimeline() const
{
    return openOrNull(m_lifeTimeline);
}

ForecastWindow *NumProProgram::forecast() const
{
    return openOrNull(m_forecast);
}

LifeTimelineWindow *NumProProgram::showLifeTimeline(const numpro::ReadingInputs &subject)
{
    if (LifeTimelineWindow *old = lifeTimeline())
        old->close();
    m_lifeTimeline = new LifeTimelineWindow(*this, subject);
    m_lifeTimeline->showAtTop(navigator());
    return m_lifeTimeline;
}

ForecastWindow *NumProProgram::showForecast(const numpro::ReadingInputs &subject)
{
    if (ForecastWindow *old = forecast())
        old->close();
    m_forecast = new ForecastWindow(*this, subject);
    m_forecast->showAtTop(navigator());
    return m_forecast;
}

CompatibilityWindow *NumProProgram::compatibility() const
{
    return openOrNull(m_compatibility);
}

CompatibilityWindow *NumProProgram::showCompatibility(const numpro::ReadingInputs &first, qint64 firstClientId)
{
    if (CompatibilityWindow *old = compatibility())
        old->close();
    m_compatibility = new CompatibilityWindow(*this, first, firstClientId);
    m_compatibility->showAtTop(navigator());
    return m_compatibility;
}

QStringList NumProProgram::savedReadingEndings() const
{
    return {savedReadingEnding(), QStringLiteral("knc")};
}

QString NumProProgram::subjectName() const
{
    return QStringList{m_subject.firstName, m_subject.middleName, m_subject.lastName}.join(u' ');
}

platform::FileRequest NumProProgram::saveRequest() const
{
    // A saved reading is the person, not a day's document: no date.
    return {tr("Save Your %1 Result ....").arg(kestrava::programName(kestrava::ProgramId::NumerologyPro)),
            tr("Rich Text Format (*.num)"), QStringLiteral("num"),
            kestrava::suggestedFileName(subjectName(), {}, QStringLiteral("num"), tr("Reading"))};
}

QStringList NumProProgram::savedLines() const
{
    return numpro::numFileLines(m_subject);
}

void NumProProgram::openSavedReading(const QString &path)
{
    // The ending picked this program whatever its letter case.
    if (path.endsWith(QStringLiteral(".knc"), Qt::CaseInsensitive)) {
        // Over the input window, which stays for a reading of the first person.
        CompatibilityWindow *window = showCompatibility({});
        if (!window->openCompatibilityFile(path))
            window->close();
        return;
    }
    if (NumerologyProMain *window = input())
        window->openReadingFile(path);
}

void NumProProgram::readFor(const kestrava::Person &person, qint64 clientId)
{
    NumerologyProMain *window = input();
    if (!window || !window->isVisible()) {
        closeAll();
        launch();
        window = input();
    }
    if (window)
        window->readFor(person, clientId);
}
