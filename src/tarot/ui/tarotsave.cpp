#include "tarot/ui/tarotsave.h"

#include "common/brand.h"
#include "common/filenames.h"
#include "platform/weblinks.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotmain.h"
#include "tarot/ui/tarotprogram.h"
#include "tarot/ui/tarotresult.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/linkdetector.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/readingwindow.h"
#include "widgets/texteditrenderer.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>

TarotSave::TarotSave(TarotProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmTarotNumerologySave"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tarot))
    , m_program(program)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    menuBar()->hide();
    QWidget *page = body();

    m_view = new QTextEdit(page);
    m_view->setObjectName(QStringLiteral("RTB"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_view->setMinimumSize(640, 420);
    new LinkDetector(m_view);
    // Only Print fills it, and it is never shown.
    m_printView = new QTextEdit(page);
    m_printView->setObjectName(QStringLiteral("RTB1"));
    m_printView->setReadOnly(true);
    m_printView->hide();
    m_printSender = new PrintSender(this, m_view);

    auto *advert = new LinkLabel(brand::fullyBrandedText(), page);
    advert->setObjectName(QStringLiteral("Label7"));
    advert->setWordWrap(true);
    advert->setStyleSheet(QStringLiteral("color: #800000;"));
    connect(advert, &LinkLabel::clicked, advert, [] { kestrava::openWebPage(kestrava::page::kFullyBranded); });

    auto *save = new QPushButton(tr("&Save"), page);
    save->setObjectName(QStringLiteral("cmdSave"));
    connect(save, &QPushButton::clicked, this, &TarotSave::save);
    auto *print = new QPushButton(tr("&Print"), page);
    print->setObjectName(QStringLiteral("cmdPrint"));
    connect(print, &QPushButton::clicked, this, &TarotSave::print);
    auto *pdf = new QPushButton(tr("Export as P&DF…"), page);
    pdf->setObjectName(QStringLiteral("cmdExportPdf"));
    connect(pdf, &QPushButton::clicked, this, &TarotSave::exportPdf);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(advert, 1);
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addWidget(pdf);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label14"), true, page));
    layout->addWidget(makeCardForumLabel(QStringLiteral("Label1"), page));
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    setTabOrder(save, print);
    setTabOrder(print, pdf);

    auto *escape = new QShortcut(QKeySequence::Cancel, this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // The page fields as the result window shows them, and the dealt spread.
    tarot::NumberSection lifePath = tarot::numberSection(tarot::NumberPage::LifePath, 0);
    tarot::NumberSection destiny = tarot::numberSection(tarot::NumberPage::Destiny, 0);
    if (TarotResult *result = m_program.result()) {
        lifePath = result->section(0);
        destiny = result->section(1);
        result->setEnabled(false);
    }
    m_document = tarot::readingDocument(m_program.reading(), lifePath, destiny, m_program.spread());
    richtext::appendToTextEdit(m_view, m_document);
    QTextCursor start(m_view->document());
    m_view->setTextCursor(start);
    save->setFocus();
}

void TarotSave::save()
{
    if (const std::optional<QString> path = saveSubject(this, host().services(), m_program))
        fileWritten(*path);
}

void TarotSave::fileWritten(const QString &path)
{
    // The reading goes into the history when it is run on the input window.
    if (TarotMain *input = m_program.input(); input && input->clientLink())
        input->clientLink()->fileWritten(path);
}

void TarotSave::composeReport()
{
    m_printView->clear();
    m_printView->setPlainText(tarot::printReport(m_document));
}

void TarotSave::print()
{
    composeReport();
    m_printSender->print(host().services(), *m_printView->document());
}

void TarotSave::exportPdf()
{
    composeReport();
    const platform::Services services = host().services();
    const QString name = kestrava::suggestedFileName(m_program.reading().name, services.clock->now().date(),
                                                     QStringLiteral("pdf"), tr("Reading"));
    if (const std::optional<QString> path = exportDocumentAsPdf(this, services, *m_printView->document(), name))
        fileWritten(*path);
}

void TarotSave::onClosed()
{
    TarotResult *result = m_program.result();
    if (!result)
        return;
    result->setEnabled(true);
    // The launcher closes every window; nothing is to reappear then.
    if (!host().isClosingPrograms())
        result->showAtTop();
}
