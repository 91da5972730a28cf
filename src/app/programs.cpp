#include "app/programs.h"

#include "numpro/ui/numerologypromain.h"
#include "numpro/ui/numproprogram.h"
#include "shell/mainwindow.h"

void installPrograms(MainWindow &window)
{
    auto *numPro = new NumProProgram(window, &window);
    numPro->setObjectName(QStringLiteral("numPro"));
    window.setLaunchPreparation([numPro] { numPro->ensureDocument(); });
    window.setLauncher(1, [numPro] { return numPro->launch(); });
}
