// The yardstick for the suite's start-up: a bare Qt main window with a
// document area, shown maximised, ending at its first paint as the suite does
// under KESTRAVA_QUIT_WHEN_SHOWN=1 (scripts/bench startup compares the two).
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

namespace {

class QuitOnFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
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
