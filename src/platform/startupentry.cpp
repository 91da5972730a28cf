#include "platform/startupentry.h"

#include "common/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

// An Exec argument quoted as the desktop entry format asks: in double
// quotes, with ", `, $ and \ escaped by a backslash.
QString quotedArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // Inside a desktop file a backslash is escaped once more, and a per cent
    // sign would start a field code.
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

QString failure(int code, const char *what, const QString &description)
{
    return QStringLiteral("Error %1 %2\r\n%3").arg(code).arg(QLatin1String(what), description);
}

} // namespace

QString startupEntryPath(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + name + QStringLiteral(".desktop");
}

bool hasStartupEntry(const QString &name)
{
    QFile file(startupEntryPath(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // An entry switched off by the desktop's own settings stays on disk with
    // Hidden=true.  A start-up file is small; a foreign one is read no further.
    bool inEntry = false;
    for (int lines = 0; lines < 200 && !file.atEnd(); ++lines) {
        QByteArray line = file.readLine(4096).trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.replace(' ', "") == "Hidden=true")
            return false;
    }
    return true;
}

kestrava::MaybeFailure setStartupEntry(const QString &name, const QString &program, bool on)
{
    const QString path = startupEntryPath(name);
    if (!on) {
        QFile file(path);
        if (file.exists() && !file.remove())
            return kestrava::Failure{failure(int(file.error()), "setting key", file.errorString())};
        return std::nullopt;
    }

    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        const int code = errno;
        return kestrava::Failure{failure(code, "opening key", QString::fromLocal8Bit(std::strerror(code)))};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kestrava::Failure{failure(int(file.error()), "opening key", file.errorString())};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Comment=Brings up the number of the day at the time you chose\n"
                                         "Exec=%2 %3\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(name, quotedArgument(program), QLatin1String(kStartupSwitch));
    if (const auto refused = kestrava::writeAndCommit(file, entry.toUtf8()))
        return kestrava::Failure{failure(int(refused->error), "setting key", refused->reason)};
    return std::nullopt;
}

} // namespace platform
