#include "numpro/ui/numerologyprodisp.h"

#include "numpro/ui/numproprogram.h"

#include <QPushButton>

NumerologyProDisp::NumerologyProDisp(NumProProgram &program)
    : ReadingWindow(program.host(), QStringLiteral("frmNumerologyProDisp"), QString(), &program)
    , m_program(program)
{
    QPushButton *backButton = addButton(QStringLiteral("cmdBack"), tr("&Back"));
    QPushButton *printButton = addButton(QStringLiteral("cmdPrint"), tr("&Print"));
    QPushButton *pdfButton = addButton(QStringLiteral("cmdExportPdf"), tr("Export as P&DF…"));
    connect(pdfButton, &QPushButton::clicked, this, &ReadingWindow::exportPdf);
    QPushButton *saveButton = addButton(QStringLiteral("cmdSave"), tr("&Save"));

    // Back discards the readings and returns to the navigator.
    connect(backButton, &QPushButton::clicked, this, [this] {
        close();
        m_program.showNavigator();
    });
    connect(printButton, &QPushButton::clicked, this, &ReadingWindow::print);
    connect(saveButton, &QPushButton::clicked, this, &ReadingWindow::save);
}
