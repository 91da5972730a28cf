// Times the client book window over a book of many clients: from the Client
// Book... action to the window's first paint with its list filled, and each
// keystroke in its search field to the list painted with the results, on the
// real windows (offscreen unless a display is named).  Prints the figures; it
// is a measurement, not a test.
//   kestrava_bench_clientbookwindow [rounds] [clients]
#include "app/programs.h"
#include "shell/mainwindow.h"
#include "support/generatedclients.h"
#include "support/testservices.h"
#include "widgets/clientlistmodel.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

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

// Notes each paint of the client list (lstClients' viewport), wherever the
// window comes from: it does not exist yet when the action is triggered.
class ListPaints : public QObject
{
public:
    int count = 0;
    int rowsAtLast = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->parent()
            && watched->parent()->objectName() == QLatin1String("lstClients")) {
            const auto *view = static_cast<QAbstractItemView *>(watched->parent());
            ++count;
            rowsAtLast = view->model()->rowCount();
        }
        return false;
    }
};

// Runs the event loop until the list has painted again (the paint is over
// when processEvents returns) and the condition holds; false after 10 s.
template <typename Done>
bool untilPainted(ListPaints &paints, int paintsBefore, Done done)
{
    QElapsedTimer limit;
    limit.start();
    while (!(paints.count > paintsBefore && done())) {
        if (limit.elapsed() > 10000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int clientCount = argc > 2 ? std::max(1, atoi(argv[2])) : 100000;
    QTextStream out(stdout);

    TestServices test;
    const QString path = test.dir.filePath(QStringLiteral("clients.sqlite"));
    {
        QRandomGenerator random(20240307);
        clients::ClientBook book(path);
        const auto added = book.addMany(generated::people(clientCount, random), QDateTime::currentDateTimeUtc());
        if (!added) {
            out << added.failure().reason << "\n";
            return 1;
        }
    }
    qputenv("KESTRAVA_CLIENTS", path.toLocal8Bit());

    ListPaints paints;
    app.installEventFilter(&paints);

    // The texts of the library's benchmark, typed one key at a time.
    const QStringList typed{QStringLiteral("mary smith"), QStringLiteral("jose alvarez"), QStringLiteral("1979-08-06"),
                            QStringLiteral("ander"),      QStringLiteral("oneill zoe"),   QStringLiteral("-4711"),
                            QStringLiteral("xyz")};
    Figures opening;
    Figures keystrokes;
    Figures handling;
    Figures clearing;
    Figures firstKeys; // the first keystroke after the window opened
    QList<double> slowestOf(typed.size(), 0.0);
    QStringList slowestAt(typed.size());
    QList<int> foundBy(typed.size(), 0);
    for (int round = 0; round < rounds; ++round) {
        // A new main window each round, so each opening also opens the book
        // file, as the first opening in a session does.
        MainWindow main(test.services());
        installPrograms(main);
        main.resize(1280, 800);
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            return 1;
        QApplication::processEvents();
        QAction *item = main.findChild<QAction *>(QStringLiteral("mnuClientBook"));

        QElapsedTimer timer;
        int before = paints.count;
        timer.start();
        item->trigger();
        if (!untilPainted(paints, before, [&paints] { return paints.rowsAtLast > 0; })) {
            out << "the client book window did not paint its list\n";
            return 1;
        }
        opening.add(timer);
        // A person looks at the window before typing: the window's work
        // after its first paint is done by then.
        QTest::qWait(200);

        auto *search = main.findChild<QLineEdit *>(QStringLiteral("txtSearch"));
        auto *list = main.findChild<QTableView *>(QStringLiteral("lstClients"));
        auto *model = qobject_cast<ClientListModel *>(list->model());
        for (qsizetype t = 0; t < typed.size(); ++t) {
            for (const QChar key : typed[t]) {
                before = paints.count;
                timer.restart();
                QTest::keyClick(search, key.toLatin1());
                handling.add(timer);
                const bool shown = untilPainted(paints, before,
                                                [&] { return model->search() == search->text().trimmed(); });
                if (!shown) {
                    out << "the list did not show the results of \"" << search->text() << "\"\n";
                    return 1;
                }
                keystrokes.add(timer);
                if (t == 0 && key == typed[t].front())
                    firstKeys.add(timer);
                if (keystrokes.times.back() > slowestOf[t]) {
                    slowestOf[t] = keystrokes.times.back();
                    slowestAt[t] = search->text();
                }
            }
            foundBy[t] = model->rowCount();
            // Back to the whole book: select all, Backspace.
            QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
            before = paints.count;
            timer.restart();
            QTest::keyClick(search, Qt::Key_Backspace);
            if (!untilPainted(paints, before, [&] { return model->search().isEmpty() && search->text().isEmpty(); })) {
                out << "the list did not show the whole book again\n";
                return 1;
            }
            clearing.add(timer);
        }
    }

    out << "client book window, " << clientCount << " clients, " << rounds << " rounds\n";
    out << "  Client Book... to the first paint of the filled list: " << opening.summary() << "\n";
    for (qsizetype t = 0; t < typed.size(); ++t)
        out << "  typing \"" << typed[t] << "\": slowest keystroke " << QString::number(slowestOf[t], 'f', 1)
            << " ms (at \"" << slowestAt[t] << "\"), " << foundBy[t] << " shown at the end\n";
    const qsizetype count = keystrokes.times.size();
    const auto late =
        std::count_if(keystrokes.times.begin(), keystrokes.times.end(), [](double ms) { return ms >= 50; });
    out << "  search, " << count << " keystrokes, to the list painted with the results: " << keystrokes.summary()
        << "; " << late << " took 50 ms or more\n";
    out << "    the first keystroke after the window opened (typed 200 ms after its first paint): "
        << firstKeys.summary() << "\n";
    out << "    of which the key alone (the search and the window's reply, before painting): " << handling.summary()
        << "\n";
    out << "  clearing the search, " << clearing.times.size() << " times, to the whole book painted: "
        << clearing.summary() << "\n";
    return 0;
}
