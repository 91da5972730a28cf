#pragma once

#include <QString>
#include <QStringView>

// Pages of the maker's web site, opened in the user's browser.
namespace kestrava {

namespace page {
inline constexpr QStringView kHome = u"home-page";
inline constexpr QStringView kHelp = u"help-web-page";
inline constexpr QStringView kDownload = u"download-web-page";
inline constexpr QStringView kFullyBranded = u"fully-branded";
inline constexpr QStringView kCoBrand = u"co-brand";
} // namespace page

// Opens the site page with the given key in the default browser.  A failure
// is not reported: the user simply sees no browser.
void openWebPage(QStringView key);

// Opens a link found in a reading.  Only web and mail addresses are handed to
// the system (http, https, mailto; text starting "www." opens as https);
// returns false, doing nothing, for anything else.
bool openReadingLink(const QString &linkText);

} // namespace kestrava
