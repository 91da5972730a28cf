#include "tantric/ui/tantricdisplay.h"

#include "common/brand.h"
#include "shell/commonmenus.h"
#include "tantric/ui/tantricprogram.h"
#include "widgets/brandlabels.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// A text box that asks for a few lines only: the window opens at a size that
// fits the screen, and the boxes take whatever room it gets when enlarged.
class CompactText final : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;
    QSize sizeHint() const override { return {260, fontMetrics().lineSpacing() * 6 + 8}; }
};

QString programTitle()
{
    return QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tantric);
}

} // namespace

TantricDisplay::TantricDisplay(TantricProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmTranticNumerologyDisplay"), programTitle())
    , m_program(program)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *page = body();
    m_views = new QStackedWidget(page);
    m_summary = buildSummary();
    m_chartFrame = buildChartView();
    m_views->addWidget(m_summary);
    m_views->addWidget(m_chartFrame);

    auto *exit = new QPushButton(tr("E&xit"), page);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    auto *back = new QPushButton(tr("&Back"), page);
    back->setObjectName(QStringLiteral("cmdBack"));
    connect(back, &QPushButton::clicked, this, [this] { m_program.backToInput(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    buttons->addWidget(exit);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label14"), true, page));
    layout->addWidget(m_views, 1);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeFullBrandFrame(page));

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(QStringLiteral("mnuBack"));
    connect(backItem, &QAction::triggered, this, [this] { m_program.backToInput(); });
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    addCommonMenus(menuBar(), this, {backItem, separator}, [this] { close(); });
    setMinimumWidth(640);
}

QWidget *TantricDisplay::buildSummary()
{
    auto *frame = new QWidget;
    frame->setObjectName(QStringLiteral("Frame1"));
    m_title = new QLabel(frame);
    m_title->setObjectName(QStringLiteral("lblCaption"));
    m_title->setFont(kestrava::verdana(11, true));
    m_title->setWordWrap(true);

    // Even labels are captions, each followed by its number.
    using tantric::Table;
    const Table captions[] = {Table::Soul, Table::Karma, Table::Gift, Table::Knowledge, Table::Path};
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const bool isCaption = i % 2 == 0;
        m_labels[i] = new QLabel(isCaption ? tantric::caption(captions[i / 2]) : QString(), frame);
        m_labels[i]->setObjectName(QStringLiteral("lblLabel_%1").arg(i));
        m_labels[i]->setFont(kestrava::verdana(isCaption ? 14 : 11, true));
    }
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new CompactText(frame);
        m_texts[i]->setObjectName(QStringLiteral("txtResult_%1").arg(i));
        m_texts[i]->setReadOnly(true);
        m_texts[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_texts[i]->setMinimumHeight(m_texts[i]->fontMetrics().lineSpacing() * 4);
    }
    auto *comprehensive = new QPushButton(tr("%1 Comprehensive Reading").arg(programTitle()), frame);
    comprehensive->setObjectName(QStringLiteral("cmdComprehensive"));
    connect(comprehensive, &QPushButton::clicked, this, &TantricDisplay::showChart);

    // A caption with its number, and the text below them.
    auto cell = [this](int caption, int text) {
        auto *box = new QVBoxLayout;
        auto *heading = new QHBoxLayout;
        heading->addWidget(m_labels[std::size_t(caption)]);
        heading->addWidget(m_labels[std::size_t(caption + 1)]);
        heading->addStretch();
        box->addLayout(heading);
        box->addWidget(m_texts[std::size_t(text)], 1);
        return box;
    };
    auto *grid = new QGridLayout;
    grid->addLayout(cell(8, 0), 0, 0, 1, 2); // Path
    grid->addLayout(cell(0, 1), 1, 0);       // Soul
    grid->addLayout(cell(6, 3), 1, 1);       // Knowledge
    grid->addLayout(cell(4, 2), 2, 0);       // Gift
    grid->addLayout(cell(2, 4), 2, 1);       // Karma
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(m_title);
    layout->addLayout(grid, 1);
    layout->addWidget(comprehensive);
    return frame;
}

QWidget *TantricDisplay::buildChartView()
{
    auto *frame = new QGroupBox(tr("%1 Comprehensive Reading").arg(programTitle()));
    frame->setObjectName(QStringLiteral("Frame2"));
    m_chart = new QTextEdit(frame);
    m_chart->setObjectName(QStringLiteral("RTB"));
    m_chart->setReadOnly(true);
    m_chart->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *back = new QPushButton(tr("&Back"), frame);
    back->setObjectName(QStringLiteral("cmdBackToBack"));
    connect(back, &QPushButton::clicked, this, &TantricDisplay::showSummary);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(m_chart, 1);
    layout->addLayout(buttons);
    return frame;
}

void TantricDisplay::showReading(const QString &name, const tantric::TantricNumbers &numbers)
{
    using tantric::Table;
    m_title->setText(tantric::chartTitle(name));
    m_labels[1]->setText(QString::number(numbers.soul));
    m_labels[3]->setText(QString::number(numbers.karma));
    m_labels[7]->setText(QString::number(numbers.knowledge));
    m_labels[9]->setText(QString::number(numbers.path));
    const bool gift = numbers.gift != 0;
    m_labels[4]->setVisible(gift);
    m_labels[5]->setVisible(gift);
    m_texts[2]->setVisible(gift);
    if (gift) {
        m_labels[5]->setText(QString::number(numbers.gift));
        m_texts[2]->setPlainText(tantric::tantricText(Table::Gift, numbers.gift));
    }
    m_texts[0]->setPlainText(tantric::tantricText(Table::Path, numbers.path));
    m_texts[1]->setPlainText(tantric::tantricText(Table::Soul, numbers.soul));
    m_texts[3]->setPlainText(tantric::tantricText(Table::Knowledge, numbers.knowledge));
    m_texts[4]->setPlainText(tantric::tantricText(Table::Karma, numbers.karma));

    m_chart->clear();
    richtext::appendToTextEdit(m_chart, tantric::tantricChart(name, numbers));
    m_chart->setTextCursor(QTextCursor(m_chart->document()));
    showSummary();
}

void TantricDisplay::showChart()
{
    m_views->setCurrentWidget(m_chartFrame);
}

void TantricDisplay::showSummary()
{
    m_views->setCurrentWidget(m_summary);
}
