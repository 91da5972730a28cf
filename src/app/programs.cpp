#include "app/programs.h"

#include "astrology/ui/astrologyprogram.h"
#include "clientbook/clientbooklauncher.h"
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

    // The report reads with every program; the main window knows it only
    // through the opener.
    auto *reports = new ReportLauncher(window, &window);
    reports->setObjectName(QStringLiteral("reports"));
    window.setReportOpener({[reports](const std::optional<clients::Client> &client) { reports->open(client); },
                            [reports](QWidget *owner) { reports->editSettings(owner); }});

    // The client book imports the programs' saved readings, reads a client
    // with any program and offers the report; the main window knows it only
    // through the opener.
    auto *book = new ClientBookLauncher(
        window, {numpro::numFileKind(), tarot::tnmFileKind()},
        [&window](kestrava::ProgramId program, const clients::Client &client) {
            window.readFor(program, client.person, client.id);
        },
        &window);
    book->setObjectName(QStringLiteral("clientBook"));
    book->offerReport([reports](const clients::Client &client) { reports->open(client); });
    window.setClientBookOpener({[book]() -> QWidget * { return book->open(); }, [book] { book->bookChanged(); }});

    return {numPro, tarot, daily, astrology, runes, tantric};
}
