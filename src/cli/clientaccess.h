#pragma once

#include "cli/command.h"
#include "clients/clientbook.h"

#include <QByteArray>
#include <QJsonObject>
#include <QTextStream>

#include <memory>
#include <optional>

// The client book as the command line reaches it: which file, a client by
// number, a client as a JSON line, and a reading added to a client's history.

// --clients, or where the suite keeps the book ($KESTRAVA_CLIENTS, then the
// user's data folder).
QString clientBookFile(const Invocation &call);

// Opens the book.  To read only, a file that is not there is not made (the
// book is then empty: nullptr with nothing said).  Says on err why a book
// cannot be read, or (for a change) cannot be changed, and sets failed.
std::unique_ptr<clients::ClientBook> openClientBook(const QString &path, bool change, QTextStream &err,
                                                     bool &failed);

// The client whose number the text gives; says on err that there is none.
std::optional<clients::Client> findClient(const clients::ClientBook *book, const QString &path,
                                          const QString &idText, QTextStream &err);

// The command's name for a program ("numerology" for Variduzeda Vad).
QString commandNameOf(kestrava::ProgramId program);

// A client as one compact JSON object: id, first, middle, last, born, now,
// email, phone, notes, added, changed, and with a history its readings.
QByteArray clientJson(const clients::Client &client, const QList<clients::ReadingEntry> *history = nullptr);

// A reading subcommand run for a client of the book (--client ID).
class ClientReading
{
public:
    // Finds the client of --client and puts their names and birth date in
    // call's subject fields, as far as the command has them.  The exit
    // status when that fails (said on err), nothing otherwise.
    std::optional<int> fill(const Command &command, Invocation &call, QTextStream &err);
    // Finds the client whose number idText gives in the book of call.  The
    // exit status when there is none (said on err), nothing otherwise.
    std::optional<int> find(const Invocation &call, const QString &idText, QTextStream &err);
    // Adds the reading of the subject to the client's history; the exit
    // status: done, or some failed (said on err) when the book cannot take it.
    int record(const Command &command, const Subject &subject, QTextStream &err);
    // Adds a report made for the client, with what it was made from.
    int recordReport(const QJsonObject &request, QTextStream &err);
    // Adds a reading of the program, with the inputs as it writes them.
    int recordReading(kestrava::ProgramId program, const QJsonObject &inputs, QTextStream &err);

    const clients::Client &client() const { return *m_client; }

private:
    int add(const clients::ReadingEntry &entry, QTextStream &err);

    QString m_path;
    std::unique_ptr<clients::ClientBook> m_book;
    std::optional<clients::Client> m_client;
};
