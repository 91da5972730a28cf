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

// An import under way: the people found go into the book a chunk at a
// time, inside the one transaction of the import, so that however many
// there are only one chunk is held.
class Importer
{
public:
    Importer(ClientBook &book, const QDateTime &now, const Progress &progress)
        : m_book(book), m_now(now), m_progress(progress)
    {
        m_report.failure = book.beginImport();
    }
    ~Importer()
    {
        if (!m_finished && !m_report.failure)
            m_book.finishImport(false);
    }
    Importer(const Importer &) = delete;
    Importer &operator=(const Importer &) = delete;

    bool failed() const { return m_report.failure.has_value(); }
    void refuse(const QString &source, const QString &reason) { m_report.refused.append({source, reason}); }
    // False once the import has failed.
    bool offer(const Client &client, const QString &source)
    {
        if (failed())
            return false;
        m_chunk.append({client, source});
        return m_chunk.size() < kChunk || flush();
    }
    ImportReport finish()
    {
        if (!failed() && flush())
            m_report.failure = m_book.finishImport(true);
        else if (failed())
            m_book.finishImport(false);
        m_finished = true;
        if (m_report.failure)
            m_report.added = m_report.alreadyThere = 0;
        return m_report;
    }

private:
    static constexpr qsizetype kChunk = 1000;

    bool flush()
    {
        if (m_chunk.isEmpty())
            return true;
        const Progress progress = !m_progress ? Progress() : [this](int done, int) {
            return m_progress(m_done + done, -1);
        };
        const Result<QList<CandidateOutcome>> outcomes = m_book.addMany(m_chunk, m_now, progress);
        if (!outcomes) {
            m_report.failure = outcomes.failure();
            m_book.finishImport(false);
            m_finished = true;
            return false;
        }
        const int added = int(std::count(outcomes->begin(), outcomes->end(), CandidateOutcome::Added));
        m_report.added += added;
        m_report.alreadyThere += int(outcomes->size()) - added;
        m_done += int(m_chunk.size());
        m_chunk.clear();
        return true;
    }

    ClientBook &m_book;
    QDateTime m_now;
    Progress m_progress;
    ImportReport m_report;
    QList<ImportCandidate> m_chunk;
    int m_done = 0;
    bool m_finished = false;
};

// Offers each person of CSV text read from `source`; `shown` names it.
void importCsvFrom(Importer &importer, const std::function<qsizetype(char *, qsizetype)> &source,
                   const QString &shown)
{
    const kestrava::MaybeFailure unread = forEachCsvPerson(source, [&](const CsvRow &row) {
        const QString where = u"%1, row %2"_s.arg(shown).arg(row.number);
        if (row.client)
            return importer.offer(*row.client, where);
        importer.refuse(where, row.problem);
        return true;
    });
    if (unread && !importer.failed())
        importer.refuse(shown, unread->reason);
}

// The birth date from the texts of a saved reading: a month name of the
// lists, a day and a year.
QDate readingDate(const QString &month, const QString &day, const QString &year)
{
    const qsizetype monthIndex = kestrava::monthNames().indexOf(month);
    bool dayOk = false, yearOk = false;
    const int d = day.toInt(&dayOk), y = year.toInt(&yearOk);
    return monthIndex >= 0 && dayOk && yearOk ? QDate(y, int(monthIndex) + 1, d) : QDate();
}

void addReadingFile(Importer &importer, const QString &path, const kestrava::SavedPerson &saved)
{
    Client client;
    client.person = saved.person;
    client.person.birthDate = readingDate(saved.month, saved.day, saved.year);
    if (!client.person.birthDate.isValid()) {
        // A binary file's lines are quoted only in part, and made printable.
        importer.refuse(path, u"its birth date \"%1 %2 %3\" is no date"_s.arg(
                                  kestrava::shownExcerpt(saved.day, kShownDatePart),
                                  kestrava::shownExcerpt(saved.month, kShownDatePart),
                                  kestrava::shownExcerpt(saved.year, kShownDatePart)));
    } else if (auto problem = checkClient(client)) {
        importer.refuse(path, problem->reason);
    } else {
        importer.offer(client, path);
    }
}

void importFile(Importer &importer, const SavedReadingKinds &kinds, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    // A pipe or a device is said to be one: "no such file" would send the
    // person looking for a file that is there.
    if (auto notFile = kestrava::notARegularFile(path)) {
        importer.refuse(shown, notFile->reason);
        return;
    }
    if (auto unreadable = kestrava::unreadableFile(path)) {
        importer.refuse(shown, unreadable->reason);
        return;
    }
    if (const kestrava::SavedReadingKind *kind = savedKindOf(kinds, path)) {
        addReadingFile(importer, shown, kind->readPerson(path));
        return;
    }
    if (!isCsv(path)) {
        importer.refuse(shown, u"it is not a %1 file"_s.arg(endingsList(kinds)));
        return;
    }
    // Opened only as a regular file, and read as a stream: a file of any
    // size imports in bounded memory.
    std::variant<kestrava::RegularFile, kestrava::Failure> opened = kestrava::openRegularFile(path);
    if (const auto *failure = std::get_if<kestrava::Failure>(&opened)) {
        importer.refuse(shown, failure->reason);
        return;
    }
    QFile file;
    if (!file.open(std::get<kestrava::RegularFile>(opened).release(), QIODevice::ReadOnly,
                   QFileDevice::AutoCloseHandle)) {
        importer.refuse(shown, file.errorString());
        return;
    }
    importCsvFrom(importer, [&file](char *buffer, qsizetype size) { return file.read(buffer, size); }, shown);
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
    Importer importer(book, now, progress);
    const QStringList endings = importEndings(kinds);
    for (const QString &path : paths) {
        if (importer.failed())
            break;
        if (!QFileInfo(path).isDir()) {
            importFile(importer, kinds, path);
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
        for (const QString &file : found) {
            if (importer.failed())
                break;
            importFile(importer, kinds, file);
        }
    }
    return importer.finish();
}

ImportReport importCsv(ClientBook &book, const QByteArray &data, const QString &source, const QDateTime &now,
                       const Progress &progress)
{
    Importer importer(book, now, progress);
    qsizetype at = 0;
    importCsvFrom(
        importer,
        [&data, &at](char *buffer, qsizetype size) {
            const qsizetype n = std::min(size, data.size() - at);
            std::copy_n(data.constData() + at, n, buffer);
            at += n;
            return n;
        },
        source);
    return importer.finish();
}

} // namespace clients
