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

int LibarchiveZipper::writeArchive(const QList<QByteArray> &inputs, const QString &archivePath, QString *note)
{
    OnDemandModule module(builtWriter());
    std::mutex lock;
    return writeArchive(module, lock, inputs, archivePath, note);
}

int LibarchiveZipper::writeArchive(OnDemandModule &module, std::mutex &lock, const QList<QByteArray> &inputs,
                                   const QString &archivePath, QString *note)
{
    PavletZipWrite write = nullptr;
    {
        // Two archives may be written at once: the module loads once.
        const std::lock_guard<std::mutex> hold(lock);
        if (module.load())
            write = module.symbol<PavletZipWrite>("pavlet_zip_write");
        if (!write) {
            qCWarning(lcPlatform) << "no zip writer:" << module.errorString();
            if (note)
                *note = QStringLiteral("no zip writer");
            return 1;
        }
    }
    std::vector<const char *> list;
    list.reserve(size_t(inputs.size()));
    for (const QByteArray &input : inputs)
        list.push_back(input.constData());
    std::vector<char> text(4096);
    const int status =
        write(list.data(), int(list.size()), QFile::encodeName(archivePath).constData(), text.data(), int(text.size()));
    if (note)
        *note = QString::fromUtf8(text.data());
    return status;
}

void LibarchiveZipper::zip(const QList<QByteArray> &inputs, const QString &archivePath, Done done)
{
    ++m_writing;
    m_release.cancel();
    QPointer<LibarchiveZipper> self(this);
    m_pool.start([this, self, inputs, archivePath, done = std::move(done)] {
        // The zipper outlives its workers: its destructor waits for them.
        QString note;
        const int status = writeArchive(m_module, m_moduleLock, inputs, archivePath, &note);
        QMetaObject::invokeMethod(
            self.data(),
            [self, done, status, note] {
                self->written();
                done(status, note);
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
