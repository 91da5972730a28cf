#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Window tests run on the offscreen platform with a private runtime and
// configuration folder, so they neither need a display nor touch the user's
// settings.  gtest_discover_tests runs this binary at build time too, which is
// why it is set here and not only in CTest's environment.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    QDir(home.path()).mkpath("runtime");
    QDir(home.path()).mkpath("config");
    QDir(home.path()).mkpath("cache");
    QDir(home.path()).mkpath("data");
    QFile::setPermissions(home.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    // The client book's default place.
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
