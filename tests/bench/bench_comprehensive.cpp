// Times the comprehensive reading from the click to the laid-out, painted
// document, on the real windows (offscreen).  Prints the figures; it is a
// measurement, not a test.
#include "app/programs.h"
#include "shell/mainwindow.h"
#include "support/testservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    TestServices test;
    MainWindow main(test.services());
    installPrograms(main);
    main.resize(1280, 800);
    main.show();
    QApplication::processEvents();

    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        main.launch(kestrava::ProgramId::NumerologyPro);
        find<QLineEdit>(main, "frmNumerologyProMain", "txtFirstName")->setText(QStringLiteral("MARY"));
        find<QLineEdit>(main, "frmNumerologyProMain", "txtMiddleName")->setText(QStringLiteral("ANN"));
        find<QLineEdit>(main, "frmNumerologyProMain", "txtLastName")->setText(QStringLiteral("SMITH"));
        find<QPushButton>(main, "frmNumerologyProMain", "cmdNext")->click();
        QApplication::processEvents();
        QPushButton *comprehensive = find<QPushButton>(main, "frmNumerologyProResult", "cmdComprehensiveReading");

        QElapsedTimer timer;
        timer.start();
        comprehensive->click();
        QTextEdit *view = find<QTextEdit>(main, "frmNumerologyProsave", "RTB");
        view->repaint(); // lays the document out and paints it now
        QApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    QTextStream(stdout) << "comprehensive reading, click to painted document, " << rounds << " rounds: median "
                        << times[times.size() / 2] << " ms, fastest " << times.front() << " ms, slowest "
                        << times.back() << " ms\n";
    return 0;
}
