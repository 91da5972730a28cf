#include "clientbook/clientbookwindow.h"

#include "clientbook/clientdialog.h"
#include "clientbook/clientmerge.h"
#include "clients/clientbook.h"
#include "clients/clientcsv.h"
#include "clients/clientimport.h"
#include "clients/historytext.h"
#include "common/filenames.h"
#include "common/numerology.h"
#include "common/savefile.h"
#include "platform/modaldialogs.h"
#include "shell/commonmenus.h"
#include "widgets/afterfirstpaint.h"
#include "widgets/clientlistmodel.h"
#include "widgets/clientpicker.h"
#include "widgets/programhost.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSaveFile>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using kestrava::ProgramId;

// The programs in the launcher's order: two rows of three.
constexpr std::array<ProgramId, kestrava::kProgramCount> kReadOrder = {
    ProgramId::NumerologyPro, ProgramId::Astrology, ProgramId::Tarot,
    ProgramId::Tantric,       ProgramId::Daily,     ProgramId::Runes,
};

// Refusals listed in the import report; the rest are counted.
constexpr int kRefusalsListed = 12;

QString personName(const kestrava::Person &person)
{
    const QString joined = person.joinedName();
    return joined.isEmpty() ? ClientListModel::listName(person) : joined;
}

// The history's details, wrapped at the column's width: an entry in words
// takes the lines it needs instead of ending in "...".
class WrappedDetails : public QStyledItemDelegate
{
public:
    WrappedDetails(QTreeWidget *view, int column) : QStyledItemDelegate(view), m_view(view), m_column(column)
    {
        // The rows are measured again once the columns have their widths.
        connect(view->header(), &QHeaderView::sectionResized, view, [view, column](int section) {
            if (section == column)
                QTimer::singleShot(0, view, [view] { view->doItemsLayout(); });
        });
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() != m_column)
            return size;
        const int width = std::max(40, m_view->header()->sectionSize(m_column) - 12);
        const QRect text = option.fontMetrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap,
                                                           index.data().toString());
        size.setHeight(std::max(size.height(), text.height() + 4));
        return size;
    }

private:
    QTreeWidget *m_view;
    int m_column;
};

QAction *windowAction(QWidget *window, QMenu *menu, const QString &text, const QString &name,
                      const QKeySequence &key = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        // The main window and the program windows share one top-level
        // window: the keys work while this window has the focus.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        window->addAction(action);
    }
    return action;
}

} // namespace

ClientBookWindow::ClientBookWindow(ProgramHost &host, clients::ClientBook &book,
                                   clients::SavedReadingKinds savedReadingKinds, ReadWith readWith)
    : ProgramWindow(host, QStringLiteral("frmClientBook"), tr("Client Book"))
    , m_book(book)
    , m_savedReadingKinds(std::move(savedReadingKinds))
    , m_readWith(std::move(readWith))
{
    // A window to work in for a while: it can be resized and maximised.
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *page = body();

    m_problem = new QLabel(page);
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #5c3c00; padding: 6px; }"));
    m_problem->setVisible(book.problem().has_value());
    if (book.problem()) {
        m_problem->setText(book.isReadable() ? tr("%1 The book is open for reading only.").arg(book.problem()->message)
                                             : book.problem()->message);
    }

    // Shown when a read meets a damaged part of the book: the list may then
    // miss clients, and the search index can be made again from them.
    m_damage = new QFrame(page);
    m_damage->setObjectName(QStringLiteral("fraDamage"));
    m_damage->setStyleSheet(QStringLiteral("QFrame#fraDamage { background: #f8d7da; } QLabel { color: #58151c; }"));
    auto *damageText = new QLabel(
        tr("Part of the client book is damaged, so some clients may be missing from the list and the search. "
           "Rebuild Search Index makes the index again from the clients themselves; Export as CSV saves every "
           "client that can still be read."),
        m_damage);
    damageText->setObjectName(QStringLiteral("lblDamage"));
    damageText->setWordWrap(true);
    m_rebuild = new QPushButton(tr("&Rebuild Search Index"), m_damage);
    m_rebuild->setObjectName(QStringLiteral("cmdRebuildIndex"));
    connect(m_rebuild, &QPushButton::clicked, this, &ClientBookWindow::rebuildSearchIndex);
    auto *damageRow = new QHBoxLayout(m_damage);
    damageRow->setContentsMargins(6, 6, 6, 6);
    damageRow->addWidget(damageText, 1);
    damageRow->addWidget(m_rebuild, 0, Qt::AlignVCenter);
    m_damage->hide();

    auto *splitter = new QSplitter(Qt::Horizontal, page);
    splitter->setObjectName(QStringLiteral("splClients"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildListSide());
    splitter->addWidget(buildDetailsSide());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    m_status = new QLabel(page);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_undo = new QPushButton(tr("&Undo"), page);
    m_undo->setObjectName(QStringLiteral("cmdUndo"));
    m_undo->hide();
    connect(m_undo, &QPushButton::clicked, this, &ClientBookWindow::undoDelete);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_undo);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_problem);
    layout->addWidget(m_damage);
    layout->addWidget(splitter, 1);
    layout->addLayout(statusRow);

    buildMenus();

    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_delete);
    setTabOrder(m_delete, m_duplicates);
    setTabOrder(m_duplicates, m_readButtons[0]);
    for (std::size_t i = 1; i < m_readButtons.size(); ++i)
        setTabOrder(m_readButtons[i - 1], m_readButtons[i]);
    setTabOrder(m_readButtons.back(), m_history);
    setTabOrder(m_history, m_notes);

    m_model->setBook(&book);
    searchChanged(QString());
    // Other programs change the file too: the window looks while it is
    // shown, and whenever it becomes the active window.
    m_dataVersion = book.dataVersion();
    m_watch = new QTimer(this);
    m_watch->setInterval(kCheckIntervalMs);
    connect(m_watch, &QTimer::timeout, this, &ClientBookWindow::checkForChanges);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &ClientBookWindow::checkForChanges);
    // The first search of a large book would otherwise read the whole
    // search table from the file while the user waits for a keystroke.
    new AfterFirstPaint(m_list->viewport(), [this] {
        m_book.prepareSearch();
        showDamage();
    });
    if (book.problem())
        host.services().messages->inform(this, book.isReadable() ? platform::Icon::Warning : platform::Icon::Error,
                                         m_problem->text());
    resize(1100, 700);
    m_search->setFocus();
}

QWidget *ClientBookWindow::buildListSide()
{
    auto *side = new QWidget;
    m_search = new QLineEdit(side);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(tr("Name, birth date (1979-08-06 or 6.8.1979) or history"));
    m_search->setToolTip(tr("Finds clients by their names, their birth date or their history: a program's name, "
                            "\"report\", a year or the name of a saved file."));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    auto *searchLabel = new QLabel(tr("&Search:"), side);
    searchLabel->setBuddy(m_search);
    connect(m_search, &QLineEdit::textChanged, this, &ClientBookWindow::searchChanged);

    m_model = new ClientListModel(this);
    m_list = new QTableView(side);
    m_list->setObjectName(QStringLiteral("lstClients"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setShowGrid(false);
    m_list->setAlternatingRowColors(true);
    m_list->setWordWrap(false);
    // Rows of one fixed height: the view never measures the rows it does
    // not show, which keeps a book of 100,000 clients quick.
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 8);
    m_list->horizontalHeader()->setSectionResizeMode(ClientListModel::NameColumn, QHeaderView::Stretch);
    m_list->horizontalHeader()->setSectionResizeMode(ClientListModel::BornColumn, QHeaderView::Fixed);
    m_list->horizontalHeader()->resizeSection(ClientListModel::BornColumn,
                                              m_list->fontMetrics().horizontalAdvance(QStringLiteral("30 September 2050")) + 24);
    m_list->setMinimumWidth(360);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ClientBookWindow::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ClientBookWindow::selectionChanged);
    // Enter and a double click edit the client.
    connect(m_list, &QAbstractItemView::activated, this, [this] {
        if (m_book.isWritable())
            editClient();
    });

    m_count = new QLabel(side);
    m_count->setObjectName(QStringLiteral("lblCount"));

    m_add = new QPushButton(tr("&Add..."), side);
    m_add->setObjectName(QStringLiteral("cmdAdd"));
    connect(m_add, &QPushButton::clicked, this, &ClientBookWindow::addClient);
    m_edit = new QPushButton(tr("&Edit..."), side);
    m_edit->setObjectName(QStringLiteral("cmdEdit"));
    connect(m_edit, &QPushButton::clicked, this, &ClientBookWindow::editClient);
    m_delete = new QPushButton(tr("&Delete"), side);
    m_delete->setObjectName(QStringLiteral("cmdDelete"));
    connect(m_delete, &QPushButton::clicked, this, &ClientBookWindow::deleteClient);
    m_duplicates = new QPushButton(tr("&Possible Duplicates..."), side);
    m_duplicates->setObjectName(QStringLiteral("cmdDuplicates"));
    m_duplicates->setToolTip(tr("Clients born the same day with the same last name, to merge"));
    connect(m_duplicates, &QPushButton::clicked, this, &ClientBookWindow::showPossibleDuplicates);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_duplicates);
    auto *layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    return side;
}

QWidget *ClientBookWindow::buildDetailsSide()
{
    auto *side = new QWidget;
    auto *client = new QGroupBox(tr("Client"), side);
    client->setObjectName(QStringLiteral("fraClient"));
    m_details = new QLabel(client);
    m_details->setObjectName(QStringLiteral("lblDetails"));
    m_details->setWordWrap(true);
    m_details->setTextFormat(Qt::RichText);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notes = new QPlainTextEdit(client);
    m_notes->setObjectName(QStringLiteral("txtNotes"));
    m_notes->setReadOnly(true);
    m_notes->setTabChangesFocus(true);
    m_notes->setMaximumHeight(m_notes->fontMetrics().lineSpacing() * 5 + 12);
    auto *notesLabel = new QLabel(tr("&Notes:"), client);
    notesLabel->setBuddy(m_notes);
    auto *clientLayout = new QVBoxLayout(client);
    clientLayout->addWidget(m_details);
    clientLayout->addWidget(notesLabel);
    clientLayout->addWidget(m_notes);

    auto *read = new QGroupBox(tr("Read with"), side);
    read->setObjectName(QStringLiteral("fraReadWith"));
    auto *grid = new QGridLayout(read);
    for (std::size_t i = 0; i < kReadOrder.size(); ++i) {
        const ProgramId program = kReadOrder[i];
        auto *button = new QPushButton(kestrava::programName(program), read);
        button->setObjectName(QStringLiteral("cmdReadWith_%1").arg(int(program)));
        button->setToolTip(tr("Open %1 with this client's name and birth date").arg(kestrava::programName(program)));
        connect(button, &QPushButton::clicked, this, [this, program] { readWith(program); });
        grid->addWidget(button, int(i / 3), int(i % 3));
        m_readButtons[i] = button;
    }

    auto *history = new QGroupBox(tr("Readings"), side);
    history->setObjectName(QStringLiteral("fraHistory"));
    m_history = new QTreeWidget(history);
    m_history->setObjectName(QStringLiteral("lstHistory"));
    m_history->setRootIsDecorated(false);
    m_history->setWordWrap(true);
    m_history->setItemDelegate(new WrappedDetails(m_history, 2));
    m_history->setHeaderLabels({tr("When"), tr("Program"), tr("Details")});
    m_history->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_history->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_history->header()->setStretchLastSection(true);
    (new QVBoxLayout(history))->addWidget(m_history);

    // The details keep the room their lines need; the history takes the rest.
    client->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    m_details->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    m_details->setMinimumHeight(m_details->fontMetrics().lineSpacing() * 6);

    auto *layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(client);
    layout->addWidget(read);
    layout->addWidget(history, 1);
    return side;
}

void ClientBookWindow::buildMenus()
{
    auto *importFilesItem = new QAction(tr("&Import Files..."), this);
    importFilesItem->setObjectName(QStringLiteral("mnuImportFiles"));
    connect(importFilesItem, &QAction::triggered, this, &ClientBookWindow::importFiles);
    auto *importFolderItem = new QAction(tr("Import &Folder..."), this);
    importFolderItem->setObjectName(QStringLiteral("mnuImportFolder"));
    connect(importFolderItem, &QAction::triggered, this, &ClientBookWindow::importFolder);
    auto *exportItem = new QAction(tr("&Export as CSV..."), this);
    exportItem->setObjectName(QStringLiteral("mnuExport"));
    connect(exportItem, &QAction::triggered, this, &ClientBookWindow::exportCsv);
    m_rebuildAction = new QAction(tr("&Rebuild Search Index"), this);
    m_rebuildAction->setObjectName(QStringLiteral("mnuRebuildIndex"));
    connect(m_rebuildAction, &QAction::triggered, this, &ClientBookWindow::rebuildSearchIndex);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    addCommonMenus(menuBar(), this, {importFilesItem, importFolderItem, exportItem, m_rebuildAction, separator},
                   [this] { close(); });

    auto *menu = new QMenu(tr("&Client"), menuBar());
    menu->setObjectName(QStringLiteral("mnuClient"));
    QAction *find = windowAction(this, menu, tr("&Find"), QStringLiteral("mnuFind"), QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });
    menu->addSeparator();
    QAction *add = windowAction(this, menu, tr("&Add..."), QStringLiteral("mnuAdd"), QKeySequence::New);
    connect(add, &QAction::triggered, this, &ClientBookWindow::addClient);
    // Enter in the list edits (the list's own activation): a window-wide
    // Enter key would take it from the fields and buttons.
    QAction *edit = windowAction(this, menu, tr("&Edit..."), QStringLiteral("mnuEdit"));
    connect(edit, &QAction::triggered, this, &ClientBookWindow::editClient);
    QAction *remove = windowAction(this, menu, tr("&Delete"), QStringLiteral("mnuDelete"), QKeySequence::Delete);
    connect(remove, &QAction::triggered, this, &ClientBookWindow::deleteClient);
    m_undoAction = windowAction(this, menu, tr("&Undo Delete"), QStringLiteral("mnuUndo"), QKeySequence::Undo);
    connect(m_undoAction, &QAction::triggered, this, &ClientBookWindow::undoDelete);
    menu->addSeparator();
    QAction *duplicates = windowAction(this, menu, tr("&Possible Duplicates..."), QStringLiteral("mnuDuplicates"));
    connect(duplicates, &QAction::triggered, this, &ClientBookWindow::showPossibleDuplicates);
    QAction *merge = windowAction(this, menu, tr("&Merge..."), QStringLiteral("mnuMerge"));
    connect(merge, &QAction::triggered, this, &ClientBookWindow::mergeSelected);
    m_changeActions = {add, importFilesItem, importFolderItem, m_rebuildAction};
    m_clientActions = {edit, remove, merge};

    const auto *help = menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, menu);
}

bool ClientBookWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows in the search field move through the list, and Enter goes
    // to it: type, arrow, Enter.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(m_list, &copy);
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_model->rowCount() > 0) {
            m_list->setFocus();
            return true;
        }
    }
    return ProgramWindow::eventFilter(watched, event);
}

void ClientBookWindow::searchChanged(const QString &typed)
{
    m_model->setSearch(typed);
    selectRow(0);
    updateCount();
}

void ClientBookWindow::updateCount()
{
    const int rows = m_model->rowCount();
    if (!m_book.isReadable())
        m_count->clear();
    else if (rows == 0)
        m_count->setText(m_model->search().isEmpty() ? tr("No clients yet.") : tr("No client found."));
    else if (m_model->isSearchCut())
        m_count->setText(tr("The %1 closest matches").arg(rows));
    else if (m_model->search().isEmpty())
        m_count->setText(rows == 1 ? tr("1 client") : tr("%1 clients").arg(rows));
    else
        m_count->setText(tr("%n found", nullptr, rows));
    showDamage();
}

void ClientBookWindow::showDamage()
{
    if (!m_book.damageMet() || m_damage->isVisible())
        return;
    m_rebuild->setEnabled(m_book.isWritable());
    m_damage->show();
}

void ClientBookWindow::rebuildSearchIndex()
{
    if (!m_book.isWritable())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const clients::Result<int> rebuilt = m_book.rebuildSearchIndex();
    QApplication::restoreOverrideCursor();
    if (!rebuilt) {
        host().services().messages->inform(
            this, platform::Icon::Error, tr("The search index could not be rebuilt: %1").arg(rebuilt.failure().reason));
        return;
    }
    m_damage->hide();
    m_dataVersion = m_book.dataVersion();
    m_model->reload();
    updateCount();
    selectRow(0);
    setStatus(*rebuilt == 1 ? tr("The search index was rebuilt from 1 client.")
                            : tr("The search index was rebuilt from %1 clients.").arg(*rebuilt),
              false);
}

void ClientBookWindow::selectRow(int row)
{
    const int rows = m_model->rowCount();
    if (rows == 0) {
        m_list->setCurrentIndex({});
        selectionChanged();
        return;
    }
    row = qBound(0, row, rows - 1);
    m_list->setCurrentIndex(m_model->index(row, 0));
    m_list->selectRow(row);
    m_list->scrollTo(m_model->index(row, 0));
}

std::optional<clients::Client> ClientBookWindow::selected() const
{
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? m_model->client(current.row()) : std::nullopt;
}

void ClientBookWindow::select(qint64 id)
{
    int row = m_model->rowOf(id);
    if (row < 0 && !m_model->search().isEmpty()) {
        m_search->clear();
        row = m_model->rowOf(id);
    }
    if (row < 0) {
        // Browsing a large book: find the client's page by their place in
        // the list's order.
        constexpr int kStep = 2000;
        for (int offset = 0; row < 0; offset += kStep) {
            const QList<clients::Client> part = m_book.list(offset, kStep);
            for (int i = 0; i < part.size(); ++i) {
                if (part.at(i).id == id)
                    row = offset + i;
            }
            if (part.size() < kStep)
                break;
        }
    }
    if (row >= 0)
        selectRow(row);
}

void ClientBookWindow::selectionChanged()
{
    showDetails(selected());
    updateActions();
}

void ClientBookWindow::showDetails(const std::optional<clients::Client> &client)
{
    m_history->clear();
    if (!client) {
        m_details->setText(tr("<i>No client chosen.</i>"));
        m_notes->clear();
        return;
    }
    const kestrava::Person &p = client->person;
    QString html = QStringLiteral("<b style='font-size:large'>%1</b>").arg(personName(p).toHtmlEscaped());
    html += QStringLiteral("<br>") + tr("Born %1").arg(ClientListModel::dateText(p.birthDate));
    if (!kestrava::trimBlanks(p.nameNowUsed).isEmpty())
        html += QStringLiteral("<br>") + tr("Now uses the name %1").arg(p.nameNowUsed.toHtmlEscaped());
    if (!client->email.isEmpty())
        html += QStringLiteral("<br>") + tr("E-mail: %1").arg(client->email.toHtmlEscaped());
    if (!client->phone.isEmpty())
        html += QStringLiteral("<br>") + tr("Phone: %1").arg(client->phone.toHtmlEscaped());
    m_details->setText(html);
    m_notes->setPlainText(client->notes);

    // Newest first: the last reading is the one looked for.
    const QList<clients::ReadingEntry> readings = m_book.history(client->id);
    for (auto it = readings.crbegin(); it != readings.crend(); ++it) {
        auto *row = new QTreeWidgetItem(m_history);
        row->setText(0, QLocale().toString(it->at.toLocalTime(), QLocale::ShortFormat));
        row->setText(1, clients::entryHeading(*it));
        row->setText(2, clients::entryDetails(*it));
        row->setToolTip(2, clients::entryInWords(*it));
    }
}

void ClientBookWindow::updateActions()
{
    const bool writable = m_book.isWritable();
    const bool chosen = selected().has_value();
    m_add->setEnabled(writable);
    m_edit->setEnabled(writable && chosen);
    m_delete->setEnabled(writable && chosen);
    m_duplicates->setEnabled(m_book.isReadable());
    for (QAction *action : std::as_const(m_changeActions))
        action->setEnabled(writable);
    for (QAction *action : std::as_const(m_clientActions))
        action->setEnabled(writable && chosen);
    for (QPushButton *button : m_readButtons)
        button->setEnabled(chosen);
    if (m_reportButton) {
        m_reportButton->setEnabled(chosen);
        m_reportAction->setEnabled(chosen);
    }
    m_undoAction->setEnabled(writable && m_deleted.has_value());
}

void ClientBookWindow::setStatus(const QString &text, bool offerUndo)
{
    m_status->setText(text);
    m_undo->setVisible(offerUndo);
    if (!offerUndo)
        m_deleted.reset();
    updateActions();
}

void ClientBookWindow::bookChanged()
{
    m_dataVersion = m_book.dataVersion();
    const std::optional<clients::Client> before = selected();
    const int row = m_list->currentIndex().row();
    const int scroll = m_list->verticalScrollBar()->value();
    m_model->reload();
    updateCount();
    if (!before) {
        m_list->verticalScrollBar()->setValue(scroll);
        return;
    }
    int again = m_model->rowOf(before->id);
    if (again < 0 && m_model->search().isEmpty()) {
        // Browsing a large book: the client is on the page where they were
        // or next to it, unless their name changed.
        for (const int near : {row, row - 1, row + 1})
            m_model->client(near);
        again = m_model->rowOf(before->id);
    }
    if (again >= 0) {
        m_list->setCurrentIndex(m_model->index(again, 0));
        m_list->selectRow(again);
        m_list->verticalScrollBar()->setValue(scroll);
        m_list->scrollTo(m_model->index(again, 0));
    } else if (m_book.client(before->id)) {
        // Still in the book, but elsewhere in the list or no longer found by
        // the search: the row where they were.
        selectRow(row);
    } else {
        m_list->setCurrentIndex({});
        m_list->clearSelection();
        m_list->verticalScrollBar()->setValue(scroll);
        selectionChanged();
        setStatus(tr("%1 is no longer in the client book.").arg(personName(before->person)), false);
    }
}

void ClientBookWindow::checkForChanges()
{
    if (m_book.isReadable() && m_book.dataVersion() != m_dataVersion)
        bookChanged();
}

void ClientBookWindow::changeEvent(QEvent *event)
{
    ProgramWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        checkForChanges();
}

void ClientBookWindow::showEvent(QShowEvent *event)
{
    ProgramWindow::showEvent(event);
    if (m_watch)
        m_watch->start();
}

void ClientBookWindow::hideEvent(QHideEvent *event)
{
    ProgramWindow::hideEvent(event);
    if (m_watch)
        m_watch->stop();
}

void ClientBookWindow::addClient()
{
    if (!m_book.isWritable())
        return;
    clients::Client fresh;
    // The search often holds the name the user is looking for.
    if (!m_model->search().isEmpty() && m_model->rowCount() == 0) {
        const kestrava::Person typed = kestrava::splitName(m_search->text().toUpper());
        fresh.person.firstName = typed.firstName;
        fresh.person.middleName = typed.middleName;
        fresh.person.lastName = typed.lastName;
    }
    const std::optional<clients::Client> entered = ClientDialog::edit(this, fresh, *host().services().messages);
    if (!entered || !isOpen())
        return;
    if (const std::optional<clients::Client> there = m_book.samePerson(entered->person)) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           tr("%1, born %2, is already in the client book.")
                                               .arg(personName(there->person),
                                                    ClientListModel::dateText(there->person.birthDate)));
        select(there->id);
        return;
    }
    const clients::Result<clients::Client> added = m_book.add(*entered, host().services().clock->now().toUTC());
    if (!added) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("The client could not be added: %1").arg(added.failure().reason));
        return;
    }
    m_search->clear();
    m_model->reload();
    updateCount();
    select(added->id);
    setStatus(tr("Added %1.").arg(personName(added->person)), false);
    m_list->setFocus();
}

void ClientBookWindow::editClient()
{
    checkForChanges();
    const std::optional<clients::Client> client = selected();
    if (!client || !m_book.isWritable())
        return;
    // The change is stored while the dialog is open, so that a change the
    // book refuses leaves the dialog open with what the user typed.
    std::optional<clients::Client> stored;
    platform::MessageBoxes &messages = *host().services().messages;
    const auto store = [&](QWidget *dialog, const clients::Client &edited) {
        if (edited == *client)
            return true;
        if (const std::optional<clients::Client> other = m_book.samePerson(edited.person, edited.id)) {
            messages.inform(dialog, platform::Icon::Information,
                            tr("%1, born %2, is already in the client book as another client. Change the names or "
                               "the birth date, or use Client > Merge... to make the two one client.")
                                .arg(personName(other->person), ClientListModel::dateText(other->person.birthDate)));
            return false;
        }
        const clients::Result<clients::Client> changed = m_book.edit(edited, host().services().clock->now().toUTC());
        if (!changed) {
            messages.inform(dialog, platform::Icon::Error,
                            tr("The client could not be changed: %1").arg(changed.failure().reason));
            return false;
        }
        stored = *changed;
        return true;
    };
    ClientDialog::edit(this, *client, messages, store);
    if (!stored || !isOpen())
        return;
    m_model->reload();
    updateCount();
    select(stored->id);
    setStatus(tr("Changed %1.").arg(personName(stored->person)), false);
    m_list->setFocus();
}

void ClientBookWindow::deleteClient()
{
    checkForChanges();
    const std::optional<clients::Client> client = selected();
    if (!client || !m_book.isWritable())
        return;
    const QString name = personName(client->person);
    if (!host().services().messages->ask(this, platform::Icon::Question,
                                         tr("Delete %1, born %2, and their reading history from the client book?")
                                             .arg(name, ClientListModel::dateText(client->person.birthDate))))
        return;
    const int row = m_list->currentIndex().row();
    const clients::Result<clients::DeletedClient> removed = m_book.remove(client->id);
    if (!removed) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("%1 could not be deleted: %2").arg(name, removed.failure().reason));
        return;
    }
    m_model->reload();
    updateCount();
    selectRow(row);
    setStatus(tr("Deleted %1.").arg(name), true);
    m_deleted = *removed;
    updateActions();
    m_list->setFocus();
}

void ClientBookWindow::undoDelete()
{
    if (!m_deleted || !m_book.isWritable())
        return;
    const clients::DeletedClient deleted = *m_deleted;
    if (const kestrava::MaybeFailure failure = m_book.restore(deleted)) {
        host().services().messages->inform(
            this, platform::Icon::Error,
            tr("%1 could not be brought back: %2").arg(personName(deleted.client.person), failure->reason));
        return;
    }
    m_model->reload();
    updateCount();
    select(deleted.client.id);
    setStatus(tr("%1 is back in the client book.").arg(personName(deleted.client.person)), false);
    m_list->setFocus();
}

void ClientBookWindow::showPossibleDuplicates()
{
    if (!m_book.isReadable())
        return;
    QPointer<PossibleDuplicatesDialog> dialog = new PossibleDuplicatesDialog(
        m_book, [this](const clients::Client &keep, const clients::Client &other) { return mergeClients(keep, other); },
        [this](qint64 id) { select(id); }, this);
    platform::runModal(this, dialog);
    delete dialog;
}

void ClientBookWindow::mergeSelected()
{
    const std::optional<clients::Client> other = selected();
    if (!other || !m_book.isWritable())
        return;
    QPointer<ClientPicker> picker = new ClientPicker(m_book, this);
    picker->setWindowTitle(tr("Merge %1 Into").arg(personName(other->person)));
    const bool picked = platform::runModal(this, picker) == QDialog::Accepted;
    const std::optional<clients::Client> keep = (picked && picker) ? picker->chosen() : std::nullopt;
    delete picker;
    if (!keep || !isOpen())
        return;
    if (keep->id == other->id) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           tr("Choose another client to merge %1 into.").arg(personName(other->person)));
        return;
    }
    mergeClients(*keep, *other);
}

bool ClientBookWindow::mergeClients(const clients::Client &keep, const clients::Client &other)
{
    if (!m_book.isWritable())
        return false;
    QWidget *owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    const std::optional<MergeClientsDialog::Choice> choice = MergeClientsDialog::ask(owner, m_book, keep, other);
    if (!choice || !isOpen())
        return false;
    const clients::Result<clients::MergedClients> merged =
        m_book.merge(choice->keepId, choice->otherId, choice->fillEmpty, host().services().clock->now().toUTC());
    if (!merged) {
        host().services().messages->inform(owner, platform::Icon::Error,
                                           tr("The clients could not be merged: %1").arg(merged.failure().reason));
        return false;
    }
    m_model->reload();
    updateCount();
    select(merged->kept.id);
    setStatus(tr("Merged %1 into %2.").arg(personName(merged->removed.person), personName(merged->kept.person)),
              false);
    return true;
}

void ClientBookWindow::readWith(kestrava::ProgramId program)
{
    checkForChanges();
    const std::optional<clients::Client> client = selected();
    if (client && m_readWith)
        m_readWith(program, *client);
}

void ClientBookWindow::offerReport(std::function<void(const clients::Client &)> openReport)
{
    if (m_openReport || !openReport)
        return;
    m_openReport = std::move(openReport);
    // Beside the programs that read for the client: the report reads with all of them.
    auto *read = findChild<QGroupBox *>(QStringLiteral("fraReadWith"));
    auto *grid = read ? qobject_cast<QGridLayout *>(read->layout()) : nullptr;
    m_reportButton = new QPushButton(tr("&Report..."), read);
    m_reportButton->setObjectName(QStringLiteral("cmdReport"));
    m_reportButton->setToolTip(tr("Make a practitioner's report for this client"));
    connect(m_reportButton, &QPushButton::clicked, this, &ClientBookWindow::reportOnSelected);
    if (grid)
        grid->addWidget(m_reportButton, grid->rowCount(), 0, 1, grid->columnCount());
    setTabOrder(m_readButtons.back(), m_reportButton);
    setTabOrder(m_reportButton, m_history);

    auto *menu = menuBar()->findChild<QMenu *>(QStringLiteral("mnuClient"));
    m_reportAction = windowAction(this, menu, tr("&Report..."), QStringLiteral("mnuReport"));
    connect(m_reportAction, &QAction::triggered, this, &ClientBookWindow::reportOnSelected);
    updateActions();
}

void ClientBookWindow::reportOnSelected()
{
    const std::optional<clients::Client> client = selected();
    if (client && m_openReport)
        m_openReport(*client);
}

void ClientBookWindow::importFiles()
{
    QPointer<QFileDialog> dialog = new QFileDialog(this, tr("Import Clients"));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    QStringList patterns;
    for (const QString &ending : clients::importEndings(m_savedReadingKinds))
        patterns.append(QStringLiteral("*.") + ending);
    dialog->setNameFilters(
        {tr("Saved readings and CSV files (%1)").arg(patterns.join(u' ')), tr("All files (*)")});
    const bool chosen = platform::runModal(this, dialog) == QDialog::Accepted;
    const QStringList paths = (chosen && dialog) ? dialog->selectedFiles() : QStringList();
    delete dialog;
    if (!paths.isEmpty() && isOpen())
        importPaths(paths);
}

void ClientBookWindow::importFolder()
{
    QPointer<QFileDialog> dialog = new QFileDialog(this, tr("Import Clients from a Folder"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const bool chosen = platform::runModal(this, dialog) == QDialog::Accepted;
    const QStringList paths = (chosen && dialog) ? dialog->selectedFiles() : QStringList();
    delete dialog;
    if (!paths.isEmpty() && isOpen())
        importPaths(paths);
}

void ClientBookWindow::importPaths(const QStringList &paths)
{
    if (!m_book.isWritable())
        return;
    const clients::ImportReport report = clients::importFiles(m_book, m_savedReadingKinds, paths,
                                                                    host().services().clock->now().toUTC());
    QString text;
    if (report.failure) {
        text = tr("Nothing was imported: %1").arg(report.failure->reason);
    } else {
        text = tr("Added: %1\nAlready in the book: %2\nRefused: %3")
                   .arg(report.added)
                   .arg(report.alreadyThere)
                   .arg(report.refused.size());
        if (!report.refused.isEmpty()) {
            text += u'\n';
            for (qsizetype i = 0; i < report.refused.size() && i < kRefusalsListed; ++i) {
                const clients::ImportRefusal &refusal = report.refused.at(i);
                text += QStringLiteral("\n%1: %2").arg(QDir::toNativeSeparators(refusal.source), refusal.reason);
            }
            if (report.refused.size() > kRefusalsListed)
                text += u'\n' + tr("... and %1 more.").arg(report.refused.size() - kRefusalsListed);
        }
    }
    m_model->reload();
    updateCount();
    selectRow(0);
    setStatus(report.failure ? tr("Nothing was imported.") : (report.added == 1 ? tr("Imported 1 client.") : tr("Imported %1 clients.").arg(report.added)),
              false);
    host().services().messages->inform(this,
                                       report.failure ? platform::Icon::Error : platform::Icon::Information, text);
}

void ClientBookWindow::exportCsv()
{
    if (!m_book.isReadable())
        return;
    // The export is the whole book, no one person: the book's name and the
    // day the copy was taken.
    const std::optional<QString> path = host().services().files->saveFile(
        this, {tr("Export Client Book"), tr("CSV files (*.csv)"), QStringLiteral("csv"),
               kestrava::suggestedFileName(QString(), host().services().clock->now().date(), QStringLiteral("csv"),
                                           tr("Client Book"))});
    if (!path || !isOpen())
        return;
    // Read from the clients themselves, one at a time: a damaged search
    // index loses none of them, and a large book is never held at once.
    QSaveFile file(*path);
    std::optional<kestrava::SaveFailure> failure;
    int exported = 0;
    kestrava::MaybeFailure unread;
    if (!file.open(QIODevice::WriteOnly)) {
        failure = kestrava::SaveFailure{file.error(), file.errorString()};
    } else {
        QByteArray pending = clients::clientsCsvHeader();
        bool written = true;
        unread = m_book.forEachClient([&](const clients::Client &c) {
            pending += clients::clientCsvLine(c);
            ++exported;
            if (pending.size() >= (1 << 16)) {
                written = file.write(pending) == pending.size();
                pending.clear();
            }
            return written;
        });
        failure = written ? kestrava::writeAndCommit(file, pending)
                          : std::optional(kestrava::SaveFailure{file.error(), file.errorString()});
    }
    if (failure) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("The client book could not be exported to %1: %2")
                                               .arg(QDir::toNativeSeparators(*path), failure->reason));
        return;
    }
    setStatus((exported == 1 ? tr("Exported 1 client to %1.") : tr("Exported %1 clients to %2.").arg(exported))
                      .arg(QDir::toNativeSeparators(*path)),
              false);
    if (unread) {
        showDamage();
        host().services().messages->inform(
            this, platform::Icon::Warning,
            tr("Only %1 clients could be read from the client book and were exported to %2: %3.")
                .arg(exported)
                .arg(QDir::toNativeSeparators(*path), unread->reason));
    }
}
