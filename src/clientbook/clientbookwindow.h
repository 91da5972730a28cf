#pragma once

#include "clients/client.h"
#include "clients/clientimport.h"
#include "common/brand.h"
#include "widgets/programwindow.h"

#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class ClientListModel;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;
class QTreeWidget;

namespace clients {
class ClientBook;
}

// The client book window (frmClientBook): the clients with a search that
// narrows the list as the user types, the chosen client's details, notes
// and reading history, adding, changing and deleting clients (a deletion
// can be undone), finding and merging clients entered twice, reading a
// client with any program, and importing and exporting.  A book that is newer, damaged or unwritable says so at the
// top and is only read.
class ClientBookWindow : public ProgramWindow
{
    Q_OBJECT
public:
    // Opens a program on a client, as the launcher opens it.
    using ReadWith = std::function<void(kestrava::ProgramId, const clients::Client &)>;

    // Imports take the saved readings of the kinds given.
    ClientBookWindow(ProgramHost &host, clients::ClientBook &book, clients::SavedReadingKinds savedReadingKinds,
                     ReadWith readWith);

    // How often the window looks for changes other programs made to the
    // book while it is shown; it also looks whenever it is activated.
    static constexpr int kCheckIntervalMs = 2000;

    // Reads the book again (another window changed it), keeping the
    // selection and the scroll position where the client is still there.
    void bookChanged();
    // Reads the book again when another program changed the file since the
    // window last looked (the command line, another copy of the suite).
    void checkForChanges();

    void addClient();
    void editClient();
    // Asks first; the status line then offers to undo.
    void deleteClient();
    void undoDelete();
    // Lists the clients who may be one person entered twice, to merge.
    void showPossibleDuplicates();
    // Asks which client the selected one is to be merged into, then merges.
    void mergeSelected();
    // Asks to confirm (which is kept can still be swapped), then makes the
    // two clients one; true when they were merged.
    bool mergeClients(const clients::Client &keep, const clients::Client &other);
    void readWith(kestrava::ProgramId program);
    // Offers "Report..." for the client under the selection (once).
    void offerReport(std::function<void(const clients::Client &)> openReport);
    void reportOnSelected();

    // Asks for files (or a folder) and imports them.
    void importFiles();
    void importFolder();
    // Imports the files and folders named and reports what came of them.
    void importPaths(const QStringList &paths);
    // Asks for a file name and writes the whole book there as CSV.
    void exportCsv();
    // Makes the search index again from the clients (File > Rebuild Search
    // Index, and the button of the damage banner).
    void rebuildSearchIndex();

    // The client under the selection, if any.
    std::optional<clients::Client> selected() const;
    // Selects a client, clearing the search when it hides them.
    void select(qint64 id);

private:
    void buildMenus();
    QWidget *buildListSide();
    QWidget *buildDetailsSide();
    void searchChanged(const QString &typed);
    void selectionChanged();
    void showDetails(const std::optional<clients::Client> &client);
    void updateCount();
    // Shows the damage banner once a read has met damage in the book.
    void showDamage();
    void updateActions();
    void setStatus(const QString &text, bool offerUndo);
    void selectRow(int row);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    clients::ClientBook &m_book;
    clients::SavedReadingKinds m_savedReadingKinds;
    ReadWith m_readWith;
    ClientListModel *m_model = nullptr;
    QLabel *m_problem = nullptr;
    QFrame *m_damage = nullptr;
    QPushButton *m_rebuild = nullptr;
    QAction *m_rebuildAction = nullptr;
    QLineEdit *m_search = nullptr;
    QTableView *m_list = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_details = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QTreeWidget *m_history = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_duplicates = nullptr;
    std::array<QPushButton *, kestrava::kProgramCount> m_readButtons{};
    QLabel *m_status = nullptr;
    QPushButton *m_undo = nullptr;
    QList<QAction *> m_changeActions; // add, import: need a writable book
    QList<QAction *> m_clientActions; // edit, delete, merge: need a writable book and a client
    QAction *m_undoAction = nullptr;
    std::function<void(const clients::Client &)> m_openReport;
    QPushButton *m_reportButton = nullptr;
    QAction *m_reportAction = nullptr;
    std::optional<clients::DeletedClient> m_deleted;
    QTimer *m_watch = nullptr;
    qint64 m_dataVersion = 0;
};
