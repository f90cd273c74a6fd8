#pragma once

#include "core/scheduler.h"
#include "platform/linux/ondemandmodule.h"
#include "platform/zipper.h"

#include <QObject>
#include <QThreadPool>
#include <memory>
#include <mutex>

namespace platform {

// Writes zip archives on a worker thread, with libarchive in a module loaded
// by an archive and let go once no archive has been written for
// OnDemandModule::IdleMs. Every input keeps its own top folder in the
// archive; symbolic links are stored as links.
class LibarchiveZipper final : public QObject, public IZipper {
    Q_OBJECT
public:
    // scheduler: runs the writer module's release (a timer of the zipper's
    // own when null).
    explicit LibarchiveZipper(Scheduler *scheduler = nullptr, QObject *parent = nullptr);
    ~LibarchiveZipper() override;

    void zip(const QList<QByteArray> &inputs, const QString &archivePath, Done done) override;

    // The work itself, on the calling thread: 0 when the archive was written.
    // A failed archive is removed. note: as IZipper::zip gives it.
    static int writeArchive(const QList<QByteArray> &inputs, const QString &archivePath, QString *note = nullptr);

    // The writer module the program was built with.
    static QString builtWriter();

private:
    static int writeArchive(OnDemandModule &module, std::mutex &lock, const QList<QByteArray> &inputs,
                            const QString &archivePath, QString *note);
    void written();

    Scheduler *m_scheduler;
    std::unique_ptr<Scheduler> m_ownScheduler;
    OnDemandModule m_module;
    std::mutex m_moduleLock;
    int m_writing = 0; // archives under way
    TaskHandle m_release;
    QThreadPool m_pool; // goes first: its workers use the module
};

} // namespace platform
