#include "widgets/clientpicker.h"

#include "clients/clientbook.h"
#include "platform/modaldialogs.h"
#include "widgets/clientlistmodel.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ClientPicker::ClientPicker(const clients::ClientBook &book, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChooseClient"));
    setWindowTitle(tr("Choose Client"));

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtClientSearch"));
    m_search->setPlaceholderText(tr("Name or birth date"));
    m_search->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(tr("&Search:"), this);
    searchLabel->setBuddy(m_search);

    m_model = new ClientListModel(this);
    m_model->setBook(&book);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("lstClients"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setSectionResizeMode(ClientListModel::NameColumn, QHeaderView::Stretch);
    m_list->horizontalHeader()->setSectionResizeMode(ClientListModel::BornColumn, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(420, 300);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblClientCount"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Choose"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ClientPicker::pick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &ClientPicker::searchChanged);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &ClientPicker::pick);
    // Up and Down in the search field move through the list, so that the
    // hands stay on the keys: type, arrow, Enter.
    m_search->installEventFilter(this);
    searchChanged(QString());
    m_search->setFocus();
}

void ClientPicker::searchChanged(const QString &typed)
{
    m_model->setSearch(typed);
    if (m_model->rowCount() > 0)
        m_list->selectRow(0);
    if (m_model->rowCount() == 0)
        m_count->setText(m_model->search().isEmpty() ? tr("The client book is empty.") : tr("No client found."));
    else if (m_model->isSearchCut())
        m_count->setText(tr("The %1 closest matches; type more to narrow them.").arg(m_model->rowCount()));
    else if (m_model->search().isEmpty())
        m_count->setText(m_model->rowCount() == 1 ? tr("1 client") : tr("%1 clients").arg(m_model->rowCount()));
    else
        m_count->setText(tr("%n found", nullptr, m_model->rowCount()));
}

bool ClientPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(m_list, &copy);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ClientPicker::pick()
{
    const QModelIndex current = m_list->currentIndex();
    m_chosen = current.isValid() ? m_model->client(current.row()) : std::nullopt;
    if (m_chosen)
        accept();
}

std::optional<clients::Client> ClientPicker::choose(QWidget *owner, const clients::ClientBook &book)
{
    QPointer<ClientPicker> picker = new ClientPicker(book, owner);
    const bool accepted = platform::runModal(owner, picker) == QDialog::Accepted;
    const std::optional<clients::Client> chosen = (accepted && picker) ? picker->chosen() : std::nullopt;
    delete picker;
    return chosen;
}
