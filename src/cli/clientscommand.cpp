#include "cli/clientscommand.h"

#include "cli/clientaccess.h"
#include "common/jsonwriter.h"
#include "clients/clientcsv.h"
#include "clients/clientimport.h"
#include "clients/historytext.h"
#include "numpro/files/numfile.h"
#include "tarot/tarotdocument.h"

#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const OptionEntry kOptions[] = {
    {"search", "TEXT",
     "Only the clients whose names, birth date (YYYY-MM-DD) or history (\"report\", a program, a year) hold "
     "every word of the text, closest first: those found by name or date before those found by their history.",
     Field::None},
    {"first", "F", "First name.", Field::None, nullptr, true},
    {"middle", "M", "Middle name (may be left out).", Field::None},
    {"last", "L", "Last name.", Field::None, nullptr, true},
    {"born", "YYYY-MM-DD", "The birth date.", Field::None, nullptr, true},
    {"now", "NAME", "The name the client goes by now, when it differs from the birth names.", Field::None},
    {"email", "ADDRESS", "E-mail address.", Field::None},
    {"phone", "NUMBER", "Telephone number.", Field::None},
    {"notes", "TEXT", "Notes on the client.", Field::None},
    {"words", nullptr,
     "show: write the client and their history as lines of words for a person to read (one line per entry, "
     "oldest first, in UTC) instead of JSON.",
     Field::None},
    {"no-fill", nullptr, "Keep the kept client's e-mail, phone and notes as they are, even where empty.", Field::None},
    options::clients,
    options::pretty,
};

const Action kActions[] = {
    {"list", "", "search clients pretty",
     "One line per client, in the book's order (last, first, middle name), or those matching --search. Where "
     "part of the book is damaged, the lines before the damage are written, the message says so and the exit "
     "status is 2: rebuild-index mends a damaged search index, and export saves every client that can be read."},
    {"add", "", "first middle last born now email phone notes clients pretty",
     "Adds a client (a first or a last name and the birth date are needed) and writes their line. A person "
     "already in the book (the same birth names, in any case, and birth date) is not added again: their line is "
     "written and the exit status is 1."},
    {"show", "ID", "words clients pretty",
     "The client's line with their history: the readings and reports made for them."},
    {"edit", "ID", "first middle last born now email phone notes clients pretty",
     "Changes the fields given (an empty text empties one) and writes the client's new line. A change that would "
     "make the client the same person as another (the same birth names, in any case, and birth date) is refused: "
     "the other client's line is written and the exit status is 1.",
     true},
    {"remove", "ID", "clients pretty", "Removes the client and their history; writes the line they had."},
    {"duplicates", "", "clients pretty",
     "Writes {\"a\":CLIENT,\"b\":CLIENT} for each pair of clients who may be one person entered twice: born the "
     "same day with the same last name, in any case and with or without accents (without a last name, the same "
     "first name). a is the client added first."},
    {"merge", "KEEP OTHER", "no-fill clients pretty",
     "Makes two clients one, in one change: KEEP keeps its names and birth date and takes OTHER's readings and "
     "reports into its history, and its empty e-mail, phone and notes are filled from OTHER's (unless --no-fill); "
     "OTHER is removed. Writes KEEP's line with its history, as show does."},
    {"import", "FILE|FOLDER...", "clients pretty",
     "Brings people in from saved readings (.num, .tnm) and CSV files, and from every such file in the folders "
     "named, in one change: everyone found goes in, or no one. Writes {\"added\":N,\"alreadyThere\":N,"
     "\"refused\":[{\"source\":...,\"reason\":...}]}; the exit status is 1 when a file or row was refused."},
    {"export", "[FILE|-]", "clients",
     "Writes the book as a CSV file that spreadsheets open (UTF-8, header first,middle,last,born,now,email,phone,"
     "notes), to the file or, with - or no file, to standard output, the clients in the order they were added. "
     "It reads the clients themselves, not the search index, so a damaged index loses none; where the clients "
     "themselves are damaged, those that can be read are written and the exit status is 2."},
    {"rebuild-index", "", "clients pretty",
     "Makes the search index (which list and --search read) again from the clients and their history, which "
     "mends a damaged one. Writes {\"clients\":N}, the clients it now holds."},
};

QList<JsonKey> jsonKeys()
{
    return jsonKeyList({
        {"id", "the client's number in the book"},
        {"first", "the first name at birth"},
        {"middle", "the middle name at birth (empty when there is none)"},
        {"last", "the last name at birth"},
        {"born", "the birth date, YYYY-MM-DD"},
        {"now", "the name the client goes by now (empty when it is the birth name)"},
        {"email", "the e-mail address"},
        {"phone", "the telephone number"},
        {"notes", "the notes"},
        {"added", "when the client was added, UTC, YYYY-MM-DDThh:mm:ssZ"},
        {"changed", "when the client was last changed, UTC"},
        {"history", "show only: the readings and reports made for the client, oldest first, each {\"program\": "
                    "the command that made it, or \"report\" for a practitioner's report, \"at\": when (UTC), "
                    "\"inputs\": the names and dates it read, named as the options}"},
    });
}

struct Run
{
    const Command &command;
    const Invocation &call;
    QTextStream &out;
    QTextStream &err;
    QString path;

    void line(const QByteArray &json)
    {
        out << (call.pretty ? kestrava::indentJson(json) : json) << "\n";
    }

    int list()
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        if (!book)
            return kExitDone;
        // Each line goes out as the book yields its client: a search that
        // matches most of a large book starts writing at once and holds no
        // more than one client at a time.
        const kestrava::MaybeFailure failure =
            book->forEachMatch(call.values.value(u"search"_s), [this](const clients::Client &client) {
                line(clientJson(client));
                return out.status() == QTextStream::Ok;
            });
        if (failure) {
            out.flush();
            err << "kestrava-cli: cannot read the client book " << path << ": " << failure->reason << "\n";
            if (book->damageMet())
                damageAdvice();
            return kExitUsage;
        }
        return kExitDone;
    }

    void damageAdvice()
    {
        err << "kestrava-cli: \"kestrava-cli clients rebuild-index\" makes the search index again from the "
               "clients, and \"kestrava-cli clients export\" saves every client that can be read\n";
    }

    int rebuildIndex()
    {
        bool failed = false;
        const auto book = openClientBook(path, true, err, failed);
        if (failed)
            return kExitUsage;
        const clients::Result<int> rebuilt = book->rebuildSearchIndex();
        if (!rebuilt) {
            err << "kestrava-cli: cannot rebuild the search index of " << path << ": " << rebuilt.failure().reason
                << "\n";
            return kExitUsage;
        }
        line(kestrava::JsonObjectWriter().add("clients", *rebuilt).finish());
        return kExitDone;
    }

    int add()
    {
        const std::optional<QDate> born = parseIsoDate(call.values.value(u"born"_s));
        if (!born)
            return usageError(command, u"--born must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                                           call.values.value(u"born"_s)),
                              err);
        clients::Client client;
        client.person = {call.values.value(u"first"_s), call.values.value(u"middle"_s),
                         call.values.value(u"last"_s), *born, call.values.value(u"now"_s)};
        client.email = call.values.value(u"email"_s);
        client.phone = call.values.value(u"phone"_s);
        client.notes = call.values.value(u"notes"_s);
        if (const kestrava::MaybeFailure problem = clients::checkClient(client))
            return usageError(command, problem->reason, err);

        bool failed = false;
        const auto book = openClientBook(path, true, err, failed);
        if (failed)
            return kExitUsage;
        if (const std::optional<clients::Client> there = book->samePerson(client.person)) {
            err << "kestrava-cli: " << client.person.joinedName() << ", born " << born->toString(Qt::ISODate)
                << ", is in the book already with ID " << there->id << "\n";
            line(clientJson(*there));
            return kExitSomeFailed;
        }
        const clients::Result<clients::Client> added = book->add(client, QDateTime::currentDateTimeUtc());
        if (!added) {
            err << "kestrava-cli: cannot add the client to " << path << ": " << added.failure().reason << "\n";
            return kExitUsage;
        }
        line(clientJson(*added));
        return kExitDone;
    }

    int show(const QString &id)
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        const std::optional<clients::Client> client = findClient(book.get(), path, id, err);
        if (!client)
            return kExitUsage;
        const QList<clients::ReadingEntry> history = book->history(client->id);
        if (!call.values.contains(u"words"_s)) {
            line(clientJson(*client, &history));
            return kExitDone;
        }
        const kestrava::Person &p = client->person;
        out << p.joinedName() << " (client " << client->id << "), born " << p.birthDate.toString(u"d MMMM yyyy"_s)
            << "\n";
        if (history.isEmpty())
            out << "No readings or reports yet.\n";
        for (const clients::ReadingEntry &entry : history)
            out << entry.at.toUTC().toString(u"yyyy-MM-dd hh:mm"_s) << "  " << clients::entryInWords(entry) << "\n";
        return kExitDone;
    }

    int remove(const QString &id)
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        const std::optional<clients::Client> client = findClient(book.get(), path, id, err);
        if (!client)
            return kExitUsage;
        const clients::Result<clients::DeletedClient> removed = book->remove(client->id);
        if (!removed) {
            err << "kestrava-cli: cannot remove the client from " << path << ": " << removed.failure().reason << "\n";
            return kExitUsage;
        }
        line(clientJson(removed->client));
        return kExitDone;
    }

    int edit(const QString &id)
    {
        static const char *const kFields[] = {"first", "middle", "last", "born", "now", "email", "phone", "notes"};
        bool changes = false;
        for (const char *field : kFields)
            changes = changes || call.values.contains(QLatin1StringView(field));
        if (!changes)
            return usageError(command, u"name what to change: --first, --middle, --last, --born, --now, --email, "
                                       "--phone or --notes"_s,
                              err);
        std::optional<QDate> born;
        if (call.values.contains(u"born"_s)) {
            born = parseIsoDate(call.values.value(u"born"_s));
            if (!born)
                return usageError(command, u"--born must be a date written YYYY-MM-DD, not \"%1\""_s.arg(
                                               call.values.value(u"born"_s)),
                                  err);
        }

        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        const std::optional<clients::Client> found = findClient(book.get(), path, id, err);
        if (!found)
            return kExitUsage;
        if (!book->isWritable()) {
            err << "kestrava-cli: " << (book->problem() ? book->problem()->message : path) << "\n";
            return kExitUsage;
        }
        clients::Client client = *found;
        const auto take = [this](const char *option, QString &field) {
            if (call.values.contains(QLatin1StringView(option)))
                field = call.values.value(QLatin1StringView(option));
        };
        take("first", client.person.firstName);
        take("middle", client.person.middleName);
        take("last", client.person.lastName);
        take("now", client.person.nameNowUsed);
        take("email", client.email);
        take("phone", client.phone);
        take("notes", client.notes);
        if (born)
            client.person.birthDate = *born;
        if (const kestrava::MaybeFailure problem = clients::checkClient(client))
            return usageError(command, problem->reason, err);
        if (const std::optional<clients::Client> there = book->samePerson(client.person, client.id)) {
            err << "kestrava-cli: " << client.person.joinedName() << ", born "
                << client.person.birthDate.toString(Qt::ISODate) << ", is in the book already with ID " << there->id
                << "; client " << client.id << " was not changed\n";
            line(clientJson(*there));
            return kExitSomeFailed;
        }
        const clients::Result<clients::Client> changed = book->edit(client, QDateTime::currentDateTimeUtc());
        if (!changed) {
            err << "kestrava-cli: cannot change client " << client.id << " in " << path << ": "
                << changed.failure().reason << "\n";
            return kExitUsage;
        }
        line(clientJson(*changed));
        return kExitDone;
    }

    int duplicates()
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        if (!book)
            return kExitDone;
        for (const clients::PossibleDuplicate &pair : book->possibleDuplicates())
            line(kestrava::JsonObjectWriter().addJson("a", clientJson(pair.first)).addJson("b", clientJson(pair.second)).finish());
        return kExitDone;
    }

    int merge(const QString &keepText, const QString &otherText)
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        const std::optional<clients::Client> keep = findClient(book.get(), path, keepText, err);
        if (!keep)
            return kExitUsage;
        const std::optional<clients::Client> other = findClient(book.get(), path, otherText, err);
        if (!other)
            return kExitUsage;
        if (keep->id == other->id)
            return usageError(command, u"clients merge takes two different clients, not %1 twice"_s.arg(keep->id), err);
        const clients::Result<clients::MergedClients> merged =
            book->merge(keep->id, other->id, !call.values.contains(u"no-fill"_s), QDateTime::currentDateTimeUtc());
        if (!merged) {
            err << "kestrava-cli: cannot merge client " << other->id << " into client " << keep->id << " in " << path
                << ": " << merged.failure().reason << "\n";
            return kExitUsage;
        }
        const QList<clients::ReadingEntry> history = book->history(merged->kept.id);
        line(clientJson(merged->kept, &history));
        return kExitDone;
    }

    int import(const QStringList &paths)
    {
        bool failed = false;
        const auto book = openClientBook(path, true, err, failed);
        if (failed)
            return kExitUsage;
        const clients::SavedReadingKinds savedReadings{numpro::numFileKind(), tarot::tnmFileKind()};
        const clients::ImportReport report =
            clients::importFiles(*book, savedReadings, paths, QDateTime::currentDateTimeUtc());
        if (report.failure) {
            err << "kestrava-cli: nothing was imported into " << path << ": " << report.failure->reason << "\n";
            return kExitUsage;
        }
        kestrava::JsonObjectWriter json;
        json.add("added", report.added).add("alreadyThere", report.alreadyThere);
        kestrava::JsonWriter &refused = json.member("refused").beginArray();
        for (const clients::ImportRefusal &refusal : report.refused)
            refused.beginObject().key("source").value(refusal.source).key("reason").value(refusal.reason).endObject();
        refused.endArray();
        line(json.finish());
        return report.refused.isEmpty() ? kExitDone : kExitSomeFailed;
    }

    int exportTo(const QString &file)
    {
        bool failed = false;
        const auto book = openClientBook(path, false, err, failed);
        if (failed)
            return kExitUsage;
        const bool toStdout = file.isEmpty() || file == u"-"_s;
        QSaveFile saved(file);
        if (!toStdout && !saved.open(QIODevice::WriteOnly)) {
            err << "kestrava-cli: cannot write " << file << ": " << saved.errorString() << "\n";
            return kExitUsage;
        }
        out.flush();
        bool written = true;
        const auto write = [&](const QByteArray &bytes) {
            if (toStdout)
                written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size());
            else
                written = saved.write(bytes) == bytes.size();
            return written;
        };
        write(clients::clientsCsvHeader());
        int exported = 0;
        // One client at a time: the book may be larger than memory allows.
        const kestrava::MaybeFailure unread = !book ? std::nullopt : book->forEachClient([&](const clients::Client &c) {
            ++exported;
            return write(clients::clientCsvLine(c));
        });
        if (toStdout)
            std::fflush(stdout);
        else if (written && !saved.commit())
            written = false;
        if (!written) {
            err << "kestrava-cli: cannot write " << (toStdout ? u"to standard output"_s : file) << ": "
                << (toStdout ? u"the output was closed"_s : saved.errorString()) << "\n";
            return kExitUsage;
        }
        if (unread) {
            // What could be read is saved: it may be all the user gets back.
            err << "kestrava-cli: only " << exported << (exported == 1 ? " client" : " clients")
                << " could be exported from " << path << ": " << unread->reason << "\n";
            return kExitUsage;
        }
        return kExitDone;
    }
};

int run(const Command &command, const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;
    if (call.operands.isEmpty())
        return usageError(command,
                          u"name what to do: list, add, show, edit, remove, duplicates, merge, import, export or rebuild-index"_s, err);
    const QString name = call.operands.front();
    const QStringList operands = call.operands.mid(1);
    const Action *action = nullptr;
    for (const Action &candidate : command.actions) {
        if (name == QLatin1StringView(candidate.name))
            action = &candidate;
    }
    if (!action)
        return usageError(command, u"unknown action \"%1\""_s.arg(name), err);
    const QStringList allowed = QString::fromLatin1(action->options).split(u' ');
    for (auto it = call.values.cbegin(); it != call.values.cend(); ++it) {
        if (!allowed.contains(it.key()))
            return usageError(command, u"clients %1 takes no --%2"_s.arg(name, it.key()), err);
    }
    const QString operandsWanted = QString::fromLatin1(action->operands);
    const bool takesMany = operandsWanted.endsWith(u"..."_s);
    const bool mayTakeOne = operandsWanted.startsWith(u'[');
    // "ID", "KEEP OTHER": exactly that many.
    const qsizetype fixed = takesMany || mayTakeOne ? -1 : operandsWanted.split(u' ', Qt::SkipEmptyParts).size();
    if ((fixed >= 0 && operands.size() != fixed) || (takesMany && operands.isEmpty())
        || (mayTakeOne && operands.size() > 1))
        return usageError(command,
                          operandsWanted.isEmpty()
                              ? u"clients %1 takes no argument \"%2\""_s.arg(name, operands.front())
                              : u"clients %1 takes %2"_s.arg(name, operandsWanted),
                          err);

    Run run{command, call, out, err, clientBookFile(call)};
    if (name == u"list"_s)
        return run.list();
    if (name == u"add"_s)
        return run.add();
    if (name == u"show"_s)
        return run.show(operands.front());
    if (name == u"edit"_s)
        return run.edit(operands.front());
    if (name == u"remove"_s)
        return run.remove(operands.front());
    if (name == u"duplicates"_s)
        return run.duplicates();
    if (name == u"merge"_s)
        return run.merge(operands.at(0), operands.at(1));
    if (name == u"import"_s)
        return run.import(operands);
    if (name == u"rebuild-index"_s)
        return run.rebuildIndex();
    return run.exportTo(operands.value(0));
}

} // namespace

const Command kClientsCommand{
    "clients",
    "the client book: list, add, show, edit, remove, duplicates, merge, import, export, rebuild-index",
    "The client book: the people the practitioner keeps, shared with the suite's windows. Each action is the "
    "word after clients.",
    kestrava::ProgramId::NumerologyPro, // not a program: no reading is made
    kOptions,
    &jsonKeys,
    false,
    &run,
    kActions,
};
