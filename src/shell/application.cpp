#include "shell/application.h"

#include "platform/services.h"
#include "platform/singleinstance.h"
#include "shell/artwork.h"
#include "shell/mainwindow.h"
#include "shell/updatereminderrun.h"

#include <QApplication>
#include <QScreen>
#include <QTextStream>

namespace {

// For scripted runs (KESTRAVA_UNATTENDED=1): message boxes are written to
// standard error and answered OK / No without waiting for a person.
class UnattendedMessageBoxes final : public platform::MessageBoxes
{
public:
    void inform(QWidget *, platform::Icon, const QString &text) override
    {
        QTextStream(stderr) << "Kestrava: " << text << '\n';
    }
    bool ask(QWidget *parent, platform::Icon icon, const QString &text) override
    {
        inform(parent, icon, text);
        return false;
    }
};

} // namespace

int runKestrava(int argc, char **argv, const std::function<void(MainWindow &)> &installPrograms)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(kestrava::windowIcon());

    platform::RealServices real;
    platform::Services services = real.services();
    UnattendedMessageBoxes unattended;
    if (qEnvironmentVariableIntValue("KESTRAVA_UNATTENDED") == 1)
        services.messages = &unattended;

    platform::SingleInstance instance;
    if (!instance.acquire()) {
        services.messages->inform(nullptr, platform::Icon::Information,
                                  QObject::tr("Application is already running"));
        return 0;
    }

    runUpdateReminder(services, nullptr);

    MainWindow window(services);
    installPrograms(window);
    // Fill the screen even where no window manager maximises for us.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}
