#pragma once

#include "common/brand.h"
#include "common/failure.h"
#include "common/person.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The values the client book hands out and takes in.
namespace clients {

// One person in the book with the ways to reach them.
struct Client
{
    qint64 id = 0; // 0 while the client is not in the book
    kestrava::Person person;
    QString email;
    QString phone;
    QString notes;
    QDateTime added;   // UTC, set by the book
    QDateTime changed; // UTC, set by the book

    friend bool operator==(const Client &, const Client &) = default;
};

// One entry of a client's history: a reading one program gave, or a report
// composed from all of them; when; and the inputs it ran on (JSON text, as
// the program or the report writes it).
struct ReadingEntry
{
    qint64 id = 0; // 0 while the entry is not in the book
    qint64 clientId = 0;
    // The program that gave the reading; nothing for a report.
    std::optional<kestrava::ProgramId> program = kestrava::ProgramId::NumerologyPro;
    QDateTime at; // UTC
    QString inputs;

    // A report made for the client at `at`, with what it was made from.
    static ReadingEntry report(qint64 clientId, const QDateTime &at, const QString &inputs)
    {
        return {0, clientId, std::nullopt, at, inputs};
    }
    bool isReport() const { return !program.has_value(); }

    friend bool operator==(const ReadingEntry &, const ReadingEntry &) = default;
};

// Everything a deletion took away, so that undoing it brings the client back
// as they were: same number, same history.
struct DeletedClient
{
    Client client;
    QList<ReadingEntry> history;
};

// A value or the reason there is none.
template <typename T>
class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(kestrava::Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }
    // Empty when ok().
    const kestrava::Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    kestrava::Failure m_failure;
};

} // namespace clients
