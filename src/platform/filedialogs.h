#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace platform {

struct FileRequest
{
    QString title;
    QString filter;        // Qt filter text, e.g. "Tovrani (*.num)"
    QString defaultSuffix; // the ending every saved name gets (see savedName)
    // The name a save dialog starts with, in the folder it opens on
    // (see kestrava::suggestedFileName); empty: none.
    QString suggestedName = {};
};

// Open and save dialogs.  Cancel gives no path.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The file must exist.
    virtual std::optional<QString> openFile(QWidget *parent, const FileRequest &request) = 0;
    // The path comes back as savedName makes it, and the question before
    // replacing an existing file is asked for that path.
    virtual std::optional<QString> saveFile(QWidget *parent, const FileRequest &request) = 0;
};

class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const FileRequest &request) override;
    std::optional<QString> saveFile(QWidget *parent, const FileRequest &request) override;
};

// The name a save ends with: the typed path with "." and the suffix added
// unless it already ends in exactly that ("john.smith" and "john.TNM" get
// ".tnm" too, "john.tnm" stays).  An empty suffix leaves the path as it is.
QString savedName(const QString &path, const QString &suffix);

} // namespace platform
