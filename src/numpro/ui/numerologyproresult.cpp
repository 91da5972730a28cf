#include "numpro/ui/numerologyproresult.h"

#include "common/brand.h"
#include "common/siteaddress.h"
#include "numpro/readings/comprehensivereading.h"
#include "numpro/readings/readinglist.h"
#include "numpro/ui/numerologyprodisp.h"
#include "numpro/ui/numerologypromain.h"
#include "numpro/ui/numerologyprosave.h"
#include "numpro/ui/marriagedategroup.h"
#include "numpro/ui/numproprogram.h"
#include "shell/commonmenus.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QTextEdit>
#include <QVBoxLayout>

NumerologyProResult::NumerologyProResult(NumProProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmNumerologyProResult"),
                    kestrava::programWindowTitle(kestrava::ProgramId::NumerologyPro))
    , m_program(program)
{
    QWidget *page = body();

    auto *title = new QLabel(kestrava::programWindowTitle(kestrava::ProgramId::NumerologyPro), page);
    title->setObjectName(QStringLiteral("Label2"));
    title->setFont(kestrava::verdana(14.25, true));
    title->setAlignment(Qt::AlignCenter);

    const QString credit = QUrl(kestrava::siteAddress()).host()
                           + tr("'s Free %1 Software").arg(kestrava::programName(kestrava::ProgramId::NumerologyPro));
    auto *frame = new QGroupBox(credit, page);
    frame->setObjectName(QStringLiteral("fraButtons"));
    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    // Tab goes down the first column, then the second, then the third.
    QMap<std::pair<int, int>, QPushButton *> byPlace;
    // The marriage date and its reading's button, below the grid.
    m_marriageDate = new MarriageDateGroup(host().services().clock->now().date(), page);
    QPushButton *marriageButton = nullptr;
    for (const numpro::Reading &reading : numpro::readingList()) {
        auto *button = new QPushButton(reading.buttonCaption.toString(), frame);
        button->setObjectName(reading.button.toString());
        button->setMinimumHeight(28);
        button->setEnabled(reading.isOffered());
        if (reading.isOffered())
            connect(button, &QPushButton::clicked, this, [this, &reading] { runReading(reading); });
        if (reading.column < 0) {
            button->setParent(m_marriageDate);
            m_marriageDate->grid()->addWidget(button, 1, 3);
            marriageButton = button;
            continue;
        }
        grid->addWidget(button, reading.row, reading.column);
        byPlace.insert({reading.column, reading.row}, button);
    }
    // The forecast and the life timeline: the readings again with other dates as today.
    const struct
    {
        QString name;
        QString caption;
        int row;
        void (NumerologyProResult::*open)();
    } dated[] = {{QStringLiteral("cmdLifeTimeline"), tr("Life Timeline"), 0, &NumerologyProResult::openLifeTimeline},
                 {QStringLiteral("cmdForecast"), tr("Forecast"), 1, &NumerologyProResult::openForecast},
                 {QStringLiteral("cmdCompatibility"), tr("Compatibility"), 2,
                  &NumerologyProResult::openCompatibility}};
    for (const auto &each : dated) {
        auto *button = new QPushButton(each.caption, frame);
        button->setObjectName(each.name);
        button->setMinimumHeight(28);
        connect(button, &QPushButton::clicked, this, each.open);
        grid->addWidget(button, each.row, 2);
        byPlace.insert({2, each.row}, button);
    }
    QList<QPushButton *> tabOrder = byPlace.values();
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
    QStringList labelNames;
    for (const numpro::Reading &reading : numpro::readingList())
        labelNames << reading.hiddenLabel.toString();
    for (const QString &name : labelNames) {
        auto *label = new QLabel(allLabels);
        label->setObjectName(name);
        m_hiddenLabels.insert(name, label);
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
    layout->addWidget(m_marriageDate);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeFullBrandFrame(page));

    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    QWidget *previous = tabOrder.back();
    for (const char *name : {"cboMarriageMonth", "cboMarriageDate", "cboMarriageYear"}) {
        QWidget *list = m_marriageDate->findChild<QWidget *>(QString::fromLatin1(name));
        setTabOrder(previous, list);
        previous = list;
    }
    setTabOrder(previous, marriageButton);
    setTabOrder(marriageButton, backButton);
    setTabOrder(backButton, exitButton);

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(QStringLiteral("mnuBack"));
    connect(backItem, &QAction::triggered, this, &NumerologyProResult::back);
    addCommonMenus(menuBar(), this, {backItem}, [this] { close(); }, {.modalAbout = false});

    setMinimumWidth(840);
    program.ensureDocument();
}

numpro::ReadingInputs NumerologyProResult::readingInputs() const
{
    numpro::ReadingInputs inputs;
    if (const NumerologyProMain *input = m_program.input())
        inputs = input->inputs();
    inputs.today = host().services().clock->now().date();
    inputs.marriageDate = m_marriageDate->date();
    return inputs;
}

void NumerologyProResult::runReading(const numpro::Reading &reading)
{
    const numpro::ReadingResult result =
        numpro::runReading(reading, readingInputs(), m_state, numpro::OutputMode::Display);
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
    display->addReading(result);
    // The reading comes to the front, also in a display window already open
    // behind others.
    if (display->isHidden())
        display->showAtTop(this);
    else
        bringToFront(display);
}

void NumerologyProResult::comprehensiveReading()
{
    const QList<numpro::ReadingResult> parts = numpro::comprehensiveReading(readingInputs(), m_state);
    syncHiddenLabels();
    // Sized and shown first: a view lays its whole document out again at
    // every new width, so the long document is laid out once, at its last.
    NumerologyProSave *document = m_program.ensureDocument();
    document->showAtTop(this);
    for (const numpro::ReadingResult &part : parts)
        deliver(part, numpro::OutputMode::Document);
    document->raise();
    host().documentArea()->setActiveSubWindow(document);
    // Readings always go to the end of the document; the reader starts at its top.
    document->view()->moveCursor(QTextCursor::Start);
}

void NumerologyProResult::openLifeTimeline()
{
    m_program.showLifeTimeline(readingInputs());
}

void NumerologyProResult::openForecast()
{
    m_program.showForecast(readingInputs());
}

void NumerologyProResult::openCompatibility()
{
    // The first person is read from the input window's fields: a client of
    // the book while those still hold them.
    const NumerologyProMain *input = m_program.input();
    m_program.showCompatibility(readingInputs(), input ? input->clientLink()->clientId() : 0);
}

void NumerologyProResult::syncHiddenLabels()
{
    const QHash<QString, QString> captions = numpro::hiddenLabelCaptions(m_state);
    for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
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
    close();
}
