// The client book's search: how typed words become tests on the search
// table, and the queries that find clients closest first.
#include "clients/clientbook.h"

#include "clients/clientrow.h"
#include "clients/searchtext.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

using namespace Qt::StringLiterals;
using kestrava::Failure;
using kestrava::MaybeFailure;

namespace clients {

namespace {

// A test on the search table with the values its marks take, in order.
struct Condition
{
    QString sql;
    QStringList values;

    Condition operator&&(const Condition &other) const
    {
        return {u'(' + sql + u" AND "_s + other.sql + u')', values + other.values};
    }
    Condition operator!() const { return {u"NOT "_s + sql, values}; }
};

// How closely a client matches the typed words, from the closest: every word
// a whole name word (or the date), every word the start of one, every word
// inside one, every word inside one or inside the client's history.
struct Closeness
{
    Condition exact, prefix, anywhere, history;

    explicit Closeness(const QStringList &terms)
    {
        // The stored words have a blank before and after each word: " mary
        // ann smith 1979-08-06 ".
        QStringList exactTests, prefixTests, anywhereTests, historyTests;
        for (const QString &term : terms) {
            exactTests.append(u"instr(s.words, ?) > 0"_s);
            exact.values.append(u' ' + term + u' ');
            prefixTests.append(u"instr(s.words, ?) > 0"_s);
            prefix.values.append(u' ' + term);
            anywhereTests.append(u"instr(s.words, ?) > 0"_s);
            anywhere.values.append(term);
            historyTests.append(u"(instr(s.words, ?) > 0 OR instr(s.history, ?) > 0)"_s);
            history.values << term << term;
        }
        exact.sql = u'(' + exactTests.join(u" AND "_s) + u')';
        prefix.sql = u'(' + prefixTests.join(u" AND "_s) + u')';
        anywhere.sql = u'(' + anywhereTests.join(u" AND "_s) + u')';
        history.sql = u'(' + historyTests.join(u" AND "_s) + u')';
    }
    // Each closeness alone, closest first: what a client of each passes.
    QList<Condition> steps() const
    {
        return {exact, prefix && !exact, anywhere && !prefix, history && !anywhere};
    }
};

// Enough for anything typed into a search field; more words only narrow.
constexpr qsizetype kMostTerms = 8;

QStringList termsOf(const QString &typed)
{
    return searchTerms(typed).mid(0, kMostTerms);
}

} // namespace

QList<Client> ClientBook::search(const QString &typed, int limit) const
{
    const QStringList terms = termsOf(typed);
    if (terms.isEmpty())
        return list(0, limit);
    if (!m_readable || limit == 0)
        return {};
    if (limit < 0) {
        QList<Client> all;
        forEachMatch(typed, [&all](const Client &c) {
            all.append(c);
            return true;
        });
        return all;
    }
    const Closeness closeness(terms);

    struct Hit
    {
        Client client;
        int closeness;
    };
    // The first `count` clients in the list's order that pass `where`, with
    // their closeness.  The table is kept in that order, so a test many
    // clients pass stops early.
    auto hits = [&](const Condition &where, int count) {
        QList<Hit> found;
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        query.prepare(u"SELECT %1, CASE WHEN %2 THEN 0 WHEN %3 THEN 1 WHEN %4 THEN 2 ELSE 3 END"
                      " FROM client_search s JOIN clients c ON c.id = s.client_id"
                      " WHERE %5 ORDER BY s.sort_key, s.client_id LIMIT ?"_s.arg(
                          kClientColumns, closeness.exact.sql, closeness.prefix.sql, closeness.anywhere.sql,
                          where.sql));
        for (const QStringList &values :
             {closeness.exact.values, closeness.prefix.values, closeness.anywhere.values, where.values}) {
            for (const QString &value : values)
                query.addBindValue(value);
        }
        query.addBindValue(count);
        if (query.exec()) {
            while (query.next())
                found.append({clientFrom(query), query.value(11).toInt()});
        }
        if (query.lastError().isValid())
            readFailure(query.lastError());
        return found;
    };

    // Most searches match a few hundred clients at most: one pass finds
    // them all, and they only need putting closest first.
    constexpr int kOnePass = 500;
    const int gather = std::max(limit, kOnePass);
    QList<Hit> chosen = hits(closeness.history, gather);
    if (chosen.size() < gather) {
        std::stable_sort(chosen.begin(), chosen.end(),
                         [](const Hit &a, const Hit &b) { return a.closeness < b.closeness; });
        chosen = chosen.mid(0, limit);
    } else {
        // Many matches: take each closeness in turn until the page is full.
        chosen.clear();
        for (const Condition &step : closeness.steps()) {
            if (chosen.size() >= limit)
                break;
            chosen += hits(step, limit - int(chosen.size()));
        }
    }
    QList<Client> clients;
    clients.reserve(chosen.size());
    for (const Hit &hit : std::as_const(chosen))
        clients.append(hit.client);
    return clients;
}

MaybeFailure ClientBook::forEachMatch(const QString &typed, const std::function<bool(const Client &)> &take) const
{
    if (!m_readable)
        return Failure{m_problem ? m_problem->message : u"The client book is not open."_s};
    const QStringList terms = termsOf(typed);
    // Each closeness in turn, each in the list's order: the search table is
    // kept in that order, so every pass reads it from start to end once,
    // with no sorting and nothing held back.
    const QList<Condition> steps =
        terms.isEmpty() ? QList<Condition>{Condition{u"1"_s, {}}} : Closeness(terms).steps();
    for (const Condition &step : steps) {
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        query.prepare(u"SELECT %1 FROM client_search s JOIN clients c ON c.id = s.client_id"
                      " WHERE %2 ORDER BY s.sort_key, s.client_id"_s.arg(kClientColumns, step.sql));
        for (const QString &value : step.values)
            query.addBindValue(value);
        if (!query.exec())
            return readFailure(query.lastError());
        while (query.next()) {
            if (!take(clientFrom(query)))
                return std::nullopt;
        }
        if (query.lastError().isValid())
            return readFailure(query.lastError());
    }
    return std::nullopt;
}

void ClientBook::prepareSearch() const
{
    if (!m_readable)
        return;
    // Touches every word of the search table, as a search for a word no
    // client has does.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT count(*) FROM client_search s WHERE instr(s.words, ' ') = 0 AND instr(s.history, ' ') = 0"_s)
        || !query.next())
        readFailure(query.lastError());
}

} // namespace clients
