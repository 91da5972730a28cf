#include "numpro/ui/numerologyprodisp.h"

#include "numpro/ui/numproprogram.h"

#include <QHBoxLayout>
#include <QPushButton>

NumerologyProDisp::NumerologyProDisp(NumProProgram &program)
    : ReadingWindow(program, QStringLiteral("frmNumerologyProDisp"), QString())
{
    auto *backButton = new QPushButton(tr("&Back"), body());
    backButton->setObjectName(QStringLiteral("cmdBack"));
    auto *printButton = new QPushButton(tr("&Print"), body());
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    auto *saveButton = new QPushButton(tr("&Save"), body());
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    buttonRow()->addWidget(backButton);
    buttonRow()->addWidget(printButton);
    buttonRow()->addWidget(saveButton);

    // Back discards the readings and returns to the navigator.
    connect(backButton, &QPushButton::clicked, this, [this] {
        close();
        this->program().showNavigator();
    });
    connect(printButton, &QPushButton::clicked, this, &ReadingWindow::print);
    connect(saveButton, &QPushButton::clicked, this, &ReadingWindow::save);
}
