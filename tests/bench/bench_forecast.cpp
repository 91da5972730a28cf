// Times the forecast: a daily forecast over a hundred years (compute only, and
// with a JSON line written for each day), and the Life Timeline window from
// the click to its first paint, on the real windows (offscreen unless a
// display is named).  Prints the figures; it is a measurement, not a test.
#include "app/programs.h"
#include "numpro/forecast/forecast.h"
#include "shell/mainwindow.h"
#include "support/testservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

template <typename T>
T *find(const MainWindow &main, const char *window, const char *control)
{
    for (QWidget *w : main.findChildren<QWidget *>(QString::fromLatin1(window))) {
        if (w->isVisible())
            return w->findChild<T *>(QString::fromLatin1(control));
    }
    return nullptr;
}

struct Figures
{
    std::vector<double> times;
    void add(const QElapsedTimer &timer) { times.push_back(double(timer.nsecsElapsed()) / 1e6); }
    QString summary()
    {
        std::sort(times.begin(), times.end());
        return QStringLiteral("median %1 ms, fastest %2 ms, slowest %3 ms")
            .arg(times[times.size() / 2], 0, 'f', 1)
            .arg(times.front(), 0, 'f', 1)
            .arg(times.back(), 0, 'f', 1);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTextStream out(stdout);

    // 2000-01-01 to 2099-12-31: 36,525 days.
    const numpro::ReadingInputs subject{QStringLiteral("MARY"), QStringLiteral("ANN"), QStringLiteral("SMITH"),
                                        QStringLiteral("August"), QStringLiteral("6"), QStringLiteral("1979"), {}};
    const QDate from(2000, 1, 1);
    const QDate to(2099, 12, 31);
    Figures compute;
    Figures lines;
    qsizetype points = 0;
    qsizetype bytes = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const numpro::Forecaster forecaster(subject);
        points = forecaster.days(from, to).size();
        compute.add(timer);

        timer.restart();
        const numpro::Forecaster again(subject);
        bytes = 0;
        again.forEachDay(from, to, [&bytes](const numpro::ForecastPoint &point) {
            bytes += numpro::forecastJson(point).size() + 1;
        });
        lines.add(timer);
    }
    out << "daily forecast, " << points << " days, " << rounds << " rounds: " << compute.summary() << "\n";
    out << "the same with a JSON line per day (" << bytes << " bytes): " << lines.summary() << "\n";

    TestServices test;
    MainWindow main(test.services());
    installPrograms(main);
    main.resize(1280, 800);
    main.show();
    QApplication::processEvents();

    Figures timeline;
    for (int round = 0; round < rounds; ++round) {
        main.launch(kestrava::ProgramId::NumerologyPro);
        find<QLineEdit>(main, "frmNumerologyProMain", "txtFirstName")->setText(QStringLiteral("MARY"));
        find<QLineEdit>(main, "frmNumerologyProMain", "txtMiddleName")->setText(QStringLiteral("ANN"));
        find<QLineEdit>(main, "frmNumerologyProMain", "txtLastName")->setText(QStringLiteral("SMITH"));
        find<QPushButton>(main, "frmNumerologyProMain", "cmdNext")->click();
        QApplication::processEvents();
        QPushButton *button = find<QPushButton>(main, "frmNumerologyProResult", "cmdLifeTimeline");

        QElapsedTimer timer;
        timer.start();
        button->click();
        QWidget *picture = find<QWidget>(main, "frmLifeTimeline", "picTimeline");
        picture->window()->repaint(); // lays the window out and paints it now
        QApplication::processEvents();
        timeline.add(timer);
    }
    out << "Life Timeline window, click to painted window, " << rounds << " rounds: " << timeline.summary() << "\n";
    return 0;
}
