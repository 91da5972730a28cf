#include "platform/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace platform {

namespace {

std::optional<QString> run(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
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
    QFileDialog dialog(parent);
    configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    QFileDialog dialog(parent);
    configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // QFileDialog asks before replacing an existing file unless told otherwise.
    return run(dialog);
}

} // namespace platform
