#include "platform/settingsstore.h"

#include "common/brand.h"

#include <QCoreApplication>
#include <QSettings>

namespace platform {

namespace {

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                     QCoreApplication::applicationName());
}

QString sectionKey(const QString &key)
{
    return QStringLiteral("Settings/") + key;
}

} // namespace

QString readSetting(const QString &key)
{
    return store().value(sectionKey(key)).toString();
}

void writeSetting(const QString &key, const QString &value)
{
    QSettings settings = store();
    settings.setValue(sectionKey(key), value);
}

} // namespace platform
