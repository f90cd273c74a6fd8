#include "platform/linux/libarchivezipper.h"
#include "platform/linux/besideprogram.h"

#include "core/logging.h"
#include "platform/linux/zipwriter/zipwriter.h"

#include <QFile>
#include <QLibrary>
#include <QPointer>

#include <mutex>
#include <vector>

namespace platform {

QString LibarchiveZipper::builtWriter()
{
    return builtOrBesideProgram(QStringLiteral(PAVLET_ZIP_MODULE));
}

LibarchiveZipper::LibarchiveZipper(Scheduler *scheduler, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_module(builtWriter())
{
    if (!m_scheduler) {
        m_ownScheduler = std::make_unique<QtScheduler>();
        m_scheduler = m_ownScheduler.get();
    }
    m_pool.setMaxThreadCount(2);
}

LibarchiveZipper::~LibarchiveZipper()
{
    m_pool.waitForDone();
}

int LibarchiveZipper::writeArchive(const QList<QByteArray> &inputs, const QString &archivePath)
{
    OnDemandModule module(builtWriter());
    std::mutex lock;
    return writeArchive(module, lock, inputs, archivePath);
}

int LibarchiveZipper::writeArchive(OnDemandModule &module, std::mutex &lock, const QList<QByteArray> &inputs,
                                   const QString &archivePath)
{
    PavletZipWrite write = nullptr;
    {
        // Two archives may be written at once: the module loads once.
        const std::lock_guard<std::mutex> hold(lock);
        if (module.load())
            write = module.symbol<PavletZipWrite>("pavlet_zip_write");
        if (!write) {
            qCWarning(lcPlatform) << "no zip writer:" << module.errorString();
            return 1;
        }
    }
    std::vector<const char *> list;
    list.reserve(size_t(inputs.size()));
    for (const QByteArray &input : inputs)
        list.push_back(input.constData());
    return write(list.data(), int(list.size()), QFile::encodeName(archivePath).constData());
}

void LibarchiveZipper::zip(const QList<QByteArray> &inputs, const QString &archivePath, std::function<void(int)> done)
{
    ++m_writing;
    m_release.cancel();
    QPointer<LibarchiveZipper> self(this);
    m_pool.start([this, self, inputs, archivePath, done = std::move(done)] {
        // The zipper outlives its workers: its destructor waits for them.
        const int status = writeArchive(m_module, m_moduleLock, inputs, archivePath);
        QMetaObject::invokeMethod(
            self.data(),
            [self, done, status] {
                self->written();
                done(status);
            },
            Qt::QueuedConnection);
    });
}

void LibarchiveZipper::written()
{
    if (--m_writing > 0)
        return;
    // The writer module goes once no archive has used it for a while. No
    // worker runs its code then: each has returned before saying so.
    m_release = m_scheduler->after(OnDemandModule::IdleMs, [this] {
        if (m_writing == 0) {
            const std::lock_guard<std::mutex> hold(m_moduleLock);
            m_module.unload();
        }
    });
}

} // namespace platform
