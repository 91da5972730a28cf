#include "cli/clientaccess.h"

#include "clients/booklocation.h"
#include "common/jsonwriter.h"

#include <QFileInfo>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

QString clientBookFile(const Invocation &call)
{
    return clients::clientBookLocation(call.values.value(u"clients"_s));
}

std::unique_ptr<clients::ClientBook> openClientBook(const QString &path, bool change, QTextStream &err,
                                                     bool &failed)
{
    failed = false;
    // Looking at a book must not leave an empty one behind (a mistyped
    // --clients would otherwise make a file).
    if (!change && !QFileInfo::exists(path))
        return nullptr;
    auto book = std::make_unique<clients::ClientBook>(path);
    if (!book->isReadable() || (change && !book->isWritable())) {
        const QString why = book->problem() ? book->problem()->message : u"cannot open the client book %1"_s.arg(path);
        err << "kestrava-cli: " << why << "\n";
        failed = true;
        return nullptr;
    }
    return book;
}

std::optional<clients::Client> findClient(const clients::ClientBook *book, const QString &path,
                                          const QString &idText, QTextStream &err)
{
    bool ok = false;
    const qint64 id = idText.toLongLong(&ok);
    if (!ok || id <= 0) {
        err << "kestrava-cli: a client ID is a whole number from 1, not \"" << idText << "\"\n";
        return std::nullopt;
    }
    std::optional<clients::Client> found = book ? book->client(id) : std::nullopt;
    if (!found)
        err << "kestrava-cli: the client book " << path << " has no client with ID " << id << "\n";
    return found;
}

QString commandNameOf(kestrava::ProgramId program)
{
    switch (program) {
    case kestrava::ProgramId::Astrology:
        return u"astrology"_s;
    case kestrava::ProgramId::NumerologyPro:
        return u"numerology"_s;
    case kestrava::ProgramId::Tarot:
        return u"tarot"_s;
    case kestrava::ProgramId::Daily:
        return u"daily"_s;
    case kestrava::ProgramId::Runes:
        return u"runes"_s;
    case kestrava::ProgramId::Tantric:
        return u"tantric"_s;
    }
    return QString::number(int(program));
}

namespace {

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

} // namespace

QByteArray clientJson(const clients::Client &client, const QList<clients::ReadingEntry> *history)
{
    const kestrava::Person &p = client.person;
    kestrava::JsonObjectWriter json;
    json.add("id", client.id)
        .add("first", p.firstName)
        .add("middle", p.middleName)
        .add("last", p.lastName)
        .add("born", p.birthDate.toString(Qt::ISODate))
        .add("now", p.nameNowUsed)
        .add("email", client.email)
        .add("phone", client.phone)
        .add("notes", client.notes)
        .add("added", timeText(client.added))
        .add("changed", timeText(client.changed));
    if (history) {
        kestrava::JsonWriter &entries = json.member("history").beginArray();
        for (const clients::ReadingEntry &entry : *history) {
            entries.beginObject()
                .key("program").value(entry.program ? commandNameOf(*entry.program) : u"report"_s)
                .key("at").value(timeText(entry.at));
            // The inputs are a JSON object, kept in its own key order while
            // it is on one line; anything else the book holds is shown as
            // the text it is.
            const QByteArray inputs = entry.inputs.toUtf8();
            const QJsonDocument parsed = QJsonDocument::fromJson(inputs);
            if (parsed.isObject())
                entries.key("inputs").json(inputs.contains('\n') ? parsed.toJson(QJsonDocument::Compact) : inputs.trimmed());
            else
                entries.key("inputs").value(entry.inputs);
            entries.endObject();
        }
        entries.endArray();
    }
    return json.finish();
}

std::optional<int> ClientReading::find(const Invocation &call, const QString &idText, QTextStream &err)
{
    m_path = clientBookFile(call);
    bool failed = false;
    m_book = openClientBook(m_path, false, err, failed);
    if (failed)
        return kExitUsage;
    m_client = findClient(m_book.get(), m_path, idText, err);
    if (!m_client)
        return kExitUsage;
    return std::nullopt;
}

std::optional<int> ClientReading::fill(const Command &command, Invocation &call, QTextStream &err)
{
    if (const std::optional<int> failed = find(call, call.values.value(u"client"_s), err))
        return failed;

    // Names as every reading takes them, whatever --keep-case says: the
    // book keeps them as written.
    const kestrava::Person person = kestrava::readingPerson(m_client->person);
    auto set = [&](Field field, const QString &text) {
        if (command.hasField(field)) {
            call.given[std::size_t(field)] = text;
            call.isSet[std::size_t(field)] = true;
        }
    };
    set(Field::Name, person.joinedName());
    set(Field::First, person.firstName);
    set(Field::Middle, person.middleName);
    set(Field::Last, person.lastName);
    set(Field::Born, person.birthDate.toString(Qt::ISODate));
    return std::nullopt;
}

int ClientReading::record(const Command &command, const Subject &subject, QTextStream &err)
{
    // The inputs as the reading took them, named as the options.
    kestrava::JsonObjectWriter inputs;
    for (Field field : {Field::Name, Field::First, Field::Middle, Field::Last, Field::Month, Field::Day, Field::Year,
                        Field::Today, Field::Seed, Field::Married}) {
        const OptionEntry *option = command.option(field);
        if (!option || ((field == Field::Seed || field == Field::Married) && subject.text(field).isEmpty()))
            continue;
        if (field == Field::Today)
            inputs.add(option->name, subject.today.toString(Qt::ISODate));
        else
            inputs.add(option->name, subject.text(field));
    }
    return add({0, m_client->id, command.program, QDateTime::currentDateTimeUtc(), QString::fromUtf8(inputs.finish())},
               err);
}

int ClientReading::recordReport(const QJsonObject &request, QTextStream &err)
{
    return add(clients::ReadingEntry::report(m_client->id, QDateTime::currentDateTimeUtc(),
                                             QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact))),
               err);
}

int ClientReading::recordReading(kestrava::ProgramId program, const QJsonObject &inputs, QTextStream &err)
{
    return add({0, m_client->id, program, QDateTime::currentDateTimeUtc(),
                QString::fromUtf8(QJsonDocument(inputs).toJson(QJsonDocument::Compact))},
               err);
}

int ClientReading::add(const clients::ReadingEntry &entry, QTextStream &err)
{
    const QString what = entry.program ? u"reading"_s : u"report"_s;
    if (m_book->isWritable()) {
        if (const clients::Result<clients::ReadingEntry> added = m_book->addReading(entry))
            return kExitDone;
        else
            err << "kestrava-cli: the " << what << " was not added to the client's history: "
                << added.failure().reason << "\n";
    } else {
        err << "kestrava-cli: the " << what << " was not added to the client's history: "
            << (m_book->problem() ? m_book->problem()->message : QString()) << "\n";
    }
    return kExitSomeFailed;
}
