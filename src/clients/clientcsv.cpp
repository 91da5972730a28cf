#include "clients/clientcsv.h"

#include "common/csv.h"
#include "common/datelists.h"
#include "common/regularfile.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace clients {

namespace {

bool formulaStart(QStringView text)
{
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    if (c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r')
        return true;
    return c == u'\'' && formulaStart(text.mid(1));
}

// Where a spreadsheet may split a cell into pieces: a list separator (a
// comma, or a semicolon or tab where the comma is the decimal mark) or a line
// break.
bool pieceSeparator(QChar c)
{
    return c == u',' || c == u';' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A field is quoted when it holds anything a spreadsheet could split it at
// or read as a formula, whatever the spreadsheet's separator.
QByteArray csvField(const QString &text)
{
    const QString cell = spreadsheetCell(text);
    QByteArray bytes = cell.toUtf8();
    static const QByteArray kQuoted = ",;\"\t\r\n=+-@";
    if (std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return kQuoted.contains(c); })) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

std::optional<int> monthFrom(const QString &text)
{
    const QStringList &names = kestrava::monthNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(text, Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    }
    bool number = false;
    const int month = text.toInt(&number);
    if (number && month >= 1 && month <= 12)
        return month;
    return std::nullopt;
}

} // namespace

QString spreadsheetCell(const QString &text)
{
    QString cell;
    cell.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((i == 0 || pieceSeparator(text[i - 1])) && formulaStart(QStringView(text).sliced(i)))
            cell += u'\'';
        cell += text[i];
    }
    return cell;
}

QString textFromSpreadsheetCell(const QString &cell)
{
    QString text;
    text.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const bool pieceStart = i == 0 || pieceSeparator(cell[i - 1]);
        if (pieceStart && cell[i] == u'\'' && formulaStart(QStringView(cell).sliced(i + 1)))
            continue;
        text += cell[i];
    }
    return text;
}

QByteArray clientsCsvHeader()
{
    QByteArray out = "\xEF\xBB\xBF";
    out += kExportHeader;
    out += "\r\n";
    return out;
}

QByteArray clientCsvLine(const Client &c)
{
    const QStringList fields{c.person.firstName, c.person.middleName, c.person.lastName,
                             c.person.birthDate.toString(Qt::ISODate), c.person.nameNowUsed, c.email, c.phone,
                             c.notes};
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

QByteArray clientsCsv(const QList<Client> &clients)
{
    QByteArray out = clientsCsvHeader();
    for (const Client &c : clients)
        out += clientCsvLine(c);
    return out;
}

Result<CsvPeople> CsvPeople::fromHeader(const QStringList &header)
{
    CsvPeople people;
    for (qsizetype i = 0; i < header.size(); ++i)
        people.m_column.insert(header[i].trimmed().toLower(), i);
    const bool byName = people.m_column.contains(u"name"_s);
    people.m_byParts = people.m_column.contains(u"first"_s) && people.m_column.contains(u"last"_s);
    people.m_byBorn = people.m_column.contains(u"born"_s);
    const bool byDateParts = people.m_column.contains(u"month"_s) && people.m_column.contains(u"day"_s)
                             && people.m_column.contains(u"year"_s);
    if (!byName && !people.m_byParts)
        return kestrava::Failure{u"the header row names no name columns (first,middle,last or name)"_s};
    if (!people.m_byBorn && !byDateParts)
        return kestrava::Failure{u"the header row names no birth date columns (month,day,year or born)"_s};
    return people;
}

CsvRow CsvPeople::row(int number, const QStringList &row) const
{
    auto field = [&](const QString &name) {
        const qsizetype i = m_column.value(name, -1);
        return i >= 0 && i < row.size() ? textFromSpreadsheetCell(row[i]) : QString();
    };
    CsvRow result;
    result.number = number;
    Client c;
    if (m_byParts) {
        c.person.firstName = field(u"first"_s);
        c.person.middleName = field(u"middle"_s);
        c.person.lastName = field(u"last"_s);
    } else {
        c.person = kestrava::splitName(field(u"name"_s));
    }
    if (m_byBorn) {
        const QString born = field(u"born"_s).trimmed();
        c.person.birthDate = born.size() == 10 ? QDate::fromString(born, Qt::ISODate) : QDate();
        if (!c.person.birthDate.isValid())
            result.problem =
                u"born must be a date written YYYY-MM-DD, not \"%1\""_s.arg(kestrava::shownExcerpt(born));
    } else {
        const QString monthText = field(u"month"_s).trimmed(), dayText = field(u"day"_s).trimmed(),
                      yearText = field(u"year"_s).trimmed();
        bool dayOk = false, yearOk = false;
        const int day = dayText.toInt(&dayOk), year = yearText.toInt(&yearOk);
        const std::optional<int> month = monthFrom(monthText);
        if (month && dayOk && yearOk)
            c.person.birthDate = QDate(year, *month, day);
        if (!c.person.birthDate.isValid())
            result.problem = u"\"%1 %2 %3\" is no date"_s.arg(kestrava::shownExcerpt(dayText, kShownDatePart),
                                                              kestrava::shownExcerpt(monthText, kShownDatePart),
                                                              kestrava::shownExcerpt(yearText, kShownDatePart));
    }
    c.person.nameNowUsed = field(u"now"_s);
    c.email = field(u"email"_s);
    c.phone = field(u"phone"_s);
    c.notes = field(u"notes"_s);
    if (result.problem.isEmpty()) {
        if (auto problem = checkClient(c))
            result.problem = problem->reason;
        else
            result.client = c;
    }
    return result;
}

kestrava::MaybeFailure forEachCsvPerson(const std::function<qsizetype(char *, qsizetype)> &source,
                                        const std::function<bool(const CsvRow &)> &take)
{
    CsvStream stream(source);
    CsvStream::Record record;
    auto fields = [&record] {
        const CsvRecord parsed(record.bytes);
        QStringList list;
        list.reserve(parsed.size());
        for (qsizetype i = 0; i < parsed.size(); ++i)
            list.append(parsed.field(i));
        return list;
    };
    CsvStream::Status status = stream.next(record);
    if (status == CsvStream::Status::Failed)
        return kestrava::Failure{u"the file could not be read"_s};
    if (status != CsvStream::Status::Record)
        return kestrava::Failure{u"the file has no header row"_s};
    const Result<CsvPeople> people = CsvPeople::fromHeader(fields());
    if (!people)
        return people.failure();
    for (int number = 1;; ++number) {
        status = stream.next(record);
        if (status == CsvStream::Status::Failed)
            return kestrava::Failure{u"the file could not be read after row %1"_s.arg(number - 1)};
        if (status != CsvStream::Status::Record)
            return std::nullopt;
        CsvRow row;
        if (record.unclosedQuote) {
            row.number = number;
            row.problem = u"a quote opened in the row is never closed"_s;
        } else {
            row = people->row(number, fields());
        }
        if (!take(row))
            return std::nullopt;
    }
}

Result<QList<CsvRow>> peopleFromCsv(const QByteArray &data)
{
    const QList<QStringList> rows = parseCsv(data);
    if (rows.isEmpty())
        return kestrava::Failure{u"the file has no header row"_s};
    const Result<CsvPeople> columns = CsvPeople::fromHeader(rows.front());
    if (!columns)
        return columns.failure();
    QList<CsvRow> people;
    for (qsizetype r = 1; r < rows.size(); ++r)
        people.append(columns->row(int(r), rows[r]));
    return people;
}

} // namespace clients
