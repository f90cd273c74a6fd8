#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace platform {

// Packs files and folders into one zip archive. Each input keeps its own
// top folder: a folder "photos" is stored as "photos/…", a loose file by
// its name. Inputs are paths as the file system's bytes: a name need not be
// UTF-8, and Qt's text for such a name no longer names the file.
class IZipper {
public:
    virtual ~IZipper() = default;
    // Writes the archive at archivePath from inputs (in order), away from the
    // main thread; done runs on the main thread with 0 when the archive was
    // written and anything else when it was not. note: for a written archive
    // the names of what it could not hold (pipes, sockets, devices, files
    // and folders that cannot be read), one a line; else why it was not
    // written.
    using Done = std::function<void(int status, const QString &note)>;
    virtual void zip(const QList<QByteArray> &inputs, const QString &archivePath, Done done) = 0;
};

} // namespace platform
