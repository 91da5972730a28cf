#include "numpro/ui/numerologyprosave.h"

#include "numpro/ui/numerologyprodisp.h"
#include "numpro/ui/numproprogram.h"
#include "shell/programhost.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>

NumerologyProSave::NumerologyProSave(NumProProgram &program)
    : ReadingWindow(program, QStringLiteral("frmNumerologyProsave"), QObject::tr("Orvanel Variduzeda Vad Software"))
{
    auto *printButton = new QPushButton(tr("&Print"), body());
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    auto *backButton = new QPushButton(tr("&Back"), body());
    backButton->setObjectName(QStringLiteral("cmdBack"));
    auto *saveButton = new QPushButton(tr("&Save"), body());
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    buttonRow()->addWidget(printButton);
    buttonRow()->addWidget(backButton);
    buttonRow()->addWidget(saveButton);

    connect(printButton, &QPushButton::clicked, this, &ReadingWindow::print);
    connect(backButton, &QPushButton::clicked, this, &QWidget::close);
    connect(saveButton, &QPushButton::clicked, this, &ReadingWindow::save);

    QTextCursor start = view()->textCursor();
    start.setPosition(0);
    view()->setTextCursor(start);
}

void NumerologyProSave::onClosed()
{
    // The launcher closes every window; nothing is to reappear then.
    if (host().isClosingPrograms())
        return;
    program().showNavigator();
    program().ensureDisplay()->hide();
}
