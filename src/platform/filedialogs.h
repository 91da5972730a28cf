#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace platform {

struct FileRequest
{
    QString title;
    QString filter;        // Qt filter text, e.g. "Tovrani (*.num)"
    QString defaultSuffix; // added when the user types a name without one
};

// Open and save dialogs.  Cancel gives no path.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The file must exist.
    virtual std::optional<QString> openFile(QWidget *parent, const FileRequest &request) = 0;
    // Asks before overwriting an existing file.
    virtual std::optional<QString> saveFile(QWidget *parent, const FileRequest &request) = 0;
};

class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const FileRequest &request) override;
    std::optional<QString> saveFile(QWidget *parent, const FileRequest &request) override;
};

} // namespace platform
