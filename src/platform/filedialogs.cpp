#include "platform/filedialogs.h"

#include "platform/modaldialogs.h"

#include <QDir>
#include <QFileDialog>
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

} // namespace

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
    auto *dialog = new QFileDialog(parent);
    configure(*dialog, request);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // QFileDialog asks before replacing an existing file unless told otherwise.
    return run(parent, dialog);
}

} // namespace platform
