#include "widgets/clientlistmodel.h"

#include "clients/clientbook.h"
#include "common/datelists.h"
#include "common/numerology.h"

#include <QStringList>

namespace {

// Pages kept while browsing; scrolling through a large book drops the rest.
constexpr int kPagesKept = 64;

} // namespace

ClientListModel::ClientListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ClientListModel::setBook(const clients::ClientBook *book)
{
    m_book = book;
    reload();
}

void ClientListModel::setSearch(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed == m_search)
        return;
    m_search = trimmed;
    reload();
}

void ClientListModel::reload()
{
    beginResetModel();
    fill();
    endResetModel();
}

void ClientListModel::fill()
{
    m_pages.clear();
    m_found.clear();
    m_count = 0;
    m_searchCut = false;
    if (!m_book || !m_book->isReadable())
        return;
    if (m_search.isEmpty()) {
        m_count = m_book->count();
        return;
    }
    // One more than shown tells whether the search was cut.
    m_found = m_book->search(m_search, kSearchLimit + 1);
    m_searchCut = m_found.size() > kSearchLimit;
    if (m_searchCut)
        m_found.removeLast();
    m_count = int(m_found.size());
}

const clients::Client *ClientListModel::at(int row) const
{
    if (row < 0 || row >= m_count)
        return nullptr;
    if (!m_search.isEmpty())
        return &m_found.at(row);
    const int page = row / kPageSize;
    auto found = m_pages.find(page);
    if (found == m_pages.end()) {
        if (m_pages.size() >= kPagesKept)
            m_pages.clear();
        found = m_pages.insert(page, m_book->list(page * kPageSize, kPageSize));
    }
    const int inPage = row % kPageSize;
    return inPage < found->size() ? &found->at(inPage) : nullptr;
}

std::optional<clients::Client> ClientListModel::client(int row) const
{
    if (const clients::Client *c = at(row))
        return *c;
    return std::nullopt;
}

int ClientListModel::rowOf(qint64 id) const
{
    if (!m_search.isEmpty()) {
        for (int row = 0; row < m_found.size(); ++row) {
            if (m_found.at(row).id == id)
                return row;
        }
        return -1;
    }
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        for (int i = 0; i < page->size(); ++i) {
            if (page->at(i).id == id)
                return page.key() * kPageSize + i;
        }
    }
    return -1;
}

int ClientListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int ClientListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClientListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const clients::Client *c = at(index.row());
    if (!c)
        return {};
    if (index.column() == BornColumn)
        return dateText(c->person.birthDate);
    QString name = listName(c->person);
    if (!kestrava::trimBlanks(c->person.nameNowUsed).isEmpty())
        name += tr(" (now %1)").arg(kestrava::trimBlanks(c->person.nameNowUsed));
    return name;
}

QVariant ClientListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? tr("Name") : tr("Born");
}

QString ClientListModel::listName(const kestrava::Person &person)
{
    QStringList given;
    for (const QString &name : {person.firstName, person.middleName}) {
        if (const QString trimmed = kestrava::trimBlanks(name); !trimmed.isEmpty())
            given << trimmed;
    }
    const QString last = kestrava::trimBlanks(person.lastName);
    if (last.isEmpty())
        return given.join(u' ');
    if (given.isEmpty())
        return last;
    return last + QStringLiteral(", ") + given.join(u' ');
}

QString ClientListModel::dateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1 %2 %3").arg(date.day()).arg(kestrava::monthNames().at(date.month() - 1)).arg(date.year());
}
