#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace platform {

// A modal open dialog that lets the user choose files and folders, several
// at once.
class IFilePicker {
public:
    virtual ~IFilePicker() = default;
    // Blocks until the dialog closes; none when the user cancelled.
    virtual std::optional<QList<QUrl>> pickFilesAndFolders(const QString &confirmLabel) = 0;
};

} // namespace platform
