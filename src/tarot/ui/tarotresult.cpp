#include "tarot/ui/tarotresult.h"

#include "common/brand.h"
#include "shell/commonmenus.h"
#include "tarot/tarotdocument.h"
#include "tarot/deck.h"
#include "tarot/ui/cardpicture.h"
#include "tarot/ui/tarotprogram.h"
#include "widgets/brandlabels.h"
#include "widgets/linkdetector.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kLifePathPage = 0;
constexpr int kDestinyPage = 1;
// A spread card in the grid: the deck's pictures at about half size.
constexpr QSize kGridCard(68, 120);

// Per page: object names and the fixed texts.
struct PageNames
{
    const char *page, *picture, *cardName, *cardDescription, *keywords, *back, *next, *numberText, *planetText;
    int firstResult;
    // lblCaptions indexes: about, number, planet, day, best days, colours, stones, description, keywords
    std::array<int, 9> captions;
    const char *about;
    const char *numberCaption;
};

const PageNames kPages[2] = {
    {"picLifePath", "imgLifePathCards", "lblLifePathCardName", "lblLifePathCardDesc", "lblLifePathKeywords",
     "cmdLifePathBack", "cmdLifePathNext", "txtLifePathDesc", "txtLifePathPlanetDesc", 0,
     {0, 1, 2, 3, 4, 5, 6, 7, 8},
     "This is one of the most important numbers. Sometimes it is also called the Life Direction Number. This "
     "represents who you are at birth. It gives a broad outline of the various good and bad opportunities, "
     "struggles that you may have to face throughout your life.",
     "Life Path Number: "},
    {"picDestiny", "imgDestinyCards", "lblDestinyCardName", "lblDestinyCardDesc", "lblDestinyKeywords",
     "cmdDestinyBack", "cmdDestinyNext", "txtDestinyDesc", "txtDestinyPlanetDesc", 6,
     {26, 25, 20, 21, 22, 23, 24, 19, 18},
     "This number describes your vibration in the world and the tasks that you must achieve in this lifetime "
     "using the name given to you. Destiny / Expression number more correctly reads as what you MUST strive to "
     "become with the development of talents you are born with.",
     "Destiny Number: "},
};

QLabel *named(QLabel *label, const QString &name)
{
    label->setObjectName(name);
    return label;
}

QLabel *caption(int index, const QString &text, QWidget *parent, bool bold = true)
{
    auto *label = named(new QLabel(text, parent), QStringLiteral("lblCaptions_%1").arg(index));
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QLabel *boxLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(4);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for a line even when empty (a number without cards), so the box
    // stays where the captions above it point.
    label->setMinimumHeight(label->fontMetrics().height() + 2 * (label->margin() + label->frameWidth()));
    return label;
}

QPlainTextEdit *textBox(const QString &name, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Room for a few lines; the scroll bar reaches the rest.
    box->setFixedHeight(104);
    return box;
}

} // namespace

TarotResult::TarotResult(TarotProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmTarotNumerologyResult"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tarot))
    , m_program(program)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *body = this->body();

    m_tabs = new QTabBar(body);
    m_tabs->setObjectName(QStringLiteral("TS"));
    m_tabs->addTab(tr("Tarot && Life Path Number"));
    m_tabs->addTab(tr("Tarot && Destiny Number"));
    m_tabs->addTab(tr("Numerology Spread"));
    m_pages = new QStackedWidget(body);
    m_pages->addWidget(buildNumberPage(kLifePathPage));
    m_pages->addWidget(buildNumberPage(kDestinyPage));
    m_pages->addWidget(buildSpreadPage());
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);

    auto *save = new QPushButton(tr("&Save"), body);
    save->setObjectName(QStringLiteral("cmdSave"));
    connect(save, &QPushButton::clicked, this, [this] { m_program.openDocument(); });
    auto *back = new QPushButton(tr("&Back"), body);
    back->setObjectName(QStringLiteral("cmdBack"));
    connect(back, &QPushButton::clicked, this, [this] { m_program.backToInput(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(back);

    auto *layout = new QVBoxLayout(body);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label14"), true, body));
    layout->addWidget(m_tabs);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeFullBrandFrame(body));

    auto *backItem = new QAction(tr("&Back"), this);
    backItem->setObjectName(QStringLiteral("mnuBack"));
    connect(backItem, &QAction::triggered, this, [this] { m_program.backToInput(); });
    auto *separator = new QAction(this);
    separator->setObjectName(QStringLiteral("mnuSep3"));
    separator->setSeparator(true);
    addCommonMenus(menuBar(), this, {backItem, separator}, [this] { close(); });
}

QWidget *TarotResult::buildNumberPage(int index)
{
    const PageNames &names = kPages[index];
    Page &page = m_page[std::size_t(index)];
    auto *widget = new QWidget;
    widget->setObjectName(QString::fromLatin1(names.page));

    page.picture = named(new QLabel(widget), QString::fromLatin1(names.picture));
    page.picture->setFrameShape(QFrame::Box);
    page.picture->setFixedSize(tarot::kCardWidth + 2, tarot::kCardHeight + 2);
    page.picture->setPixmap(tarot::cardPicture(QStringLiteral("magician"), {tarot::kCardWidth, tarot::kCardHeight},
                                               devicePixelRatioF()));
    page.cardName = named(new QLabel(tr("Label1"), widget), QString::fromLatin1(names.cardName));
    QFont bold = page.cardName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    page.cardName->setFont(bold);
    page.cardDescription = boxLabel(QString::fromLatin1(names.cardDescription), tr("Card Desc"), widget);
    page.keywords = boxLabel(QString::fromLatin1(names.keywords), tr("Card Keywords"), widget);
    auto *back = new QPushButton(tr("Back"), widget);
    back->setObjectName(QString::fromLatin1(names.back));
    connect(back, &QPushButton::clicked, this, [this, index] { previousCard(index); });
    auto *next = new QPushButton(tr("Next"), widget);
    next->setObjectName(QString::fromLatin1(names.next));
    connect(next, &QPushButton::clicked, this, [this, index] { nextCard(index); });

    auto *browser = new QHBoxLayout;
    browser->addStretch();
    browser->addWidget(back);
    browser->addWidget(next);
    auto *cardText = new QVBoxLayout;
    cardText->addWidget(page.cardName);
    cardText->addWidget(caption(names.captions[7], tr("Card Description"), widget));
    cardText->addWidget(page.cardDescription, 1);
    cardText->addWidget(caption(names.captions[8], tr("Card Keywords"), widget));
    cardText->addWidget(page.keywords);
    cardText->addLayout(browser);
    auto *cardArea = new QHBoxLayout;
    cardArea->addWidget(page.picture, 0, Qt::AlignTop);
    cardArea->addLayout(cardText, 1);

    QLabel *about = caption(names.captions[0], tr(names.about), widget, false);
    about->setWordWrap(true);

    for (int i = 0; i < 6; ++i) {
        page.results[std::size_t(i)] =
            named(new QLabel(widget), QStringLiteral("lblResult_%1").arg(names.firstResult + i));
    }
    page.results[0]->setText(tr("No"));
    page.results[1]->setText(tr("Planet"));
    for (int i = 2; i < 6; ++i)
        page.results[std::size_t(i)]->setText(tr("Life Path Number"));
    QFont boldValue = page.results[0]->font();
    boldValue.setBold(true);
    page.results[0]->setFont(boldValue);
    page.results[1]->setFont(boldValue);
    page.numberText = textBox(QString::fromLatin1(names.numberText), widget);
    page.planetText = textBox(QString::fromLatin1(names.planetText), widget);

    auto *texts = new QGridLayout;
    texts->addWidget(caption(names.captions[1], tr(names.numberCaption), widget), 0, 0);
    texts->addWidget(page.results[0], 0, 1);
    texts->addWidget(page.numberText, 1, 0, 1, 2);
    texts->addWidget(caption(names.captions[2], tr("Associated Planet: "), widget), 2, 0);
    texts->addWidget(page.results[1], 2, 1);
    texts->addWidget(page.planetText, 3, 0, 1, 2);
    texts->setColumnStretch(1, 1);

    auto *facts = new QVBoxLayout;
    const char *factCaptions[] = {"Lucky Day: ", "Best Day: ", "Best Colors: ", "Lucky Stones: "};
    for (int i = 0; i < 4; ++i) {
        facts->addWidget(caption(names.captions[std::size_t(3 + i)], tr(factCaptions[i]), widget));
        page.results[std::size_t(2 + i)]->setWordWrap(true);
        facts->addWidget(page.results[std::size_t(2 + i)]);
        facts->addSpacing(6);
    }
    facts->addStretch();
    auto *lower = new QHBoxLayout;
    lower->addLayout(texts, 3);
    lower->addSpacing(12);
    lower->addLayout(facts, 1);

    auto *layout = new QVBoxLayout(widget);
    layout->addLayout(cardArea);
    layout->addWidget(about);
    layout->addLayout(lower, 1);
    return widget;
}

QWidget *TarotResult::buildSpreadPage()
{
    auto *widget = new QWidget;
    widget->setObjectName(QStringLiteral("picNumerologySpread"));
    auto *grid = new QGridLayout;
    grid->setSpacing(6);
    auto gridLabel = [widget](const QString &text, int index) {
        auto *label = named(new QLabel(text, widget), QStringLiteral("lblNumerologyGrid_%1").arg(index));
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    const QStringList above = {tr("Thought"), tr("Organization"), tr("Influence")};
    const QStringList below = {tr("Individualistic"), tr("Material Activity"), tr("Power - strength")};
    const QStringList left = {tr("H E A D"), tr("H E A R T"), tr("D E E D S")};
    const QStringList right = {tr("I n t e l l e c t"), tr("L i a s i o n"), tr("F u n d a m e n t a l")};
    // Numbered by columns from the bottom: 3 6 9 / 2 5 8 / 1 4 7.
    const int gridNumbers[9] = {3, 6, 9, 2, 5, 8, 1, 4, 7};
    int labelIndex = 0;
    for (int column = 0; column < 3; ++column) {
        grid->addWidget(gridLabel(above[column], labelIndex++), 0, column + 1);
        grid->addWidget(gridLabel(below[column], labelIndex++), 7, column + 1);
    }
    for (int row = 0; row < 3; ++row) {
        QLabel *l = gridLabel(QString(left[row]).replace(u' ', u'\n'), labelIndex++);
        QLabel *r = gridLabel(QString(right[row]).replace(u' ', u'\n'), labelIndex++);
        grid->addWidget(l, 1 + 2 * row, 0, 2, 1);
        grid->addWidget(r, 1 + 2 * row, 4, 2, 1);
        for (int column = 0; column < 3; ++column) {
            const int index = row * 3 + column;
            auto *number = named(new QLabel(QString::number(gridNumbers[index]), widget),
                                 QStringLiteral("lblNo_%1").arg(index));
            number->setAlignment(Qt::AlignCenter);
            auto *card = named(new QLabel(widget), QStringLiteral("picNumerologyGrid_%1").arg(index));
            card->setFixedSize(kGridCard + QSize(6, 4));
            card->setFrameShape(QFrame::Box);
            card->setAlignment(Qt::AlignCenter);
            m_grid[std::size_t(index)] = card;
            auto *position = named(new QLabel(QString::number(index + 1), card),
                                   QStringLiteral("lblCardPosition_%1").arg(index));
            // A small badge over the card's corner, readable on any picture.
            position->setStyleSheet(QStringLiteral("background: #ffffff; color: #000000; "
                                                   "border: 1px solid #808080; padding: 0px 2px;"));
            position->move(2, 2);
            grid->addWidget(number, 1 + 2 * row, column + 1, Qt::AlignHCenter | Qt::AlignBottom);
            grid->addWidget(card, 2 + 2 * row, column + 1, Qt::AlignHCenter);
        }
    }
    m_spreadView = new QTextEdit(widget);
    m_spreadView->setObjectName(QStringLiteral("RTB"));
    m_spreadView->setReadOnly(true);
    m_spreadView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    new LinkDetector(m_spreadView);

    auto *layout = new QHBoxLayout(widget);
    layout->addLayout(grid);
    layout->addWidget(m_spreadView, 1);
    return widget;
}

void TarotResult::showLifePathProfile(int number)
{
    showProfile(kLifePathPage, number);
}

void TarotResult::showDestinyProfile(int number, const QString &uncounted)
{
    showProfile(kDestinyPage, number);
    if (uncounted.isEmpty())
        return;
    QPlainTextEdit *text = m_page[std::size_t(kDestinyPage)].numberText;
    const QString shown = text->toPlainText();
    text->setPlainText(shown.isEmpty() ? uncounted : shown + QStringLiteral("\n\n") + uncounted);
}

void TarotResult::showProfile(int index, int number)
{
    for (tarot::TarotCard &card : m_currentCards) {
        card.description.clear();
        card.keywords.clear();
    }
    Page &page = m_page[std::size_t(index)];
    const tarot::NumberSection section =
        tarot::numberSection(index == kLifePathPage ? tarot::NumberPage::LifePath : tarot::NumberPage::Destiny, number);
    for (std::size_t i = 0; i < section.fields.size(); ++i)
        page.results[i]->setText(section.fields[i]);
    page.numberText->setPlainText(section.numberText);
    page.planetText->setPlainText(section.planetText);
    page.number = number;
    page.count = int(tarot::numberCards(number).size());
    if (page.count == 0) {
        // A name without letters: the page says so instead of keeping the
        // captions and the picture it opened with.
        page.pending = false;
        page.picture->clear();
        page.cardName->clear();
        page.cardDescription->setText(tarot::noCardsText());
        page.keywords->clear();
        return;
    }
    page.pending = true;
    loadNumberCards(number);
}

void TarotResult::loadNumberCards(int number)
{
    const QList<tarot::TarotCard> cards = tarot::numberCards(number);
    if (cards.isEmpty())
        return;
    m_currentCards = cards;
    for (int index : {kLifePathPage, kDestinyPage}) {
        Page &page = m_page[std::size_t(index)];
        if (page.pending) {
            page.pending = false;
            showCard(index, number, 1);
        }
    }
}

void TarotResult::showCard(int index, int number, int position)
{
    Page &page = m_page[std::size_t(index)];
    const qsizetype at = position - 1;
    if (at < 0 || at >= m_currentCards.size())
        return;
    const tarot::TarotCard &card = m_currentCards[at];
    page.picture->setPixmap(tarot::cardPicture(tarot::numberCards(number)[at].picture,
                                               {tarot::kCardWidth, tarot::kCardHeight}, devicePixelRatioF()));
    page.cardName->setText(card.name);
    page.cardDescription->setText(card.description);
    page.keywords->setText(card.keywords);
}

void TarotResult::nextCard(int index)
{
    Page &page = m_page[std::size_t(index)];
    if (page.position == page.count) {
        host().services().messages->inform(this, platform::Icon::Error, tr("You Have Reached The Last Record"));
        return;
    }
    if (page.position < page.count) {
        loadNumberCards(page.number);
        showCard(index, page.number, page.position + 1);
        ++page.position;
    }
}

void TarotResult::previousCard(int index)
{
    Page &page = m_page[std::size_t(index)];
    if (page.position <= 1) {
        host().services().messages->inform(this, platform::Icon::Error, tr("You Have Reached The First Record"));
        return;
    }
    --page.position;
    loadNumberCards(page.number);
    showCard(index, page.number, page.position);
}

void TarotResult::showSpread(const tarot::SpreadCards &cards)
{
    for (int index = 0; index < tarot::kSpreadSize; ++index) {
        const tarot::DeckCard *card = tarot::deckCard(cards[std::size_t(index)]);
        QLabel *picture = m_grid[std::size_t(index)];
        picture->setPixmap(card ? tarot::cardPicture(card->picture, kGridCard, devicePixelRatioF()) : QPixmap());
        picture->setToolTip(card ? card->name : QString());
    }
    m_spreadView->clear();
    richtext::appendToTextEdit(m_spreadView, tarot::spreadText(cards));
    m_spreadView->setTextCursor(QTextCursor(m_spreadView->document()));
}

tarot::NumberSection TarotResult::section(int index) const
{
    const Page &page = m_page[std::size_t(index)];
    tarot::NumberSection section;
    for (std::size_t i = 0; i < section.fields.size(); ++i)
        section.fields[i] = page.results[i]->text();
    section.numberText = page.numberText->toPlainText();
    section.planetText = page.planetText->toPlainText();
    section.cardNumber = page.number;
    return section;
}
