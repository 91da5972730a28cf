// The practitioner's report with every section: composing it, laying it out
// on pages and writing its PDF, and writing its web page.  Prints the median
// and the slowest of each over the rounds; with a folder, also leaves the
// last round's report.pdf and report.html there to look at.
#include "report/reportcontent.h"
#include "report/reporthtml.h"
#include "report/reportlayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
    return 0;
}
