#include "numpro/ui/numerologyprosave.h"

#include "common/brand.h"
#include "numpro/ui/numerologyprodisp.h"
#include "numpro/ui/numerologypromain.h"
#include "numpro/ui/numproprogram.h"
#include "widgets/programhost.h"

#include <QPushButton>
#include <QTextEdit>

NumerologyProSave::NumerologyProSave(NumProProgram &program)
    : ReadingWindow(program.host(), QStringLiteral("frmNumerologyProsave"),
                    kestrava::programWindowTitle(kestrava::ProgramId::NumerologyPro), &program)
    , m_program(program)
{
    QPushButton *printButton = addButton(QStringLiteral("cmdPrint"), tr("&Print"));
    QPushButton *pdfButton = addButton(QStringLiteral("cmdExportPdf"), tr("Export as P&DF…"));
    connect(pdfButton, &QPushButton::clicked, this, &ReadingWindow::exportPdf);
    QPushButton *backButton = addButton(QStringLiteral("cmdBack"), tr("&Back"));
    QPushButton *saveButton = addButton(QStringLiteral("cmdSave"), tr("&Save"));

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
    m_program.showNavigator();
    m_program.ensureDisplay()->hide();
}

ClientLink *NumerologyProSave::historyLink() const
{
    const NumerologyProMain *input = m_program.input();
    return input ? input->clientLink() : nullptr;
}

QStringList NumerologyProSave::documentPeople() const
{
    return {m_program.subjectName()};
}
