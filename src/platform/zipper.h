#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// Packs files and folders into one zip archive. Each input keeps its own
// top folder: a folder "photos" is stored as "photos/…", a loose file by
// its name.
class IZipper {
public:
    virtual ~IZipper() = default;
    // Writes the archive at archivePath from inputs (in order), away from the
    // main thread; done runs on the main thread with 0 when the archive was
    // written and anything else when it was not.
    virtual void zip(const QStringList &inputs, const QString &archivePath, std::function<void(int status)> done) = 0;
};

} // namespace platform
