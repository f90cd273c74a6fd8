#pragma once

#include "platform/zipper.h"

#include <QObject>
#include <QThreadPool>

namespace platform {

// Writes zip archives on a worker thread, with libarchive in a module loaded
// by the first archive. Every input keeps its own top folder in the archive;
// symbolic links are stored as links.
class LibarchiveZipper final : public QObject, public IZipper {
    Q_OBJECT
public:
    explicit LibarchiveZipper(QObject *parent = nullptr);
    ~LibarchiveZipper() override;

    void zip(const QList<QByteArray> &inputs, const QString &archivePath, std::function<void(int status)> done) override;

    // The work itself, on the calling thread: 0 when the archive was written.
    // A failed archive is removed.
    static int writeArchive(const QList<QByteArray> &inputs, const QString &archivePath);

private:
    QThreadPool m_pool;
};

} // namespace platform
