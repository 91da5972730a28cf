#include "platform/weblinks.h"

#include "common/siteaddress.h"

#include <QDesktopServices>
#include <QUrl>

namespace kestrava {

void openWebPage(QStringView key)
{
    QDesktopServices::openUrl(QUrl(webPageAddress(key)));
}

bool openReadingLink(const QString &linkText)
{
    QString text = linkText.trimmed();
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        text.prepend(QLatin1String("https://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https" && scheme != u"mailto"))
        return false;
    if (scheme != u"mailto" && url.host().isEmpty())
        return false;
    QDesktopServices::openUrl(url);
    return true;
}

} // namespace kestrava
