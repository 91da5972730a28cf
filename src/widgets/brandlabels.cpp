#include "widgets/brandlabels.h"

#include "common/siteaddress.h"
#include "platform/weblinks.h"
#include "widgets/linklabel.h"

#include <QFrame>
#include <QGridLayout>
#include <QUrl>

namespace brand {

QString forumInvitation()
{
    return QObject::tr("Join our free mystic forum and talk numbers with fellow seekers: %1").arg(kestrava::forumAddress());
}

QString businessOpportunity()
{
    return QObject::tr("Home Business Opportunity. Start your own Internet business and make money online. "
                       "Get this software fully branded for your website. ");
}

QString moreDetails()
{
    return QObject::tr("Click here for more details.");
}

QString fullyBrandedText()
{
    return businessOpportunity() + moreDetails();
}

QString coBrandNotice()
{
    return QObject::tr("Co-brand this software for your site. Put your own name and web address on every "
                       "reading it prints. Click here to learn how.");
}

QString advertisingNote()
{
    QString host = QUrl(kestrava::siteAddress()).host();
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    return QObject::tr("Display Your Ad Here Permanently. Contact ") + QStringLiteral("advertise@") + host;
}

LinkLabel *makeForumLabel(const QString &name, bool reacting, QWidget *parent)
{
    // The address never breaks inside itself when the line wraps: word
    // joiners (U+2060) stand between its characters.
    QStringList characters;
    for (const QChar c : kestrava::forumAddress())
        characters << QString(c).toHtmlEscaped();
    const QString html = QObject::tr("Join our free mystic forum and talk numbers with fellow seekers: %1")
                             .toHtmlEscaped()
                             .arg(characters.join(QStringLiteral("&#x2060;")));
    auto *label = new LinkLabel(html, parent);
    label->setTextFormat(Qt::RichText);
    label->setAccessibleName(forumInvitation());
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setReacting(reacting);
    if (reacting) {
        label->setStyleSheet(QStringLiteral("color: #0000c0;"));
        QObject::connect(label, &LinkLabel::clicked, label, [] { kestrava::openWebPage(kestrava::page::kHome); });
    } else {
        label->setStyleSheet(QStringLiteral("color: #404040;"));
    }
    return label;
}

QWidget *makeFullBrandFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("fraFullBrand"));
    frame->setFrameShape(QFrame::StyledPanel);

    auto *coBrand = new LinkLabel(coBrandNotice(), frame);
    coBrand->setObjectName(QStringLiteral("lblCobrand"));
    coBrand->setWordWrap(true);
    // Covered by the full-brand label: out of the Tab order too.
    coBrand->setFocusPolicy(Qt::NoFocus);
    QObject::connect(coBrand, &LinkLabel::clicked, coBrand, [] { kestrava::openWebPage(kestrava::page::kCoBrand); });

    auto *fullBrand = new LinkLabel(fullyBrandedText(), frame);
    fullBrand->setObjectName(QStringLiteral("lblFullBrand"));
    fullBrand->setWordWrap(true);
    fullBrand->setAutoFillBackground(true);
    fullBrand->setStyleSheet(QStringLiteral("color: #800000;"));
    QObject::connect(fullBrand, &LinkLabel::clicked, fullBrand,
                     [] { kestrava::openWebPage(kestrava::page::kFullyBranded); });

    // Both labels share one cell; the full-brand label is on top and covers the other.
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(coBrand, 0, 0);
    layout->addWidget(fullBrand, 0, 0);
    fullBrand->raise();
    return frame;
}

} // namespace brand
