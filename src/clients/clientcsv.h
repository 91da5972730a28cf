#pragma once

#include "clients/clientbook.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The client book as a CSV file that spreadsheets open safely, and the
// columns a CSV file of people may have (the command line's batch columns).
namespace clients {

// Characters of each part of a date quoted in a refusal: room for any month
// name, not for a line of a binary file.
inline constexpr int kShownDatePart = 12;

// The header of an exported book.
inline constexpr char kExportHeader[] = "first,middle,last,born,now,email,phone,notes";

// A spreadsheet takes a cell that starts with =, +, -, @, a tab or a carriage
// return for a formula, and one whose list separator is not the comma may
// split a text at a semicolon or tab into cells of their own.  So the text
// and each piece of it after a comma, semicolon, tab or line break that
// starts so is written with a leading apostrophe, which the spreadsheet shows
// as text and an import removes again.  A piece that already starts with an
// apostrophe followed by such a piece gets one more, so that every text comes
// back as it was.
QString spreadsheetCell(const QString &text);
// The text of a cell spreadsheetCell() wrote.
QString textFromSpreadsheetCell(const QString &cell);

// The clients as UTF-8 CSV with a byte-order mark (so that spreadsheets take
// it as UTF-8): the header above, then one row per client with the birth
// date as YYYY-MM-DD; lines end in CR LF.  A field is quoted when it holds a
// separator (comma, semicolon, tab, line break), a quote or a formula character.
QByteArray clientsCsv(const QList<Client> &clients);
// The same in parts, for a book too large to hold at once: the byte-order
// mark and the header line, then each client's line.
QByteArray clientsCsvHeader();
QByteArray clientCsvLine(const Client &client);

// A person read from a CSV file, or why the row was refused.
struct CsvRow
{
    int number = 0; // 1 for the first row after the header
    std::optional<Client> client;
    QString problem; // when there is no client
};

// The columns of a CSV file of people, as its header row names them (see
// peopleFromCsv).
class CsvPeople
{
public:
    // Nothing, with the reason, when the header lacks a name or a date column.
    static Result<CsvPeople> fromHeader(const QStringList &header);
    // The person of the row numbered `number` with these fields.
    CsvRow row(int number, const QStringList &fields) const;

private:
    QHash<QString, qsizetype> m_column;
    bool m_byParts = false;
    bool m_byBorn = false;
};

// The people of CSV text read a piece at a time from `source` (as
// CsvStream reads it), handed to `take` one row at a time, so that a file
// of any size is read in little memory; `take` returns false to stop.  Why
// no row could be read (no header, no name or date columns, the source
// failed), if none could.  A row holding a quote that is never closed is
// refused on its own.
kestrava::MaybeFailure forEachCsvPerson(const std::function<qsizetype(char *, qsizetype)> &source,
                                        const std::function<bool(const CsvRow &)> &take);

// The people of a CSV file.  The header names the columns, in any order:
// first, middle, last (or name: its first word the first name, its last word
// the last name, the words between the middle name) and month, day, year
// (month as a name or 1 to 12; or born, YYYY-MM-DD); email, phone, notes and
// now (the name now used) may be there too, other columns are ignored.
// Nothing, with the reason, when the header lacks a name or a date column.
Result<QList<CsvRow>> peopleFromCsv(const QByteArray &data);

} // namespace clients
