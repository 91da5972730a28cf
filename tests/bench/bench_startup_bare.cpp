// The yardstick for the suite's start-up: a bare Qt main window with a
// document area, shown maximised, reporting and ending right after its first
// paint as the suite does under KESTRAVA_QUIT_WHEN_SHOWN=1 (scripts/bench startup
// compares the two).
#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Reported once the first paint is done, at the same point as the
        // suite: the turn of the event loop after the first paint event.
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, [] {
                const qint64 t0 = qEnvironmentVariable("KESTRAVA_BENCH_T0").toLongLong();
                if (t0 > 0)
                    std::printf("%lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch() - t0 / 1000000));
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    auto *area = new QMdiArea(&window);
    window.setCentralWidget(area);
    QuitOnFirstPaint quit;
    window.installEventFilter(&quit);
    area->viewport()->installEventFilter(&quit);
    // The same size as the suite's window, which fills the screen even where
    // no window manager maximises it (as on the benchmark's bare display).
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}
