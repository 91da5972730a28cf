#include "runes/ui/runesmain.h"

#include "common/brand.h"
#include "common/numerology.h"
#include "runes/runes.h"
#include "runes/runesdocument.h"
#include "runes/ui/runesprogram.h"
#include "shell/commonmenus.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/svgpicture.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr QSize kStoneSize(113, 151);

QLabel *label(int index, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lblLabel_%1").arg(index));
    return l;
}

QGroupBox *frame(int index, const QString &title, QWidget *content, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QStringLiteral("Frame3_%1").arg(index));
    (new QVBoxLayout(box))->addWidget(content);
    return box;
}

} // namespace

RunesMain::RunesMain(RunesProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmRunesNumerologyMain"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Runes))
{
    QWidget *page = body();
    m_pages = new QStackedWidget(page);
    m_inputPage = buildInputPage();
    m_resultPage = buildResultPage();
    m_pages->addWidget(m_inputPage);
    m_pages->addWidget(m_resultPage);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), true, page));
    layout->addWidget(m_pages, 1);
    layout->addWidget(brand::makeFullBrandFrame(page));
    addCommonMenus(menuBar(), this, {}, [this] { close(); });
    // The window takes a name only: a client chosen fills it, but the name
    // alone is no client to add.
    ClientFields fields;
    fields.fill = [this](const kestrava::Person &person) {
        m_name->setText(person.joinedName());
        return true;
    };
    fields.check = [this] { return !m_name->text().isEmpty(); };
    fields.snapshot = [this] { return QStringList{m_name->text()}; };
    m_clients = new ClientLink(*this, kestrava::ProgramId::Runes, std::move(fields));
    setMinimumWidth(600);
    m_pages->setCurrentWidget(m_inputPage);
    m_name->setFocus();
}

QWidget *RunesMain::buildInputPage()
{
    const QString program = kestrava::programName(kestrava::ProgramId::Runes);
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("Frame1"));
    auto *welcome = label(7,
                          tr("Welcome to Orvanel %1! Numerology can change your lives and the vibrations of the "
                             "numbers can have a great effect on your lives! Learn the effect of the corresponding "
                             "Rune Stones in your life.")
                              .arg(program),
                          view);
    welcome->setWordWrap(true);
    QFont bold = welcome->font();
    bold.setBold(true);
    welcome->setFont(bold);
    auto *hint = label(8, tr("Just enter you name to see your %1 result!").arg(program), view);
    m_name = new QLineEdit(view);
    m_name->setObjectName(QStringLiteral("txtName"));
    auto *nameLabel = label(0, tr("&Name"), view);
    nameLabel->setBuddy(m_name);
    auto *get = new QPushButton(tr("&Get My %1 Reading").arg(program), view);
    get->setObjectName(QStringLiteral("cmdNumerologyRunes"));
    get->setDefault(true);
    connect(get, &QPushButton::clicked, this, &RunesMain::getReading);
    connect(m_name, &QLineEdit::returnPressed, this, &RunesMain::getReading);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(get);
    auto *layout = new QVBoxLayout(view);
    layout->addWidget(welcome);
    layout->addSpacing(6);
    layout->addWidget(hint);
    layout->addLayout(nameRow);
    layout->addStretch();
    layout->addLayout(buttons);
    setTabOrder(m_name, get);
    return view;
}

QWidget *RunesMain::buildResultPage()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("Frame2"));
    m_tabs = new QTabBar(view);
    m_tabs->setObjectName(QStringLiteral("TS"));
    m_tabs->addTab(runes::numerologyCaption());
    m_tabs->addTab(runes::runesCaption());
    m_panes = new QStackedWidget(view);
    connect(m_tabs, &QTabBar::currentChanged, m_panes, &QStackedWidget::setCurrentIndex);

    // The Numerology pane.
    auto *numerology = new QWidget;
    numerology->setObjectName(QStringLiteral("picNumerology"));
    m_number = label(1, QStringLiteral("22"), numerology);
    QFont big = m_number->font();
    big.setPointSize(14);
    big.setBold(true);
    m_number->setFont(big);
    m_significance = label(2, QString(), numerology);
    m_significance->setWordWrap(true);
    m_interpretation = new QPlainTextEdit(numerology);
    m_interpretation->setObjectName(QStringLiteral("txtNumerologyInterpretation"));
    m_interpretation->setReadOnly(true);
    m_interpretation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_interpretation->setMinimumHeight(m_interpretation->fontMetrics().lineSpacing() * 12);
    auto *backOne = new QPushButton(tr("&Back"), numerology);
    backOne->setObjectName(QStringLiteral("cmdBack_1"));
    connect(backOne, &QPushButton::clicked, this, &RunesMain::back);
    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number);
    numberRow->addStretch();
    numberRow->addWidget(backOne);
    auto *numerologyLayout = new QVBoxLayout(numerology);
    numerologyLayout->addLayout(numberRow);
    numerologyLayout->addWidget(frame(2, runes::significanceCaption(), m_significance, numerology));
    numerologyLayout->addWidget(frame(3, runes::interpretationCaption(), m_interpretation, numerology), 1);

    // The Runes pane.
    auto *runes = new QWidget;
    runes->setObjectName(QStringLiteral("picRunes"));
    m_rune = label(4, tr("Runes Name"), runes);
    QFont runeFont = m_rune->font();
    runeFont.setPointSize(14);
    runeFont.setBold(true);
    m_rune->setFont(runeFont);
    m_picture = new QLabel(runes);
    m_picture->setObjectName(QStringLiteral("picRunesImage"));
    m_picture->setFixedSize(kStoneSize);
    m_keywords = label(5, tr("Runes Keywords"), runes);
    m_keywords->setWordWrap(true);
    m_runeText = label(6, QString(), runes);
    m_runeText->setWordWrap(true);
    m_runeText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_runeText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *backZero = new QPushButton(tr("&Back"), runes);
    backZero->setObjectName(QStringLiteral("cmdBack_0"));
    connect(backZero, &QPushButton::clicked, this, &RunesMain::back);
    auto *stone = new QVBoxLayout;
    stone->addWidget(m_rune);
    stone->addWidget(m_picture);
    stone->addStretch();
    auto *words = new QVBoxLayout;
    words->addWidget(frame(0, runes::keywordsCaption(), m_keywords, runes));
    // A long rune text scrolls within its frame.
    auto *scroller = new QScrollArea(runes);
    scroller->setWidget(m_runeText);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setMinimumHeight(m_runeText->fontMetrics().lineSpacing() * 10);
    words->addWidget(frame(1, runes::interpretationCaption(), scroller, runes), 1);
    auto *top = new QHBoxLayout;
    top->addLayout(stone);
    top->addLayout(words, 1);
    auto *backRow = new QHBoxLayout;
    backRow->addStretch();
    backRow->addWidget(backZero);
    auto *runesLayout = new QVBoxLayout(runes);
    runesLayout->addLayout(top, 1);
    runesLayout->addLayout(backRow);

    m_panes->addWidget(numerology);
    m_panes->addWidget(runes);
    auto *layout = new QVBoxLayout(view);
    layout->addWidget(m_tabs);
    layout->addWidget(m_panes, 1);
    return view;
}

void RunesMain::getReading()
{
    if (m_name->text().isEmpty()) {
        host().services().messages->inform(this, platform::Icon::Error, tr("Please enter name"));
        m_name->setFocus();
        return;
    }
    m_clients->readingRan({{QStringLiteral("name"), m_name->text()}});
    numerologyRunesDisplay(runes::runesNumber(m_name->text()));
    m_pages->setCurrentWidget(m_resultPage);
    m_tabs->setCurrentIndex(0);
    m_panes->setCurrentIndex(0);
    // Never smaller than the filled result page asks for.
    resize(size().expandedTo(sizeHint()));
}

void RunesMain::numerologyRunesDisplay(int number)
{
    const runes::RuneRow *row = runes::runeRow(number);
    if (!row) {
        if (number != 0)
            return;
        // A name without a letter A to Z: say so rather than leave the last
        // person's reading standing.
        m_number->setText(QStringLiteral("0"));
        m_significance->setText(runes::significanceText());
        m_interpretation->setPlainText(runes::noLettersText());
        m_rune->clear();
        m_keywords->clear();
        m_runeText->clear();
        m_picture->clear();
        return;
    }
    m_number->setText(QString::number(number));
    m_significance->setText(runes::significanceText());
    m_interpretation->setPlainText(row->numberText);
    if (const QString uncounted =
            kestrava::unvaluedLettersSentence(kestrava::unvaluedLetters(kestrava::trimBlanks(m_name->text())));
        !uncounted.isEmpty())
        m_interpretation->setPlainText(row->numberText + QStringLiteral("\n\n") + uncounted);
    m_rune->setText(row->rune);
    m_keywords->setText(row->keywords);
    m_runeText->setText(row->text);
    m_picture->setPixmap(pictures::svgPicture(QStringLiteral(":/images/runes/") + row->picture + QStringLiteral(".svg"),
                                              kStoneSize, devicePixelRatioF()));
}

void RunesMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (m_clients->fillFor(person, clientId))
        getReading();
}

void RunesMain::back()
{
    m_name->clear();
    m_name->setFocus();
    m_pages->setCurrentWidget(m_inputPage);
}
