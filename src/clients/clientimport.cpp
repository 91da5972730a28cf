#include "clients/clientimport.h"

#include "clients/clientcsv.h"
#include "common/datelists.h"
#include "common/numerology.h"
#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "tarot/tarotdocument.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace clients {

namespace {

enum class FileKind { Num, Tnm, Csv, Other };

FileKind kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"num"_s)
        return FileKind::Num;
    if (suffix == u"tnm"_s)
        return FileKind::Tnm;
    if (suffix == u"csv"_s)
        return FileKind::Csv;
    return FileKind::Other;
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

void addReadingFile(Gathered &gathered, const QString &path, kestrava::Person person, const QString &month,
                    const QString &day, const QString &year)
{
    person.birthDate = readingDate(month, day, year);
    Client client;
    client.person = person;
    if (!person.birthDate.isValid()) {
        gathered.refused.append({path, u"its birth date \"%1 %2 %3\" is no date"_s.arg(day, month, year)});
    } else if (auto problem = checkClient(client)) {
        gathered.refused.append({path, problem->reason});
    } else {
        gathered.candidates.append({client, path});
    }
}

void gatherFile(Gathered &gathered, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (auto unreadable = kestrava::unreadableFile(path)) {
        gathered.refused.append({shown, unreadable->reason});
        return;
    }
    if (!QFileInfo(path).isFile()) {
        gathered.refused.append({shown, u"there is no such file"_s});
        return;
    }
    switch (kindOf(path)) {
    case FileKind::Num: {
        const numpro::ReadingSubject s = numpro::readNumFile(path);
        const kestrava::Person person{kestrava::trimBlanks(s.firstName), kestrava::trimBlanks(s.middleName),
                                      kestrava::trimBlanks(s.lastName), QDate(), QString()};
        addReadingFile(gathered, shown, person, kestrava::trimBlanks(s.month), kestrava::trimBlanks(s.day),
                       kestrava::trimBlanks(s.year));
        break;
    }
    case FileKind::Tnm: {
        // Name, day, month and year, as the tarot program saves them.
        const QStringList lines = kestrava::readShiftedLines(path, tarot::kTnmLineCount);
        addReadingFile(gathered, shown, splitName(lines[0]), kestrava::trimBlanks(lines[2]),
                       kestrava::trimBlanks(lines[1]), kestrava::trimBlanks(lines[3]));
        break;
    }
    case FileKind::Csv: {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            gathered.refused.append({shown, file.errorString()});
            return;
        }
        const Result<QList<CsvRow>> rows = peopleFromCsv(file.readAll());
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
        break;
    }
    case FileKind::Other:
        gathered.refused.append({shown, u"it is not a .num, .tnm or .csv file"_s});
        break;
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

ImportReport importFiles(ClientBook &book, const QStringList &paths, const QDateTime &now, const Progress &progress)
{
    Gathered gathered;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            gatherFile(gathered, path);
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (kindOf(file) != FileKind::Other)
                found.append(file);
        }
        // The report lists files in a stable order, whatever the file system's.
        found.sort();
        for (const QString &file : found)
            gatherFile(gathered, file);
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
