#include "clientbook/clientmerge.h"

#include "common/numerology.h"
#include "platform/modaldialogs.h"
#include "widgets/clientlistmodel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString shownName(const kestrava::Person &person)
{
    const QString joined = person.joinedName();
    return joined.isEmpty() ? ClientListModel::listName(person) : joined;
}

// A client as the merge dialog sets them side by side.
QString clientCard(const clients::Client &client, int entries)
{
    const kestrava::Person &p = client.person;
    QStringList lines;
    lines << QStringLiteral("<b>%1</b>").arg(shownName(p).toHtmlEscaped());
    lines << QObject::tr("Born %1").arg(ClientListModel::dateText(p.birthDate));
    if (!kestrava::trimBlanks(p.nameNowUsed).isEmpty())
        lines << QObject::tr("Now uses the name %1").arg(p.nameNowUsed.toHtmlEscaped());
    lines << QObject::tr("E-mail: %1").arg(client.email.isEmpty() ? QObject::tr("none") : client.email.toHtmlEscaped());
    lines << QObject::tr("Phone: %1").arg(client.phone.isEmpty() ? QObject::tr("none") : client.phone.toHtmlEscaped());
    lines << (kestrava::trimBlanks(client.notes).isEmpty() ? QObject::tr("No notes") : QObject::tr("Has notes"));
    lines << (entries == 1 ? QObject::tr("1 reading or report") : QObject::tr("%1 readings and reports").arg(entries));
    return lines.join(QStringLiteral("<br>"));
}

} // namespace

MergeClientsDialog::MergeClientsDialog(const clients::ClientBook &book, const clients::Client &keep,
                                       const clients::Client &other, QWidget *parent)
    : QDialog(parent)
    , m_book(book)
    , m_keep(keep)
    , m_other(other)
{
    setObjectName(QStringLiteral("frmMergeClients"));
    setWindowTitle(tr("Merge Clients"));

    auto *keepTitle = new QLabel(tr("Keep this client:"), this);
    auto *otherTitle = new QLabel(tr("Merge this client into it:"), this);
    for (QLabel *title : {keepTitle, otherTitle}) {
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    const auto card = [this](const QString &name) {
        auto *label = new QLabel(this);
        label->setObjectName(name);
        label->setTextFormat(Qt::RichText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFrameShape(QFrame::StyledPanel);
        label->setMargin(8);
        label->setMinimumWidth(240);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    m_keepLabel = card(QStringLiteral("lblKeep"));
    m_otherLabel = card(QStringLiteral("lblOther"));
    auto *swapButton = new QPushButton(tr("&Swap"), this);
    swapButton->setObjectName(QStringLiteral("cmdSwap"));
    swapButton->setToolTip(tr("Keep the other client instead"));
    connect(swapButton, &QPushButton::clicked, this, &MergeClientsDialog::swap);

    m_fill = new QCheckBox(tr("&Fill the kept client's empty e-mail, phone and notes from the other"), this);
    m_fill->setObjectName(QStringLiteral("chkFill"));
    m_fill->setChecked(true);
    connect(m_fill, &QCheckBox::toggled, this, &MergeClientsDialog::describe);

    m_outcome = new QLabel(this);
    m_outcome->setObjectName(QStringLiteral("lblOutcome"));
    m_outcome->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *mergeButton = buttons->addButton(tr("&Merge"), QDialogButtonBox::AcceptRole);
    mergeButton->setObjectName(QStringLiteral("cmdMerge"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(keepTitle, 0, 0);
    grid->addWidget(otherTitle, 0, 2);
    grid->addWidget(m_keepLabel, 1, 0);
    grid->addWidget(swapButton, 1, 1, Qt::AlignCenter);
    grid->addWidget(m_otherLabel, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_fill);
    layout->addWidget(m_outcome);
    layout->addWidget(buttons);

    setTabOrder(swapButton, m_fill);
    setTabOrder(m_fill, mergeButton);
    describe();
    mergeButton->setFocus();
}

std::optional<MergeClientsDialog::Choice> MergeClientsDialog::ask(QWidget *owner, const clients::ClientBook &book,
                                                                  const clients::Client &keep,
                                                                  const clients::Client &other)
{
    QPointer<MergeClientsDialog> dialog = new MergeClientsDialog(book, keep, other, owner);
    const bool accepted = platform::runModal(owner, dialog) == QDialog::Accepted;
    const std::optional<Choice> choice = (accepted && dialog) ? std::optional(dialog->choice()) : std::nullopt;
    delete dialog;
    return choice;
}

MergeClientsDialog::Choice MergeClientsDialog::choice() const
{
    return {m_keep.id, m_other.id, m_fill->isChecked()};
}

void MergeClientsDialog::swap()
{
    std::swap(m_keep, m_other);
    describe();
}

void MergeClientsDialog::describe()
{
    const int keepEntries = int(m_book.history(m_keep.id).size());
    const int otherEntries = int(m_book.history(m_other.id).size());
    m_keepLabel->setText(clientCard(m_keep, keepEntries));
    m_otherLabel->setText(clientCard(m_other, otherEntries));
    const QString kept = shownName(m_keep.person), other = shownName(m_other.person);
    QString text = otherEntries == 0 ? tr("%1 has no readings or reports to move.").arg(other)
                   : otherEntries == 1
                       ? tr("The reading or report of %1 moves to the history of %2.").arg(other, kept)
                       : tr("The %1 readings and reports of %2 move to the history of %3.").arg(otherEntries).arg(other, kept);
    text += u' ' + tr("%1 keeps the names and birth date shown on the left; %2 is removed from the client book.")
                       .arg(kept, other);
    text += u' ' + tr("This cannot be undone.");
    m_outcome->setText(text);
}

PossibleDuplicatesDialog::PossibleDuplicatesDialog(const clients::ClientBook &book, Merge merge, Show show,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_book(book)
    , m_merge(std::move(merge))
    , m_show(std::move(show))
{
    setObjectName(QStringLiteral("frmPossibleDuplicates"));
    setWindowTitle(tr("Possible Duplicates"));

    auto *about = new QLabel(tr("Clients born the same day with the same last name (case and accents aside) may be "
                                "one person entered twice. Merge makes a pair one client with both histories."),
                             this);
    about->setWordWrap(true);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblDuplicatesCount"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstDuplicates"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({tr("Client"), tr("Possibly the same as"), tr("Born")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    m_list->setMinimumSize(560, 260);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &PossibleDuplicatesDialog::updateButtons);
    connect(m_list, &QTreeWidget::itemActivated, this, &PossibleDuplicatesDialog::mergeChosen);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_mergeButton = buttons->addButton(tr("&Merge..."), QDialogButtonBox::ActionRole);
    m_mergeButton->setObjectName(QStringLiteral("cmdMerge"));
    m_showButton = buttons->addButton(tr("&Show in Book"), QDialogButtonBox::ActionRole);
    m_showButton->setObjectName(QStringLiteral("cmdShow"));
    m_showButton->setToolTip(tr("Choose the first client of the pair in the client book"));
    connect(m_mergeButton, &QPushButton::clicked, this, &PossibleDuplicatesDialog::mergeChosen);
    connect(m_showButton, &QPushButton::clicked, this, &PossibleDuplicatesDialog::showChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    refresh();
    m_list->setFocus();
}

void PossibleDuplicatesDialog::refresh()
{
    const int row = m_list->currentIndex().row();
    m_pairs = m_book.possibleDuplicates();
    m_list->clear();
    for (const clients::PossibleDuplicate &pair : std::as_const(m_pairs)) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, ClientListModel::listName(pair.first.person));
        item->setText(1, ClientListModel::listName(pair.second.person));
        item->setText(2, ClientListModel::dateText(pair.first.person.birthDate));
    }
    if (!m_pairs.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(qBound(0, row, int(m_pairs.size()) - 1)));
    m_count->setText(m_pairs.isEmpty()  ? tr("No two clients share a birth date and a last name.")
                     : m_pairs.size() == 1 ? tr("1 pair may be one person.")
                                           : tr("%1 pairs may be one person each.").arg(m_pairs.size()));
    updateButtons();
}

void PossibleDuplicatesDialog::updateButtons()
{
    const bool chosen = m_list->currentIndex().isValid();
    m_mergeButton->setEnabled(chosen && m_book.isWritable());
    m_showButton->setEnabled(chosen);
}

void PossibleDuplicatesDialog::mergeChosen()
{
    const int row = m_list->currentIndex().row();
    if (row < 0 || row >= m_pairs.size() || !m_book.isWritable())
        return;
    const clients::PossibleDuplicate pair = m_pairs.at(row);
    if (m_merge && m_merge(pair.first, pair.second))
        refresh();
}

void PossibleDuplicatesDialog::showChosen()
{
    const int row = m_list->currentIndex().row();
    if (row < 0 || row >= m_pairs.size())
        return;
    if (m_show)
        m_show(m_pairs.at(row).first.id);
    accept();
}
