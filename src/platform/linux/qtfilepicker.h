#pragma once

#include "platform/filepicker.h"

namespace platform {

// Qt's own file dialog, set up so that files and folders can be chosen
// together.
class QtFilePicker final : public IFilePicker {
public:
    std::optional<QList<QUrl>> pickFilesAndFolders(const QString &confirmLabel) override;
};

} // namespace platform
