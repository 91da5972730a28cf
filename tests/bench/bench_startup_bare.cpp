// The yardstick for the suite's start-up: a bare Qt main window with a
// document area, shown maximised, reporting and ending at its first paint as
// the suite does under KESTRAVA_QUIT_WHEN_SHOWN=1 (scripts/bench startup
// compares the two).
#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

#include <cstdio>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            const qint64 t0 = qEnvironmentVariable("KESTRAVA_BENCH_T0").toLongLong();
            if (t0 > 0)
                std::printf("%lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch() - t0 / 1000000));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
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
    window.showMaximized();
    return app.exec();
}
