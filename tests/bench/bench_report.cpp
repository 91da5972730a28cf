// The practitioner's report with every section: composing it, laying it out
// on pages and writing its PDF, and writing its web page; then the report
// window, whose event loop must keep turning while its preview follows a
// change.  Prints the median and the slowest of each over the rounds; with
// a folder, also leaves the last round's report.pdf and report.html there to
// look at.
//   kestrava_bench_report [rounds] [folder]
#include "app/programs.h"
#include "report/reportcontent.h"
#include "report/reporthtml.h"
#include "report/reportlayout.h"
#include "report/ui/reportwindow.h"
#include "shell/mainwindow.h"
#include "support/testservices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Timings
{
    std::vector<double> compose, layout, pdf, html, whole;
};

void print(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.1f ms   slowest %7.1f ms\n", what, ms[ms.size() / 2], ms.back());
}

// The longest time the window thread's event loop went without turning: a
// timer asks every 5 ms, and each gap beyond that is time the loop was held.
class LoopWatch
{
public:
    LoopWatch()
    {
        m_ticks.setInterval(5);
        QObject::connect(&m_ticks, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceTick.nsecsElapsed() / 1e6);
            m_sinceTick.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_sinceTick.start();
        m_ticks.start();
    }
    // The longest gap between two turns of the loop, in milliseconds.
    double stop()
    {
        m_ticks.stop();
        return std::max(m_longest, m_sinceTick.nsecsElapsed() / 1e6);
    }

private:
    QTimer m_ticks;
    QElapsedTimer m_sinceTick;
    double m_longest = 0;
};

// The report window with every section ticked: after each change (a letter
// typed into the last name, or taken out again) until the preview shows the
// new pages, the longest stall of the event loop and the time to the pages.
int benchWindow(int rounds)
{
    TestServices test;
    MainWindow main(test.services());
    installPrograms(main);
    main.resize(1400, 900);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    main.findChild<QAction *>(u"mnuNewReport"_s)->trigger();
    auto *window = main.findChild<ReportWindow *>(u"frmReport"_s);
    if (!window) {
        std::fprintf(stderr, "the report window did not open\n");
        return 1;
    }
    const auto field = [window](const char *name) { return window->findChild<QLineEdit *>(QLatin1String(name)); };
    for (const report::SectionKind kind : report::kSectionKinds)
        window->findChild<QCheckBox *>(u"chkSection_"_s + report::sectionKey(kind))->setChecked(true);
    field("txtFirstName")->setText(u"MARY"_s);
    field("txtMiddleName")->setText(u"ANN"_s);
    field("txtLastName")->setText(u"SMITH"_s);
    field("txtPartnerFirstName")->setText(u"JOHN"_s);
    field("txtPartnerLastName")->setText(u"DOE"_s);
    const auto caughtUp = [window] {
        return QTest::qWaitFor([window] { return window->isPreviewCurrent(); }, 20000);
    };
    if (!caughtUp()) {
        std::fprintf(stderr, "the preview did not follow the fields\n");
        return 1;
    }

    LoopWatch watch;
    std::vector<double> stalls, shown;
    for (int round = 0; round < rounds; ++round) {
        watch.start();
        QElapsedTimer timer;
        timer.start();
        if (round % 2 == 0)
            QTest::keyClick(field("txtLastName"), Qt::Key_S);
        else
            QTest::keyClick(field("txtLastName"), Qt::Key_Backspace);
        if (!caughtUp()) {
            std::fprintf(stderr, "the preview did not follow the change\n");
            return 1;
        }
        shown.push_back(timer.nsecsElapsed() / 1e6);
        // The pages are painted on the screen, not only handed over.
        QTest::qWait(20);
        stalls.push_back(watch.stop());
    }
    std::printf("report window, every section, %d pages, %d changes:\n", window->layout()->pageCount(), rounds);
    print("  longest stall of the event loop", stalls);
    print("  change to the new pages shown", shown);
    std::printf("  (the pages follow %d ms after the last change: the pause the preview waits for typing)\n",
                ReportWindow::kPreviewDelayMs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    report::ReportRequest request;
    request.person = {u"MARY"_s, u"ANN"_s, u"SMITH"_s, QDate(1979, 8, 6), {}};
    request.today = QDate::currentDate();
    request.sections = QList<report::SectionKind>(std::begin(report::kSectionKinds), std::end(report::kSectionKinds));
    request.forecastFrom = request.today.year();
    request.forecastTo = request.forecastFrom + 2;
    request.spread = tarot::SpreadCards{3, 14, 25, 36, 47, 58, 69, 70, 1};
    request.partner = kestrava::Person{u"JOHN"_s, {}, u"DOE"_s, QDate(1984, 2, 29), {}};
    report::Practitioner practitioner;
    practitioner.name = u"Aurelia Venn"_s;
    practitioner.contact = u"12 Mill Lane, Norwich"_s;
    practitioner.reportTitle = report::defaultReportTitle();

    Timings t;
    int pages = 0;
    qsizetype pdfBytes = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer whole;
        whole.start();
        QElapsedTimer step;
        step.start();
        const report::Report composed = std::get<report::Report>(report::composeReport(request, practitioner));
        t.compose.push_back(step.nsecsElapsed() / 1e6);
        step.restart();
        const report::ReportLayout layout(composed);
        t.layout.push_back(step.nsecsElapsed() / 1e6);
        step.restart();
        const QByteArray pdf = report::reportPdf(layout);
        t.pdf.push_back(step.nsecsElapsed() / 1e6);
        t.whole.push_back(whole.nsecsElapsed() / 1e6);
        step.restart();
        const QString html = report::reportHtml(composed);
        t.html.push_back(step.nsecsElapsed() / 1e6);
        pages = layout.pageCount();
        pdfBytes = pdf.size();
        if (argc > 2 && round == rounds - 1) {
            const QDir folder(QString::fromLocal8Bit(argv[2]));
            QFile pdfFile(folder.filePath(u"report.pdf"_s));
            QFile htmlFile(folder.filePath(u"report.html"_s));
            if (!pdfFile.open(QIODevice::WriteOnly) || !htmlFile.open(QIODevice::WriteOnly)
                || pdfFile.write(pdf) != pdf.size() || htmlFile.write(html.toUtf8()) < 0)
                std::fprintf(stderr, "cannot write the report into %s\n", argv[2]);
        }
    }
    std::printf("every section, %d pages, PDF of %lld KB, %d rounds\n", pages, static_cast<long long>(pdfBytes / 1024),
                rounds);
    print("compose", t.compose);
    print("lay out on pages", t.layout);
    print("write the PDF (with its outline)", t.pdf);
    print("compose, lay out and write PDF", t.whole);
    print("write the web page", t.html);
    return benchWindow(rounds);
}
