#pragma once

#include "clients/clientbook.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;


// Making two clients who are one person one client (frmMergeClients): the
// two side by side, which is kept (Swap turns them round), whether the kept
// one's empty e-mail, phone and notes are filled from the other, and what
// will happen, said before the user confirms with Merge.
class MergeClientsDialog : public QDialog
{
    Q_OBJECT
public:
    struct Choice
    {
        qint64 keepId = 0;
        qint64 otherId = 0;
        bool fillEmpty = true;
    };

    MergeClientsDialog(const clients::ClientBook &book, const clients::Client &keep, const clients::Client &other,
                       QWidget *parent = nullptr);

    // Runs the dialog on behalf of owner: what the user confirmed, or
    // nothing when they cancel.
    static std::optional<Choice> ask(QWidget *owner, const clients::ClientBook &book, const clients::Client &keep,
                                     const clients::Client &other);

    Choice choice() const;

private:
    void swap();
    void describe();

    const clients::ClientBook &m_book;
    clients::Client m_keep;
    clients::Client m_other;
    QLabel *m_keepLabel = nullptr;
    QLabel *m_otherLabel = nullptr;
    QLabel *m_outcome = nullptr;
    QCheckBox *m_fill = nullptr;
};

// The clients who may be one person entered twice (frmPossibleDuplicates):
// each pair on a line; Merge... makes the chosen pair one client, Show goes
// to the pair's first client in the client book.
class PossibleDuplicatesDialog : public QDialog
{
    Q_OBJECT
public:
    // Merges the pair (asking first); true when they were merged.
    using Merge = std::function<bool(const clients::Client &keep, const clients::Client &other)>;
    // Selects a client in the client book.
    using Show = std::function<void(qint64 id)>;

    PossibleDuplicatesDialog(const clients::ClientBook &book, Merge merge, Show show, QWidget *parent = nullptr);

    // Reads the pairs again from the book.
    void refresh();

private:
    void updateButtons();
    void mergeChosen();
    void showChosen();

    const clients::ClientBook &m_book;
    Merge m_merge;
    Show m_show;
    QList<clients::PossibleDuplicate> m_pairs;
    QLabel *m_count = nullptr;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_mergeButton = nullptr;
    QPushButton *m_showButton = nullptr;
};
