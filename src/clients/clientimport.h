#pragma once

#include "clients/clientbook.h"
#include "common/person.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Bringing people into the book from the suite's saved readings and from CSV
// files.
namespace clients {

// The kinds of saved reading an import takes, in the order the refusal of
// another file names their endings.  The programs that save readings provide
// them; the book knows none of its own.
using SavedReadingKinds = QList<kestrava::SavedReadingKind>;

// A file, or a row of a CSV file, that brought no one in, and why.
struct ImportRefusal
{
    QString source; // the file, or "file, row N"
    QString reason;
};

struct ImportReport
{
    int added = 0;
    int alreadyThere = 0; // the same person was in the book (or earlier in the import)
    QList<ImportRefusal> refused;
    // The import as a whole failed (the book is read-only, a write failed, it
    // was stopped): nothing was added, whatever the counts above say.
    std::optional<kestrava::Failure> failure;
};

// The file endings importFiles takes: the saved readings' in their order,
// then "csv".
QStringList importEndings(const SavedReadingKinds &kinds);

// Imports the files named, and every saved reading of the kinds given and
// every .csv file in the folders named (with their subfolders), in one
// transaction: either everyone found goes in or, when the import fails, no
// one.  A file of another kind named on its own is refused; in a folder it is
// passed over.  Added and changed are `now`; progress counts the people as
// they go in.
ImportReport importFiles(ClientBook &book, const SavedReadingKinds &kinds, const QStringList &paths,
                         const QDateTime &now, const Progress &progress = {});

// Imports the people of CSV text (see peopleFromCsv); `source` names it in
// the report.
ImportReport importCsv(ClientBook &book, const QByteArray &data, const QString &source, const QDateTime &now,
                       const Progress &progress = {});

} // namespace clients
