#include "app/programs.h"

#include "numpro/ui/numproprogram.h"
#include "shell/mainwindow.h"

void installPrograms(MainWindow &window)
{
    auto *numPro = new NumProProgram(window, &window);
    numPro->setObjectName(QStringLiteral("numPro"));
    window.addProgram(numPro);
}
