#pragma once

#include <QString>
#include <QStringView>

// The maker's web site, fixed when the suite is built (KESTRAVA_SITE_ADDRESS).
namespace kestrava {

inline QString siteAddress()
{
    return QStringLiteral(KESTRAVA_SITE_ADDRESS);
}

// The maker's online discussion forum.
inline QString forumAddress()
{
    return siteAddress() + QStringLiteral("/forum");
}

// The address of one page of the site: site + "/kestrava/ssd.php?page=" + key.
inline QString webPageAddress(QStringView key)
{
    return siteAddress() + QStringLiteral("/kestrava/ssd.php?page=") + key.toString();
}

} // namespace kestrava
