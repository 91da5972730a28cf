#include "clientbook/clientdialog.h"

#include "clients/clientbook.h"
#include "common/datelists.h"
#include "common/numerology.h"
#include "platform/messageboxes.h"
#include "platform/modaldialogs.h"
#include "widgets/inputfields.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {

// The book keeps people born long before the programs' own year lists begin
// (an imported family tree); the dialog offers their years too.
constexpr int kFirstYear = 1800;

} // namespace

ClientDialog::ClientDialog(const clients::Client &client, platform::MessageBoxes &messages, Store store,
                           QWidget *parent)
    : QDialog(parent)
    , m_client(client)
    , m_messages(messages)
    , m_store(std::move(store))
{
    setObjectName(QStringLiteral("frmClient"));
    setWindowTitle(client.id == 0 ? tr("Add Client") : tr("Edit Client"));

    m_first = inputfields::makeNameField(QStringLiteral("txtFirstName"), this);
    m_middle = inputfields::makeNameField(QStringLiteral("txtMiddleName"), this);
    m_last = inputfields::makeNameField(QStringLiteral("txtLastName"), this);
    m_now = inputfields::makeNameField(QStringLiteral("txtNameNow"), this);
    const inputfields::DateLists dates = inputfields::makeDateLists(this, kFirstYear);
    m_month = dates.month;
    m_day = dates.day;
    m_year = dates.year;
    m_email = new QLineEdit(this);
    m_email->setObjectName(QStringLiteral("txtEmail"));
    m_phone = new QLineEdit(this);
    m_phone->setObjectName(QStringLiteral("txtPhone"));
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("txtNotes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setMinimumHeight(m_notes->fontMetrics().lineSpacing() * 5);

    m_first->setText(client.person.firstName);
    m_middle->setText(client.person.middleName);
    m_last->setText(client.person.lastName);
    m_now->setText(client.person.nameNowUsed);
    m_month->setPlaceholderText(tr("Month"));
    m_day->setPlaceholderText(tr("Day"));
    m_year->setPlaceholderText(tr("Year"));
    const QDate born = client.person.birthDate;
    if (born.isValid() && !inputfields::selectDate(dates, born)) {
        // A year outside the list (an imported family tree reaches back
        // further): the list offers it, so that the date shows as it is.
        const QString year = QString::number(born.year());
        int at = 0;
        while (at < m_year->count() && m_year->itemText(at).toInt() < born.year())
            ++at;
        m_year->insertItem(at, year);
        inputfields::selectDate(dates, born);
    }
    if (!born.isValid()) {
        for (QComboBox *list : {m_month, m_day, m_year})
            list->setCurrentIndex(-1);
    }
    m_email->setText(client.email);
    m_phone->setText(client.phone);
    m_notes->setPlainText(client.notes);

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_month, 2);
    dateRow->addWidget(m_day, 1);
    dateRow->addWidget(m_year, 1);
    auto *form = new QFormLayout;
    form->addRow(tr("&First name:"), m_first);
    form->addRow(tr("&Middle name:"), m_middle);
    form->addRow(tr("&Last name:"), m_last);
    form->addRow(tr("&Born:"), dateRow);
    form->addRow(tr("Name &now used:"), m_now);
    form->addRow(tr("&E-mail:"), m_email);
    form->addRow(tr("&Phone:"), m_phone);
    form->addRow(tr("N&otes:"), m_notes);
    if (auto *born = qobject_cast<QLabel *>(form->labelForField(dateRow)))
        born->setBuddy(m_month);
    auto *hint = new QLabel(tr("The names at birth and the birth date are what the readings use."), this);
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ClientDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    setMinimumWidth(440);

    setTabOrder(m_first, m_middle);
    setTabOrder(m_middle, m_last);
    setTabOrder(m_last, m_month);
    setTabOrder(m_month, m_day);
    setTabOrder(m_day, m_year);
    setTabOrder(m_year, m_now);
    setTabOrder(m_now, m_email);
    setTabOrder(m_email, m_phone);
    setTabOrder(m_phone, m_notes);
    m_first->setFocus();
}

clients::Client ClientDialog::client() const
{
    clients::Client c = m_client;
    c.person.firstName = m_first->text();
    c.person.middleName = m_middle->text();
    c.person.lastName = m_last->text();
    c.person.nameNowUsed = m_now->text();
    const bool chosen = m_month->currentIndex() >= 0 && m_day->currentIndex() >= 0 && m_year->currentIndex() >= 0;
    c.person.birthDate = chosen ? QDate(m_year->currentText().toInt(), m_month->currentIndex() + 1,
                                        m_day->currentText().toInt())
                                : QDate();
    c.email = m_email->text();
    c.phone = m_phone->text();
    c.notes = m_notes->toPlainText();
    return c;
}

void ClientDialog::accept()
{
    const clients::Client c = client();
    if (const kestrava::MaybeFailure problem = clients::checkClient(c)) {
        QComboBox *unchosen = nullptr;
        for (QComboBox *list : {m_month, m_day, m_year}) {
            if (!unchosen && list->currentIndex() < 0)
                unchosen = list;
        }
        QString text;
        QWidget *focus = nullptr;
        const bool noName =
            kestrava::trimBlanks(c.person.firstName).isEmpty() && kestrava::trimBlanks(c.person.lastName).isEmpty();
        if (noName) {
            text = tr("Please enter a first or a last name.");
            focus = m_first;
        } else if (unchosen) {
            text = tr("Please choose the birth date: the month, the day and the year.");
            focus = unchosen;
        } else {
            text = tr("%1 %2 has no day %3. Please choose the birth date again.")
                       .arg(m_month->currentText(), m_year->currentText(), m_day->currentText());
            focus = m_day;
        }
        m_messages.inform(this, platform::Icon::Information, text);
        focus->setFocus();
        return;
    }
    if (m_store && !m_store(this, c))
        return;
    QDialog::accept();
}

std::optional<clients::Client> ClientDialog::edit(QWidget *owner, const clients::Client &client,
                                                  platform::MessageBoxes &messages, Store store)
{
    QPointer<ClientDialog> dialog = new ClientDialog(client, messages, std::move(store), owner);
    const bool accepted = platform::runModal(owner, dialog) == QDialog::Accepted;
    const std::optional<clients::Client> edited = (accepted && dialog) ? std::optional(dialog->client()) : std::nullopt;
    delete dialog;
    return edited;
}
