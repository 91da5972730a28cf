// The client book at scale: a book of many clients, the first page of its
// list, a search at each keystroke, and an import of many saved readings.
//   kestrava_bench_clients [clients] [files]
#include "clients/clientbook.h"
#include "clients/clientimport.h"
#include "numpro/files/numfile.h"
#include "support/generatedclients.h"
#include "tarot/tarotdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int clientCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int fileCount = argc > 2 ? std::atoi(argv[2]) : 10000;
    QTemporaryDir dir;
    // KESTRAVA_BENCH_BOOK keeps the filled book there, for timing the
    // command line on it.
    const QString kept = qEnvironmentVariable("KESTRAVA_BENCH_BOOK");
    const QString path = kept.isEmpty() ? dir.filePath(u"clients.sqlite"_s) : kept;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QRandomGenerator random(20240307);

    {
        clients::ClientBook book(path);
        const QList<clients::ImportCandidate> people = generated::people(clientCount, random);
        QElapsedTimer timer;
        timer.start();
        const auto added = book.addMany(people, now);
        if (!added) {
            std::fprintf(stderr, "%s\n", qPrintable(added.failure().reason));
            return 1;
        }
        std::printf("filling the book: %d clients in %.0f ms\n", clientCount, elapsedMs(timer));
    }

    QElapsedTimer timer;
    timer.start();
    clients::ClientBook book(path);
    const double openMs = elapsedMs(timer);
    timer.restart();
    const QList<clients::Client> firstPage = book.list(0, 100);
    const double pageMs = elapsedMs(timer);
    std::printf("%d clients: opening the book %.1f ms, first page of the list (%lld clients) %.1f ms\n",
                book.count(), openMs, qlonglong(firstPage.size()), pageMs);

    // Each text as a person types it, one keystroke at a time.
    const QStringList typed{u"mary smith"_s, u"jose alvarez"_s, u"1979-08-06"_s, u"ander"_s, u"oneill zoe"_s,
                            u"-4711"_s, u"xyz"_s};
    QList<double> times;
    for (const QString &text : typed) {
        double slowest = 0;
        int found = 0;
        for (qsizetype n = 1; n <= text.size(); ++n) {
            timer.restart();
            found = int(book.search(text.left(n), 50).size());
            const double ms = elapsedMs(timer);
            times.append(ms);
            slowest = std::max(slowest, ms);
        }
        std::printf("  typing \"%s\": slowest keystroke %.1f ms, %d found at the end\n", qPrintable(text), slowest,
                    found);
    }
    std::sort(times.begin(), times.end());
    std::printf("search, %lld keystrokes: median %.1f ms, slowest %.1f ms\n", qlonglong(times.size()),
                times[times.size() / 2], times.back());

    // Every match of a loose search, as kestrava-cli clients list --search
    // reads them: the time to the first and to the last.
    for (const QString &text : {u"a"_s, u"smith"_s, u"xyz"_s}) {
        timer.restart();
        double first = -1;
        int matches = 0;
        book.forEachMatch(text, [&](const clients::Client &) {
            if (matches++ == 0)
                first = elapsedMs(timer);
            return true;
        });
        std::printf("every match of \"%s\": %d clients, the first after %.1f ms, all in %.0f ms\n",
                    qPrintable(text), matches, first, elapsedMs(timer));
    }

    const QString in = dir.filePath(u"in"_s);
    QDir().mkpath(in);
    for (int i = 0; i < fileCount; ++i) {
        const numpro::ReadingSubject subject{generated::kFirst[i % generated::kFirst.size()], QString(),
                                             u"IMPORTED %1"_s.arg(i), u"March"_s, QString::number(1 + i % 28),
                                             QString::number(1900 + i % 150)};
        QFile file(in + u"/%1/%2.num"_s.arg(i % 100).arg(i));
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(numpro::encodeNumFile(subject)) < 0)
            return 1;
    }
    timer.restart();
    const clients::ImportReport report =
        clients::importFiles(book, {numpro::numFileKind(), tarot::tnmFileKind()}, {in}, now);
    std::printf("importing %d .num files from a folder into the book: %.0f ms (%d added, %d already there, "
                "%lld refused)\n",
                fileCount, elapsedMs(timer), report.added, report.alreadyThere, qlonglong(report.refused.size()));
    return report.failure ? 1 : 0;
}
