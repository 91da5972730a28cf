#include "app/programs.h"

#include "astrology/ui/astrologyprogram.h"
#include "daily/ui/dailyprogram.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/numproprogram.h"
#include "report/ui/reportlauncher.h"
#include "runes/ui/runesprogram.h"
#include "tantric/ui/tantricprogram.h"
#include "shell/mainwindow.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotprogram.h"

QList<Program *> installPrograms(MainWindow &window)
{
    auto *numPro = new NumProProgram(window, &window);
    numPro->setObjectName(QStringLiteral("numPro"));
    window.addProgram(numPro);

    auto *tarot = new TarotProgram(window, &window);
    tarot->setObjectName(QStringLiteral("tarot"));
    window.addProgram(tarot);

    auto *daily = new DailyProgram(window, &window);
    daily->setObjectName(QStringLiteral("daily"));
    window.addProgram(daily);

    auto *astrology = new AstrologyProgram(window, &window);
    astrology->setObjectName(QStringLiteral("astrology"));
    window.addProgram(astrology);

    auto *runes = new RunesProgram(window, &window);
    runes->setObjectName(QStringLiteral("runes"));
    window.addProgram(runes);

    auto *tantric = new TantricProgram(window, &window);
    tantric->setObjectName(QStringLiteral("tantric"));
    window.addProgram(tantric);

    window.setSavedReadingKinds({numpro::numFileKind(), tarot::tnmFileKind()});

    // The report reads with every program; the main window knows it only
    // through the opener.
    auto *reports = new ReportLauncher(window, &window);
    reports->setObjectName(QStringLiteral("reports"));
    window.setReportOpener({[reports](const std::optional<clients::Client> &client) { reports->open(client); },
                            [reports](QWidget *owner) { reports->editSettings(owner); }});

    return {numPro, tarot, daily, astrology, runes, tantric};
}
