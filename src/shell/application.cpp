#include "shell/application.h"

#include "platform/services.h"
#include "platform/singleinstance.h"
#include "platform/startupentry.h"
#include "shell/artwork.h"
#include "shell/filereception.h"
#include "shell/mainwindow.h"
#include "shell/program.h"
#include "shell/suitestyle.h"
#include "shell/updatereminderrun.h"
#include "widgets/afterfirstpaint.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <thread>
#include <utility>

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

// Ends the application when the main window is closed without ever having
// come into view (started at log-in into the notification area and ended
// from there): the application ends by itself only when a window in view
// closes.  The main window always accepts its close.
class EndWhenClosedUnseen final : public QObject
{
public:
    explicit EndWhenClosedUnseen(QWidget &window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && !static_cast<QWidget *>(watched)->isVisible())
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};

// For scripts/bench startup: the time from the launch (its wall-clock time
// in nanoseconds, KESTRAVA_BENCH_T0) to the first paint, on standard output.
void reportFirstPaint()
{
    const qint64 t0 = qEnvironmentVariable("KESTRAVA_BENCH_T0").toLongLong();
    if (t0 > 0) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        QTextStream(stdout) << (now - t0 / 1000000) << '\n';
    }
}

} // namespace

QStringList commandLineFiles(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument.compare(QLatin1String(platform::kStartupSwitch), Qt::CaseInsensitive) != 0)
            files << QFileInfo(argument).absoluteFilePath();
    }
    return files;
}

bool startedAtLogon(const QStringList &arguments)
{
    return arguments.contains(QLatin1String(platform::kStartupSwitch), Qt::CaseInsensitive);
}

void showMainWindow(MainWindow &window, const QList<Program *> &programs, bool atLogon)
{
    Program::LogonStart start = Program::LogonStart::AsUsual;
    if (atLogon) {
        for (Program *program : programs) {
            const Program::LogonStart asked = program->startAtLogon();
            if (start == Program::LogonStart::AsUsual)
                start = asked;
        }
    }
    switch (start) {
    case Program::LogonStart::AsUsual:
        window.showMaximized();
        break;
    case Program::LogonStart::Hidden:
        // Maximised once the program brings it up.
        window.setWindowState(Qt::WindowMaximized);
        break;
    case Program::LogonStart::Minimised:
        window.setWindowState(Qt::WindowMaximized);
        window.showMinimized();
        break;
    }
}

int runKestrava(int argc, char **argv, const std::function<QList<Program *>(MainWindow &)> &installPrograms)
{
    // Fontconfig reads its configuration and font caches once, a few
    // milliseconds that the first text waits for: a second thread does it
    // while the application connects to the display.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setStyle(new SuiteStyle);

    platform::RealServices real;
    platform::Services services = real.services();
    UnattendedMessageBoxes unattended;
    if (qEnvironmentVariableIntValue("KESTRAVA_UNATTENDED") == 1)
        services.messages = &unattended;

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QStringList files = commandLineFiles(arguments);

    platform::SingleInstance instance;
    if (!instance.acquire()) {
        // A file goes to the copy that runs; without one there is nothing to do.
        if (files.isEmpty() || !instance.handOver(files)) {
            services.messages->inform(nullptr, platform::Icon::Information,
                                      QObject::tr("Application is already running"));
        }
        return 0;
    }
    FileReception reception(instance, files);
    runUpdateReminder(services, nullptr);

    MainWindow window(services);
    const QList<Program *> programs = installPrograms(window);
    // Fill the screen even where no window manager maximises for us.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    // The icon is drawn in six sizes; the window shows first and wears it a
    // moment later.  (scripts/bench startup ends the run there instead.)
    const bool benchmark = qEnvironmentVariableIntValue("KESTRAVA_QUIT_WHEN_SHOWN") == 1;
    new AfterFirstPaint(&window, [benchmark, &window] {
        if (benchmark) {
            reportFirstPaint();
            QCoreApplication::quit();
            return;
        }
        QApplication::setWindowIcon(kestrava::windowIcon());
        // Windows inside the document area are told of a new icon only when
        // their own changes: those opened before this moment (a file given
        // at start) would keep drawing the default one.
        for (QMdiSubWindow *sub : window.findChildren<QMdiSubWindow *>()) {
            QEvent change(QEvent::WindowIconChange);
            QCoreApplication::sendEvent(sub, &change);
        }
    });
    new EndWhenClosedUnseen(window);
    showMainWindow(window, programs, startedAtLogon(arguments));
    reception.openIn(window);
    return app.exec();
}
