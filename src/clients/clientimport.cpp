#include "clients/clientimport.h"

#include "clients/clientcsv.h"
#include "common/datelists.h"
#include "common/regularfile.h"
#include "common/shiftedlines.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace clients {

namespace {

// A list of clients is far smaller; a larger file is some other file.
constexpr qint64 kMaxImportCsvBytes = qint64(256) * 1024 * 1024;

// The saved reading kind a file is of, by its ending (whatever its case).
const kestrava::SavedReadingKind *savedKindOf(const SavedReadingKinds &kinds, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const kestrava::SavedReadingKind &kind : kinds) {
        if (kind.ending == suffix)
            return &kind;
    }
    return nullptr;
}

bool isCsv(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == u"csv"_s;
}

// ".num, .tnm or .csv": the endings a file may have.
QString endingsList(const SavedReadingKinds &kinds)
{
    QStringList endings = importEndings(kinds);
    for (QString &ending : endings)
        ending.prepend(u'.');
    const QString last = endings.takeLast();
    return endings.isEmpty() ? last : endings.join(u", "_s) + u" or "_s + last;
}

// What gathering the files found.
struct Gathered
{
    QList<ImportCandidate> candidates;
    QList<ImportRefusal> refused;
};

// The birth date from the texts of a saved reading: a month name of the
// lists, a day and a year.
QDate readingDate(const QString &month, const QString &day, const QString &year)
{
    const qsizetype monthIndex = kestrava::monthNames().indexOf(month);
    bool dayOk = false, yearOk = false;
    const int d = day.toInt(&dayOk), y = year.toInt(&yearOk);
    return monthIndex >= 0 && dayOk && yearOk ? QDate(y, int(monthIndex) + 1, d) : QDate();
}

void addReadingFile(Gathered &gathered, const QString &path, const kestrava::SavedPerson &saved)
{
    Client client;
    client.person = saved.person;
    client.person.birthDate = readingDate(saved.month, saved.day, saved.year);
    if (!client.person.birthDate.isValid()) {
        // A binary file's lines are quoted only in part, and made printable.
        gathered.refused.append({path, u"its birth date \"%1 %2 %3\" is no date"_s.arg(
                                           kestrava::shownExcerpt(saved.day, kShownDatePart),
                                           kestrava::shownExcerpt(saved.month, kShownDatePart),
                                           kestrava::shownExcerpt(saved.year, kShownDatePart))});
    } else if (auto problem = checkClient(client)) {
        gathered.refused.append({path, problem->reason});
    } else {
        gathered.candidates.append({client, path});
    }
}

void gatherFile(Gathered &gathered, const SavedReadingKinds &kinds, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    // A pipe or a device is said to be one: "no such file" would send the
    // person looking for a file that is there.
    if (auto notFile = kestrava::notARegularFile(path)) {
        gathered.refused.append({shown, notFile->reason});
        return;
    }
    if (auto unreadable = kestrava::unreadableFile(path)) {
        gathered.refused.append({shown, unreadable->reason});
        return;
    }
    if (const kestrava::SavedReadingKind *kind = savedKindOf(kinds, path)) {
        addReadingFile(gathered, shown, kind->readPerson(path));
        return;
    }
    if (!isCsv(path)) {
        gathered.refused.append({shown, u"it is not a %1 file"_s.arg(endingsList(kinds))});
        return;
    }
    const auto data = kestrava::readRegularFile(path, kMaxImportCsvBytes);
    if (const auto *failure = std::get_if<kestrava::Failure>(&data)) {
        gathered.refused.append({shown, failure->reason});
        return;
    }
    const Result<QList<CsvRow>> rows = peopleFromCsv(std::get<QByteArray>(data));
    if (!rows) {
        gathered.refused.append({shown, rows.failure().reason});
        return;
    }
    for (const CsvRow &row : *rows) {
        const QString source = u"%1, row %2"_s.arg(shown).arg(row.number);
        if (row.client)
            gathered.candidates.append({*row.client, source});
        else
            gathered.refused.append({source, row.problem});
    }
}

ImportReport addGathered(ClientBook &book, const Gathered &gathered, const QDateTime &now, const Progress &progress)
{
    ImportReport report;
    report.refused = gathered.refused;
    const Result<QList<CandidateOutcome>> outcomes = book.addMany(gathered.candidates, now, progress);
    if (!outcomes) {
        report.failure = outcomes.failure();
        return report;
    }
    report.added = int(std::count(outcomes->begin(), outcomes->end(), CandidateOutcome::Added));
    report.alreadyThere = int(outcomes->size()) - report.added;
    return report;
}

} // namespace

QStringList importEndings(const SavedReadingKinds &kinds)
{
    QStringList endings;
    for (const kestrava::SavedReadingKind &kind : kinds)
        endings.append(kind.ending);
    endings.append(u"csv"_s);
    return endings;
}

ImportReport importFiles(ClientBook &book, const SavedReadingKinds &kinds, const QStringList &paths,
                         const QDateTime &now, const Progress &progress)
{
    Gathered gathered;
    const QStringList endings = importEndings(kinds);
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            gatherFile(gathered, kinds, path);
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (endings.contains(QFileInfo(file).suffix().toLower()))
                found.append(file);
        }
        // The report lists files in a stable order, whatever the file system's.
        found.sort();
        for (const QString &file : found)
            gatherFile(gathered, kinds, file);
    }
    return addGathered(book, gathered, now, progress);
}

ImportReport importCsv(ClientBook &book, const QByteArray &data, const QString &source, const QDateTime &now,
                       const Progress &progress)
{
    Gathered gathered;
    const Result<QList<CsvRow>> rows = peopleFromCsv(data);
    if (!rows) {
        gathered.refused.append({source, rows.failure().reason});
    } else {
        for (const CsvRow &row : *rows) {
            const QString where = u"%1, row %2"_s.arg(source).arg(row.number);
            if (row.client)
                gathered.candidates.append({*row.client, where});
            else
                gathered.refused.append({where, row.problem});
        }
    }
    return addGathered(book, gathered, now, progress);
}

} // namespace clients
