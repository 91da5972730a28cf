#include "numpro/ui/numerologyproresult.h"

#include "common/siteaddress.h"
#include "numpro/readings/comprehensivereading.h"
#include "numpro/readings/corereadings.h"
#include "numpro/ui/numerologyprodisp.h"
#include "numpro/ui/numerologypromain.h"
#include "numpro/ui/numerologyprosave.h"
#include "numpro/ui/numproprogram.h"
#include "widgets/brandlabels.h"
#include "shell/commonmenus.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

struct ReadingButton
{
    const char *name;
    const char *caption;
    int row;
    int column;
    // Null for readings this version does not offer yet: the button stays disabled.
    numpro::ReadingResult (*reading)(const numpro::BirthInputs &, numpro::ResultState &, numpro::OutputMode);
};

// The reading buttons, column by column as they stand in the frame.
const ReadingButton kReadingButtons[] = {
    {"cmdPersonalMonth", "Personal Month", 0, 0, nullptr},
    {"cmdHiddenPassionNumber", "Hidden Passion Number", 1, 0, nullptr},
    {"cmdLifePathPeriods", "Life Path Periods", 2, 0, nullptr},
    {"cmdPersonal", "Personal Year", 3, 0, nullptr},
    {"cmdPinnaclePhases", "Pinnacle Phases", 4, 0, nullptr},
    {"cmdSubconsciousSelfNumber", "Subconscious Self Number", 5, 0, nullptr},
    {"cmdLifePath", "LifePath Number", 6, 0, &numpro::lifePathReading},
    {"cmdDestiny", "Destiny or Expressions Number", 7, 0, &numpro::destinyReading},
    {"cmdKarmicLessonsNumber", "Karmic Lessons Number", 8, 0, nullptr},
    {"cmdBirthDay", "Birthday Number", 0, 1, &numpro::birthDayReading},
    {"cmdChallenge_1", "Challenge Number", 1, 1, nullptr},
    {"cmdKarmicDebtNumbers", "Karmic Debt Numbers", 2, 1, nullptr},
    {"cmdBalanceNumber", "Balance Number", 3, 1, nullptr},
    {"cmdPersonalDay", "Personal Day", 4, 1, nullptr},
    {"cmdRationalThoughtNumber", "Rational Thought Number", 5, 1, nullptr},
    {"cmdHPBridgeNumber", "H/P Bridge Number", 6, 1, nullptr},
    {"cmdLEBidgeNumber", "L/E Bridge Number", 7, 1, nullptr},
    {"cmdEssence", "Essence", 8, 1, nullptr},
    {"cmdMaturityNumber", "Realization or Maturity Number", 3, 2, &numpro::maturityReading},
    {"cmdInnerDreams", "Inner Dreams or Personality Number", 4, 2, &numpro::innerDreamsReading},
    {"cmdPersonalAspects", "Planes of Expression or Personal Aspects", 5, 2, nullptr},
    {"cmdSoulUrge", "Soul Urge or Heart's Desire Number", 6, 2, &numpro::soulUrgeReading},
};

// The hidden labels that hold each reading's number.
const char *const kHiddenLabels[] = {
    "lblLifePath",        "lblDestiny",           "lblSoulUrge",
    "lblInnerDreams",     "lblBirthDay",          "lblMaturity",
    "lblChallenge",       "lblPersonal",          "lblPersonalMonth",
    "lblPersonalDay",     "lblPersonalAspects",   "lblPinnaclePhases",
    "lblLifePathPeriods", "lblEssence",           "lblKarmicLessonsNumber",
    "lblKarmicDebtNumbers", "lblBalanceNumber",   "lblRationalThoughtNumber",
    "lblSubconsciousSelfNumber", "lblHiddenPassionNumber", "lblHPBridgeNumber",
    "lblLEBridgeNumber",  "lblMarriageVibrationNumber",
};

} // namespace

NumerologyProResult::NumerologyProResult(NumProProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmNumerologyProResult"),
                    QObject::tr("Orvanel Variduzeda Vad Software"))
    , m_program(program)
{
    QWidget *page = body();

    auto *title = new QLabel(tr("Orvanel Variduzeda Vad Software"), page);
    title->setObjectName(QStringLiteral("Label2"));
    title->setFont(kestrava::verdana(14.25, true));
    title->setAlignment(Qt::AlignCenter);

    auto *frame = new QGroupBox(QUrl(kestrava::siteAddress()).host() + tr("'s Free Variduzeda Vad Software"), page);
    frame->setObjectName(QStringLiteral("fraButtons"));
    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    QList<QPushButton *> tabOrder;
    for (const ReadingButton &entry : kReadingButtons) {
        auto *button = new QPushButton(tr(entry.caption), frame);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setMinimumHeight(28);
        button->setEnabled(entry.reading != nullptr);
        if (entry.reading) {
            const Reading reading = entry.reading;
            connect(button, &QPushButton::clicked, this, [this, reading] { runReading(reading); });
        }
        grid->addWidget(button, entry.row, entry.column);
        tabOrder << button;
    }
    auto *comprehensive = new QPushButton(tr("Comprehensive Reading"), frame);
    comprehensive->setObjectName(QStringLiteral("cmdComprehensiveReading"));
    QFont bold = comprehensive->font();
    bold.setBold(true);
    comprehensive->setFont(bold);
    comprehensive->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(comprehensive, &QPushButton::clicked, this, &NumerologyProResult::comprehensiveReading);
    grid->addWidget(comprehensive, 7, 2, 2, 1);
    tabOrder << comprehensive;
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);

    // Holds each reading's number as text; never shown.
    auto *allLabels = new QWidget(page);
    allLabels->setObjectName(QStringLiteral("fraAllLabels"));
    allLabels->hide();
    for (const char *name : kHiddenLabels) {
        auto *label = new QLabel(allLabels);
        label->setObjectName(QString::fromLatin1(name));
        m_hiddenLabels.insert(label->objectName(), label);
    }

    auto *backButton = new QPushButton(tr("&Back"), page);
    backButton->setObjectName(QStringLiteral("cmdBack"));
    connect(backButton, &QPushButton::clicked, this, &NumerologyProResult::back);
    auto *exitButton = new QPushButton(tr("E&xit"), page);
    exitButton->setObjectName(QStringLiteral("cmdExit"));
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(backButton);
    buttons->addWidget(exitButton);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label8"), true, page));
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeFullBrandFrame(page));

    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    setTabOrder(tabOrder.back(), backButton);
    setTabOrder(backButton, exitButton);

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(QStringLiteral("mnuBack"));
    connect(backItem, &QAction::triggered, this, &NumerologyProResult::back);
    addCommonMenus(menuBar(), this, {backItem}, [this] { close(); }, {.modalAbout = false});

    setMinimumWidth(840);
    program.ensureDocument();
}

numpro::BirthInputs NumerologyProResult::currentInputs() const
{
    if (const NumerologyProMain *input = m_program.input())
        return input->inputs();
    return {};
}

void NumerologyProResult::runReading(Reading reading)
{
    const numpro::ReadingResult result = reading(currentInputs(), m_state, numpro::OutputMode::Display);
    syncHiddenLabels();
    deliver(result, numpro::OutputMode::Display);
}

void NumerologyProResult::deliver(const numpro::ReadingResult &result, numpro::OutputMode mode)
{
    if (result.text.isEmpty())
        return;
    if (mode == numpro::OutputMode::Document && !result.alwaysToDisplay) {
        m_program.ensureDocument()->appendReading(result.text);
        return;
    }
    NumerologyProDisp *display = m_program.ensureDisplay();
    if (!result.keepCaption)
        display->setWindowTitle(result.text.title());
    display->appendReading(result.text);
    if (display->isHidden())
        display->showAtTop();
    else
        display->raise();
}

void NumerologyProResult::comprehensiveReading()
{
    const QList<numpro::ReadingResult> parts = numpro::comprehensiveReading(currentInputs(), m_state);
    syncHiddenLabels();
    for (const numpro::ReadingResult &part : parts)
        deliver(part, numpro::OutputMode::Document);
    NumerologyProSave *document = m_program.ensureDocument();
    document->showAtTop();
    // Readings always go to the end of the document; the reader starts at its top.
    document->view()->moveCursor(QTextCursor::Start);
}

void NumerologyProResult::syncHiddenLabels()
{
    for (auto it = m_state.labels.cbegin(); it != m_state.labels.cend(); ++it) {
        if (QLabel *label = m_hiddenLabels.value(it.key()))
            label->setText(it.value());
    }
}

void NumerologyProResult::back()
{
    if (NumerologyProMain *input = m_program.input()) {
        input->clearNames();
        input->showAtTop();
    }
    m_backing = true;
    close();
}

void NumerologyProResult::onClosed()
{
    if (!m_backing)
        host().setWelcomeVisible(true);
}
