// A second program on the client book, for the tests that need one: a
// process to kill in the middle of an import, a writer beside another, a
// user without permission to write.
//   clientbook_child import BOOK PATH   imports PATH, printing "progress N" as people go in
//   clientbook_child add BOOK PREFIX SECONDS   adds clients for SECONDS, then prints how many
//   clientbook_child status BOOK        prints readable/writable and the problem
#include "clients/clientbook.h"
#include "clients/clientimport.h"
#include "numpro/files/numfile.h"
#include "tarot/tarotdocument.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    clients::ClientBook book(args[2]);
    const QDateTime now = QDateTime::currentDateTimeUtc();

    if (args[1] == u"import"_s && args.size() == 4) {
        const clients::SavedReadingKinds kinds{numpro::numFileKind(), tarot::tnmFileKind()};
        const clients::ImportReport report = clients::importFiles(book, kinds, {args[3]}, now, [](int done, int) {
            if (done % 500 == 0) {
                std::printf("progress %d\n", done);
                std::fflush(stdout);
            }
            return true;
        });
        std::printf("added %d\n", report.added);
        return report.failure ? 1 : 0;
    }
    if (args[1] == u"add"_s && args.size() == 5) {
        const QDeadlineTimer deadline(qint64(args[4].toDouble() * 1000));
        int added = 0;
        while (!deadline.hasExpired()) {
            clients::Client client;
            client.person = {args[3], QString(), u"WRITER %1"_s.arg(added), QDate(1980, 1, 1 + added % 28), QString()};
            const clients::Result<clients::Client> result = book.add(client, now);
            if (!result) {
                std::fprintf(stderr, "%s\n", qPrintable(result.failure().reason));
                std::printf("added %d\n", added);
                return 1;
            }
            ++added;
        }
        std::printf("added %d\n", added);
        return 0;
    }
    if (args[1] == u"status"_s) {
        std::printf("readable %d writable %d count %d\n%s\n", int(book.isReadable()), int(book.isWritable()),
                    book.count(), book.problem() ? qPrintable(book.problem()->message) : "");
        return 0;
    }
    return 2;
}
