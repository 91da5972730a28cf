#pragma once

#include "clients/client.h"

#include <QDialog>

#include <optional>

class ClientListModel;
class QLabel;
class QLineEdit;
class QTableView;

namespace clients {
class ClientBook;
}

// The client picker: a search field over the list of clients.  Typing
// narrows the list at once; Enter (or a double click) picks the client
// under the selection, Escape picks no one.
class ClientPicker : public QDialog
{
    Q_OBJECT
public:
    ClientPicker(const clients::ClientBook &book, QWidget *parent = nullptr);

    // Runs the picker on behalf of owner; nothing when the user cancels.
    static std::optional<clients::Client> choose(QWidget *owner, const clients::ClientBook &book);

    std::optional<clients::Client> chosen() const { return m_chosen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void searchChanged(const QString &typed);
    void pick();

    ClientListModel *m_model = nullptr;
    QLineEdit *m_search = nullptr;
    QTableView *m_list = nullptr;
    QLabel *m_count = nullptr;
    std::optional<clients::Client> m_chosen;
};
