#pragma once

#include "clients/client.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace platform {
class MessageBoxes;
}

// Adding or changing a client: the birth names, the name now used, the
// birth date, the ways to reach them and notes.  A client without a birth
// date starts with no date chosen: nobody is born on a date the lists happen
// to show.  OK checks the client as the book would store it and says what is
// missing.
class ClientDialog : public QDialog
{
    Q_OBJECT
public:
    // Takes the client as entered once OK has checked it; says why it was
    // refused (the dialog is the parent of any message) and gives false, and
    // the dialog then stays open with what the user typed.
    using Store = std::function<bool(QWidget *dialog, const clients::Client &client)>;

    ClientDialog(const clients::Client &client, platform::MessageBoxes &messages, Store store = {},
                 QWidget *parent = nullptr);

    // Runs the dialog on behalf of owner: the client as edited (and stored,
    // when store is given), or nothing when the user cancels.
    static std::optional<clients::Client> edit(QWidget *owner, const clients::Client &client,
                                               platform::MessageBoxes &messages, Store store = {});

    // The client as the fields hold it.
    clients::Client client() const;

    void accept() override;

private:
    clients::Client m_client;
    platform::MessageBoxes &m_messages;
    Store m_store;
    QLineEdit *m_first = nullptr;
    QLineEdit *m_middle = nullptr;
    QLineEdit *m_last = nullptr;
    QLineEdit *m_now = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_day = nullptr;
    QComboBox *m_year = nullptr;
    QLineEdit *m_email = nullptr;
    QLineEdit *m_phone = nullptr;
    QPlainTextEdit *m_notes = nullptr;
};
