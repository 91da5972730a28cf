#pragma once

#include "clients/client.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace clients {
class ClientBook;
}

// The clients of a book as a table (name, birth date) for the client book
// window and the client picker.  Without a search it shows the whole book,
// fetching only the pages the view asks for, so a book of 100,000 clients
// scrolls as fast as one of ten; with a search it holds the closest matches,
// at most kSearchLimit of them.
class ClientListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kPageSize = 200;
    // Enough to scroll through; a few more letters narrow it.  Each search
    // stops once it has this many, so a loose one stays quick.
    static constexpr int kSearchLimit = 100;
    enum Column { NameColumn, BornColumn, ColumnCount };

    explicit ClientListModel(QObject *parent = nullptr);

    // The book shown; null shows nothing.  The book must outlive the model
    // or be replaced first.
    void setBook(const clients::ClientBook *book);
    // What the user typed; empty shows the whole book.
    void setSearch(const QString &typed);
    QString search() const { return m_search; }
    // Reads the book again after a change.
    void reload();

    // The client in a row, if the row is there.
    std::optional<clients::Client> client(int row) const;
    // The row of a client among those shown, or -1.  Browsing, only the
    // pages already fetched are looked through.
    int rowOf(qint64 id) const;
    // True when the search found more than kSearchLimit clients and only
    // the closest are shown.
    bool isSearchCut() const { return m_searchCut; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "SMITH, MARY ANN" and "6 August 1979", as the list shows them.
    static QString listName(const kestrava::Person &person);
    static QString dateText(const QDate &date);

private:
    const clients::Client *at(int row) const;
    void fill();

    const clients::ClientBook *m_book = nullptr;
    QString m_search;
    int m_count = 0;
    bool m_searchCut = false;
    QList<clients::Client> m_found;                      // while searching
    mutable QHash<int, QList<clients::Client>> m_pages; // while browsing
};
