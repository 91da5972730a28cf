#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An X server of the test's own, on a display number it picks itself.
class XServer
{
public:
    XServer()
    {
        m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        if (m_server.waitForStarted(5000) && m_server.waitForReadyRead(10000))
            m_display = ":" + QString::fromLatin1(m_server.readLine()).trimmed();
    }
    ~XServer()
    {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

} // namespace

// Window titles are exactly the captions, as the window system sees them:
// nothing like " — Kestrava" is appended.
TEST(WindowTitles, TheWindowSystemSeesTheExactCaptions)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    XServer server;
    ASSERT_FALSE(server.display().isEmpty());

    QTemporaryDir home;
    QDir(home.path()).mkpath("runtime");
    QDir(home.path()).mkpath("config");
    QFile::setPermissions(home.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", server.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("KESTRAVA_UNATTENDED", "1");
    env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));

    QProcess suite;
    suite.setProcessEnvironment(env);
    suite.start(KESTRAVA_EXECUTABLE, QStringList());
    ASSERT_TRUE(suite.waitForStarted(5000));

    auto xdotool = [&](const QStringList &arguments) {
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start("xdotool", arguments);
        tool.waitForFinished(20000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    };
    auto titles = [&] {
        QStringList names;
        for (const QString &id : xdotool({"search", "--name", "."}).split('\n', Qt::SkipEmptyParts))
            names << xdotool({"getwindowname", id});
        return names;
    };

    const QString mainWindow = xdotool({"search", "--sync", "--limit", "1", "--name", "^Kestrava v1\\.25$"});
    ASSERT_FALSE(mainWindow.isEmpty()) << titles().join(" | ").toStdString();

    // Help > About Software: the About box is a window of its own.
    QStringList names;
    for (int attempt = 0; attempt < 20 && names.count("Kestrava v1.25") < 2; ++attempt) {
        xdotool({"mousemove", "--window", mainWindow, "5", "5", "click", "1"});
        xdotool({"key", "alt+h"});
        QTest::qWait(200);
        xdotool({"key", "a"});
        QTest::qWait(300);
        names = titles();
    }
    EXPECT_EQ(names.count("Kestrava v1.25"), 2) << names.join(" | ").toStdString();
    for (const QString &name : names)
        EXPECT_FALSE(name.contains(u'\u2014') || name.endsWith(" - kestrava")) << name.toStdString();

    suite.kill();
    suite.waitForFinished(5000);
}
