#pragma once

#include "numpro/readingsubject.h"
#include "shell/program.h"
#include "widgets/readingwindow.h"

#include <QObject>
#include <QPointer>

class ProgramHost;
class NumerologyProMain;
class NumerologyProResult;
class NumerologyProDisp;
class NumerologyProSave;
class LifeTimelineWindow;
class ForecastWindow;
class CompatibilityWindow;
namespace numpro {
struct ReadingInputs;
}

// Variduzeda Vad as a whole: finds and creates its windows and keeps the
// program-wide reading subject.  Owned by the main window.
class NumProProgram : public QObject, public Program, public SavedSubject
{
    Q_OBJECT
public:
    explicit NumProProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    // Program
    kestrava::ProgramId id() const override { return kestrava::ProgramId::NumerologyPro; }
    // Every launch, of any program, leaves the document window created and hidden.
    void prepare() override { ensureDocument(); }
    // Opens the input window fresh and shows it.
    void launch() override;
    void closeAll() override;
    QString savedReadingEnding() const override { return QStringLiteral("num"); }
    // Besides num files, the compatibility readings (knc).
    QStringList savedReadingEndings() const override;
    // A num file through the input window, as its Open does; a knc file in
    // the compatibility window.
    void openSavedReading(const QString &path) override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    // Windows that are open (loaded), or null.
    NumerologyProMain *input() const;
    NumerologyProResult *navigator() const;
    NumerologyProDisp *display() const;
    NumerologyProSave *document() const;

    // The same, created when missing.  Created windows are not shown, except
    // the navigator, which is only ever wanted visible.
    NumerologyProResult *showNavigator();
    NumerologyProDisp *ensureDisplay();
    NumerologyProSave *ensureDocument();

    // The life timeline and the forecast of the subject as of its today,
    // opened afresh (replacing one already open) and shown.
    LifeTimelineWindow *showLifeTimeline(const numpro::ReadingInputs &subject);
    ForecastWindow *showForecast(const numpro::ReadingInputs &subject);
    LifeTimelineWindow *lifeTimeline() const;
    ForecastWindow *forecast() const;
    // The compatibility window with the first person filled in (and the
    // marriage date, when one was chosen), opened afresh and shown;
    // firstClientId is the client of the book the first person is, or 0.
    CompatibilityWindow *showCompatibility(const numpro::ReadingInputs &first, qint64 firstClientId = 0);
    CompatibilityWindow *compatibility() const;

    // The subject as the user last confirmed it with Next.
    const numpro::ReadingSubject &subject() const { return m_subject; }
    void setSubject(const numpro::ReadingSubject &subject) { m_subject = subject; }
    // The subject's names, for the file names its readings are offered under.
    QString subjectName() const;

    // SavedSubject: the subject as a num file.
    platform::FileRequest saveRequest() const override;
    QStringList savedLines() const override;

private:
    ProgramHost &m_host;
    QPointer<NumerologyProMain> m_input;
    QPointer<NumerologyProResult> m_navigator;
    QPointer<NumerologyProDisp> m_display;
    QPointer<NumerologyProSave> m_document;
    QPointer<LifeTimelineWindow> m_lifeTimeline;
    QPointer<ForecastWindow> m_forecast;
    QPointer<CompatibilityWindow> m_compatibility;
    numpro::ReadingSubject m_subject;
};
