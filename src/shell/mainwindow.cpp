#include "shell/mainwindow.h"

#include "common/siteaddress.h"
#include "shell/aboutbox.h"
#include "shell/artwork.h"
#include "shell/commonmenus.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"
#include "widgets/programwindow.h"
#include "platform/weblinks.h"
#include "shell/welcomepanel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ProgramButton
{
    const char *caption;
    int row;
    int column;
};

// Launch buttons by index: caption and place in the two rows of three.
constexpr std::array<ProgramButton, MainWindow::kProgramCount> kButtons = {{
    {"Ruzazeder Uvuvevizoz", 0, 1},
    {"Variduzeda Vad", 0, 0},
    {"Virer Ovuvudavov", 0, 2},
    {"Vavov Uvarevuvir", 1, 1},
    {"Dudov Aduradudav", 1, 2},
    {"Vorizov Avazodizaz", 1, 0},
}};

struct Caption
{
    const char *text;
    const char *colour;
};

// Welcome labels by index; 0 to 2 are headings, 3 to 8 open program index - 3.
constexpr std::array<Caption, 9> kCaptions = {{
    {"Welcome to Kestrava", "#00FFFF"},
    {"Welcome to the interesting world of numbers. Know more about how numerology can affect your lives "
     "with this software. Be it a normal Numerology Reading or one based on Astrology, Kundalini, Tarot or "
     "Runes, this tool can help you understand yourself better.",
     "#FF0000"},
    {"Kestrava includes the following programs", "#00FFFF"},
    {"Ruzazeder Uvuvevizoz", "#FFFF00"},
    {"Variduzeda Vad", "#FF00FF"},
    {"Virer Ovuvudavov", "#00FF00"},
    {"Vavov Uvarevuvir", "#00FFFF"},
    {"Dudov Aduradudav", "#FF8000"},
    {"Vorizov Avazodizaz", "#8080FF"},
}};

// Top to bottom on the panel: the headings, then the programs in the order
// Variduzeda Vad, Astrology, Tarot, Tantric, Daily, Runes.
constexpr std::array<int, 9> kCaptionOrder = {0, 1, 2, 4, 3, 5, 8, 6, 7};

constexpr int kFirstProgramCaption = 3;

// The dark grey strips above and below the document area.
QWidget *makeBar(const QString &name, QWidget *parent)
{
    auto *bar = new QWidget(parent);
    bar->setObjectName(name);
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setStyleSheet(QStringLiteral("#%1 { background: #3a3a3a; border: 1px solid #222; }").arg(name));
    return bar;
}

const QString kBannerText = QStringLiteral(
    "The Most Popular Online Mystic Forum. Best Resource For Everything Mystic. "
    "Join the conversation at ");

const QString kFullyBrandedText = QStringLiteral(
    "Home Business Opportunity. Start your own Internet business and make money online. Get this software "
    "fully branded for your website. Click here for more details.");

} // namespace

using kestrava::verdana;

MainWindow::MainWindow(platform::Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(tr("Kestrava v1.25"));
    setWindowIcon(kestrava::windowIcon());

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildBanner());
    layout->addWidget(buildButtonBar());

    m_area = new QMdiArea(central);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    m_area->setBackground(Qt::black);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setFrameShape(QFrame::NoFrame);

    // The welcome panel stands above the document area and takes the room it
    // needs; a window left open while it shows stays visible below it.  Both
    // are black, so the panel reads as the area's welcome text.
    layout->addWidget(buildWelcomePanel());
    layout->addWidget(m_area, 1);
    layout->addWidget(buildBottomBar());
    setCentralWidget(central);

    addCommonMenus(menuBar(), this, {}, [this] { close(); });
    resize(1280, 800);
}

MainWindow::~MainWindow() = default;

QWidget *MainWindow::buildBanner()
{
    auto *strip = new LinkLabel(QString(), this);
    strip->setObjectName(QStringLiteral("Picture6"));
    strip->setAutoFillBackground(true);
    strip->setFixedHeight(40);
    strip->setScaledContents(true);
    strip->setPixmap(kestrava::bannerPicture(1920, 40));
    strip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    strip->setMinimumWidth(0);
    connect(strip, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kHome); });

    auto *banner = new LinkLabel(kBannerText + kestrava::siteAddress() + QStringLiteral("/forum"), strip);
    banner->setObjectName(QStringLiteral("lblOrvanelBanner"));
    banner->setFont(verdana(9, true));
    // A soft dark backdrop keeps the text readable over the strip's pattern.
    banner->setStyleSheet(QStringLiteral(
        "color: #FFD966; background: rgba(10, 6, 30, 170); border-radius: 4px; padding: 2px 12px;"));
    banner->setAlignment(Qt::AlignCenter);
    // A narrow window cuts the banner rather than growing to fit it.
    banner->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    banner->setMinimumWidth(1);
    connect(banner, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kHome); });

    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->addStretch();
    layout->addWidget(banner);
    layout->addStretch();
    return strip;
}

QWidget *MainWindow::buildButtonBar()
{
    QWidget *bar = makeBar(QStringLiteral("Picture1"), this);

    auto *container = new QWidget(bar);
    container->setObjectName(QStringLiteral("picButtonContainer"));
    auto *grid = new QGridLayout(container);
    grid->setContentsMargins(0, 6, 0, 6);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(6);

    for (int index = 0; index < kProgramCount; ++index) {
        const ProgramButton &entry = kButtons[index];
        auto *picture = new QLabel(container);
        picture->setObjectName(QStringLiteral("imgProgram_%1").arg(index));
        picture->setPixmap(kestrava::programPicture(index, 36));
        picture->setFixedSize(36, 36);

        auto *button = new QPushButton(tr(entry.caption), container);
        button->setObjectName(QStringLiteral("cmdSelectOption_%1").arg(index));
        button->setFont(verdana(9, true));
        button->setMinimumWidth(210);
        button->setMinimumHeight(32);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { background: #c0c0c0; color: black; border: 1px solid #808080; border-radius: 3px; }"
            "QPushButton:hover { background: #d8d8d8; }"
            "QPushButton:pressed { background: #a8a8a8; }"
            "QPushButton:disabled { background: #8c8c8c; color: #5a5a5a; }"
            "QPushButton:focus { border: 1px solid #2060c0; }"));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, index] { launch(index); });
        m_buttons[index] = button;

        auto *cell = new QHBoxLayout;
        cell->setSpacing(6);
        cell->addWidget(picture);
        cell->addWidget(button);
        grid->addLayout(cell, entry.row, entry.column);
    }

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(container);
    layout->addStretch();

    // Tab order follows the rows on screen, left to right.
    QWidget *previous = nullptr;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int index = 0; index < kProgramCount; ++index) {
                if (kButtons[index].row != row || kButtons[index].column != column)
                    continue;
                if (previous)
                    setTabOrder(previous, m_buttons[index]);
                previous = m_buttons[index];
            }
        }
    }
    return bar;
}

QWidget *MainWindow::buildWelcomePanel()
{
    m_welcome = new WelcomePanel(this);
    connect(m_welcome, &WelcomePanel::mouseMoved, this, &MainWindow::clearCaptionUnderlines);

    auto *layout = new QVBoxLayout(m_welcome);
    layout->setContentsMargins(24, 28, 24, 24);
    layout->setSpacing(10);
    for (int index : kCaptionOrder) {
        const Caption &caption = kCaptions[index];
        auto *label = new LinkLabel(tr(caption.text), m_welcome);
        label->setObjectName(QStringLiteral("lblCaption_%1").arg(index));
        label->setAlignment(Qt::AlignCenter);
        // Colours through the palette: a style sheet would take over the font,
        // which carries the hover underline.
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(QString::fromLatin1(caption.colour)));
        label->setPalette(palette);
        if (index == 0 || index == 2) {
            label->setFont(verdana(12, true));
        } else if (index == 1) {
            label->setFont(verdana(8.25, true));
            label->setWordWrap(true);
            label->setFixedWidth(720);
            label->setMinimumHeight(label->heightForWidth(720));
        } else {
            label->setFont(verdana(11, true));
        }
        label->setReacting(false);
        connect(label, &LinkLabel::clicked, this, [this, index] { captionClicked(index); });
        connect(label, &LinkLabel::hovered, this, [this, index] { captionHovered(index); });
        m_captions[index] = label;
        layout->addWidget(label, 0, Qt::AlignHCenter);
        if (index == 1 || index == 2)
            layout->addSpacing(8);
    }
    // Headings react to clicks too (they only close open programs), but show no hand.
    m_captions[0]->setReacting(true);
    m_captions[1]->setReacting(true);
    m_captions[2]->setReacting(true);
    for (int index = 0; index < kFirstProgramCaption; ++index)
        m_captions[index]->setCursor(Qt::ArrowCursor);
    layout->addStretch();
    return m_welcome;
}

QWidget *MainWindow::buildBottomBar()
{
    QWidget *bar = makeBar(QStringLiteral("PicCoBrand"), this);

    auto *promo = new LinkLabel(tr(kFullyBrandedText.toUtf8().constData()), bar);
    promo->setObjectName(QStringLiteral("Label7"));
    promo->setFont(verdana(8.25, true));
    promo->setStyleSheet(QStringLiteral("color: #FFD966; background: transparent;"));
    promo->setWordWrap(true);
    connect(promo, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kFullyBranded); });

    auto *exit = new QPushButton(tr("&Exit"), bar);
    exit->setObjectName(QStringLiteral("cmdMdiExit"));
    exit->setMinimumWidth(96);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(promo, 1);
    layout->addSpacing(12);
    layout->addWidget(exit);
    return bar;
}

void MainWindow::setLauncher(int program, Launcher launcher)
{
    if (program < 0 || program >= kProgramCount)
        return;
    m_launchers[program] = std::move(launcher);
    const bool available = bool(m_launchers[program]);
    m_buttons[program]->setEnabled(available);
    m_captions[program + kFirstProgramCaption]->setReacting(available);
}

void MainWindow::setLaunchPreparation(std::function<void()> prepare)
{
    m_prepare = std::move(prepare);
}

const QStringList &MainWindow::closingSequence()
{
    static const QStringList sequence = {
        QStringLiteral("frmAstrologyNumerologyMain"),  QStringLiteral("frmNumerologyProMain"),
        QStringLiteral("frmNumerologyProDisp"),        QStringLiteral("frmNumerologyProResult"),
        QStringLiteral("frmNumerologyProsave"),        QStringLiteral("frmTarotNumerologyMain"),
        QStringLiteral("frmTarotNumerologyResult"),    QStringLiteral("frmTarotNumerologySave"),
        QStringLiteral("frmNumerologyProResult"),      QStringLiteral("frmNumerologyProDisp"),
        QStringLiteral("frmNumerologyProsave"),        QStringLiteral("frmTarotNumerologyResult"),
        QStringLiteral("frmDailyNumerologyDisplay"),   QStringLiteral("frmDailyNumerologyMain"),
        QStringLiteral("frmRunesNumerologyMain"),      QStringLiteral("frmTantricNumerologyMain"),
        QStringLiteral("frmTranticNumerologyDisplay"), QStringLiteral("frmDailyNumerologyDisplay"),
        QStringLiteral("frmTranticNumerologyDisplay"),
    };
    return sequence;
}

void MainWindow::runClosingSequence()
{
    m_closingPrograms = true;
    for (const QString &name : closingSequence()) {
        for (QMdiSubWindow *window : m_area->subWindowList()) {
            auto *program = qobject_cast<ProgramWindow *>(window);
            if (window->objectName() == name && (!program || program->isOpen())) {
                window->close();
                break;
            }
        }
    }
    m_closingPrograms = false;
}

void MainWindow::launch(int program)
{
    if (program < 0 || program >= kProgramCount || !m_launchers[program])
        return;
    runClosingSequence();
    if (m_prepare)
        m_prepare();
    setWelcomeVisible(false);
    m_launchers[program]();
}

void MainWindow::setWelcomeVisible(bool visible)
{
    m_welcome->setVisible(visible);
}

void MainWindow::captionClicked(int index)
{
    if (index >= kFirstProgramCaption)
        launch(index - kFirstProgramCaption);
    else
        runClosingSequence();
}

void MainWindow::captionHovered(int index)
{
    if (index < kFirstProgramCaption || !m_captions[index]->isReacting())
        return;
    QFont font = m_captions[index]->font();
    font.setUnderline(true);
    m_captions[index]->setFont(font);
}

void MainWindow::clearCaptionUnderlines()
{
    for (LinkLabel *label : m_captions) {
        QFont font = label->font();
        if (font.underline()) {
            font.setUnderline(false);
            label->setFont(font);
        }
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (AboutBox *about = AboutBox::current())
        about->close();
    m_closingPrograms = true;
    event->accept();
}
