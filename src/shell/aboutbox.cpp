#include "shell/aboutbox.h"

#include "common/brand.h"
#include "common/siteaddress.h"
#include "platform/weblinks.h"
#include "shell/artwork.h"
#include "widgets/brandlabels.h"
#include "widgets/fonts.h"
#include "widgets/linklabel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPointer<AboutBox> g_openBox;

QString aboutText()
{
    using kestrava::ProgramId;
    using kestrava::programName;
    return QObject::tr("%1 consists of Numerology Reading, %2, %3, %4, %5 and %6. Numbers relate to a pattern of "
                       "energies and vibrations. The bad, good and the information about previous birth and the "
                       "effects of previous in present birth and every trait of a human being can be "
                       "highlighted. This software aims to help you understand more about the vibrations of "
                       "numbers and their effects on your life.")
        .arg(kestrava::productName(), programName(ProgramId::Astrology), programName(ProgramId::Tantric),
             programName(ProgramId::Tarot), programName(ProgramId::Daily), programName(ProgramId::Runes));
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kestrava::productTitle());
    setAttribute(Qt::WA_DeleteOnClose);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("picLogo"));
    logo->setPixmap(kestrava::productLogo(112));
    logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(kestrava::productTitle(), this);
    title->setObjectName(QStringLiteral("Label2"));
    title->setFont(kestrava::verdana(14, true));

    auto *about = new QLabel(aboutText(), this);
    about->setObjectName(QStringLiteral("Label1"));
    about->setWordWrap(true);

    auto *business = new QLabel(brand::businessOpportunity(), this);
    business->setObjectName(QStringLiteral("Label3"));
    business->setWordWrap(true);
    auto *details = new LinkLabel(brand::moreDetails(), this);
    details->setObjectName(QStringLiteral("lblCoBrand"));
    details->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    connect(details, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kFullyBranded); });

    auto *home = new LinkLabel(tr("Click here to visit ") + kestrava::siteAddress(), this);
    home->setObjectName(QStringLiteral("lblHomePage"));
    home->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    connect(home, &LinkLabel::clicked, this, [] { kestrava::openWebPage(kestrava::page::kHome); });

    auto *ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addSpacing(6);
    text->addWidget(about);
    text->addSpacing(6);
    text->addWidget(business);
    text->addWidget(details, 0, Qt::AlignLeft);
    text->addSpacing(6);
    text->addWidget(home, 0, Qt::AlignLeft);
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // Wrapped labels get the height their text needs at a fixed text width.
    constexpr int kTextWidth = 420;
    for (QLabel *label : {about, business}) {
        label->setFixedWidth(kTextWidth);
        label->setMinimumHeight(label->heightForWidth(kTextWidth));
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

AboutBox *AboutBox::current()
{
    return g_openBox.data();
}

void AboutBox::showFor(QWidget *owner, bool modal)
{
    if (g_openBox) {
        g_openBox->raise();
        g_openBox->activateWindow();
        return;
    }
    QWidget *top = owner ? owner->window() : nullptr;
    auto *box = new AboutBox(top);
    g_openBox = box;
    box->adjustSize();
    if (const QScreen *screen = box->screen()) {
        const QRect area = screen->availableGeometry();
        box->move(area.center() - QPoint(box->width() / 2, box->height() / 2));
    }
    if (modal) {
        box->exec();
    } else {
        box->setModal(false);
        box->show();
    }
}
