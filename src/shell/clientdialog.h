#pragma once

#include "clients/client.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace platform {
class MessageBoxes;
}

// Adding or changing a client: the birth names, the name now used, the
// birth date, the ways to reach them and notes.  OK checks the client as the
// book would store it and says what is missing.
class ClientDialog : public QDialog
{
    Q_OBJECT
public:
    ClientDialog(const clients::Client &client, platform::MessageBoxes &messages, QWidget *parent = nullptr);

    // Runs the dialog on behalf of owner: the client as edited, or nothing
    // when the user cancels.
    static std::optional<clients::Client> edit(QWidget *owner, const clients::Client &client,
                                               platform::MessageBoxes &messages);

    // The client as the fields hold it.
    clients::Client client() const;

    void accept() override;

private:
    clients::Client m_client;
    platform::MessageBoxes &m_messages;
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
