#pragma once

#include <QString>

class LinkLabel;
class QWidget;

// The promotional and forum labels that several windows carry, with their
// texts and the site pages they open.
namespace brand {

QString forumInvitation();
// "Home Business Opportunity. ... fully branded for your website. " and the
// same followed by "Click here for more details.".
QString businessOpportunity();
QString moreDetails();
QString fullyBrandedText();
QString coBrandNotice();
QString advertisingNote();

// The forum invitation (Label61, Label8, ...).  A reacting label opens the
// home page; the reading views' labels only inform.
LinkLabel *makeForumLabel(const QString &name, bool reacting, QWidget *parent);

// The frame fraFullBrand: lblFullBrand lying over lblCobrand, which it covers.
QWidget *makeFullBrandFrame(QWidget *parent);

} // namespace brand
