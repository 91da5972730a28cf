#include "platform/filedialogs.h"

#include "platform/messageboxes.h"
#include "platform/modaldialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>

namespace platform {

namespace {

// The dialog lives on the heap and is run through runModal: a window closed
// while its dialog is open closes the dialog first (see modaldialogs.h).
std::optional<QString> run(QWidget *parent, QFileDialog *dialog)
{
    const QPointer<QFileDialog> guard(dialog);
    std::optional<QString> path;
    if (runModal(parent, dialog) == QDialog::Accepted && guard && !guard->selectedFiles().isEmpty())
        path = guard->selectedFiles().constFirst();
    delete guard;
    return path;
}

void configure(QFileDialog &dialog, const FileRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // Readings are the user's documents; start where those live.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
}

// Qt adds the default suffix only to a name without any dot, so "john.smith"
// would be saved as it stands, and the open dialogs, which list and accept
// only their program's own ending, could never find it again.  The name is
// settled here, before the dialog closes, so that the question about
// replacing a file is asked for the file that is then written.
class SaveDialog final : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    // The path the user settled on; empty until then.
    QString chosen() const { return m_chosen; }

protected:
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() != 1 || QFileInfo(files.constFirst()).isDir()) {
            // A folder typed or picked opens, as Qt's own dialog does it.
            QFileDialog::accept();
            return;
        }
        const QString path = savedName(files.constFirst(), defaultSuffix());
        const QFileInfo target(path);
        if (target.isDir()) {
            setDirectory(path);
            return;
        }
        if (target.exists() && !mayReplace(target.fileName()))
            return;
        m_chosen = path;
        QDialog::accept();
    }

private:
    bool mayReplace(const QString &name)
    {
        const QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::Warning, kAppTitle,
                            tr("%1 already exists.\nDo you want to replace it?").arg(name),
                            QMessageBox::Yes | QMessageBox::No, this);
        box->setDefaultButton(QMessageBox::No);
        // Run for the window the dialog serves, so that closing that window
        // closes this box as well as the dialog.
        const int answer = runModal(parentWidget(), box);
        delete box;
        return answer == QMessageBox::Yes;
    }

    QString m_chosen;
};

} // namespace

QString savedName(const QString &path, const QString &suffix)
{
    if (suffix.isEmpty())
        return path;
    const QString ending = u'.' + suffix;
    return path.endsWith(ending, Qt::CaseSensitive) ? path : path + ending;
}

std::optional<QString> QtFileDialogs::openFile(QWidget *parent, const FileRequest &request)
{
    auto *dialog = new QFileDialog(parent);
    configure(*dialog, request);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return run(parent, dialog);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    auto *dialog = new SaveDialog(parent);
    // A system dialog closes before the suite sees the name, too late to add
    // its ending and ask about the file that will really be replaced.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    configure(*dialog, request);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Only the name: a suggestion never moves the dialog to another folder.
    if (const QString name = QFileInfo(request.suggestedName).fileName(); !name.isEmpty())
        dialog->selectFile(name);
    const QPointer<SaveDialog> guard(dialog);
    std::optional<QString> path;
    if (runModal(parent, dialog) == QDialog::Accepted && guard && !guard->chosen().isEmpty())
        path = guard->chosen();
    delete guard;
    return path;
}

} // namespace platform
