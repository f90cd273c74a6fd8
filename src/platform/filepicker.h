#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace platform {

// An open dialog that lets the user choose files and folders, several at
// once. It does not block: the caller goes on, and the answer comes later.
class IFilePicker {
public:
    using Answer = std::function<void(std::optional<QList<QUrl>> picked)>;
    virtual ~IFilePicker() = default;
    // Shows the dialog; done runs once on the main thread when it closes,
    // with none when the user cancelled. done is dropped right after it ran.
    virtual void pickFilesAndFolders(const QString &confirmLabel, Answer done) = 0;
};

} // namespace platform
