#include "numpro/ui/numerologyprodisp.h"

#include "numpro/readings/texttable.h"
#include "numpro/ui/numerologypromain.h"
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

void NumerologyProDisp::addReading(const numpro::ReadingResult &result)
{
    QString caption = result.text.title();
    // The one text that keeps the caption of the readings above it is the
    // Maturity reading's note that it needs two other numbers; as the first
    // text of the window it names the window after the reading asked for.
    if (result.keepCaption)
        caption = windowTitle().isEmpty() ? numpro::readingTexts(u"maturity").caption : windowTitle();
    // A caption is one line: a title's line breaks ("Pinnacle Phases" ends
    // in one) would push the text out of the title bar.
    setWindowTitle(caption.remove(u'\r').remove(u'\n'));
    appendReading(result.text);
}

ClientLink *NumerologyProDisp::historyLink() const
{
    const NumerologyProMain *input = m_program.input();
    return input ? input->clientLink() : nullptr;
}

QStringList NumerologyProDisp::documentPeople() const
{
    return {m_program.subjectName()};
}
