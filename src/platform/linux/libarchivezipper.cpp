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

namespace {

// The writer module, loaded by the first archive and kept.
PavletZipWrite zipWriter()
{
    static std::once_flag once;
    static PavletZipWrite write = nullptr;
    std::call_once(once, [] {
        QLibrary module(builtOrBesideProgram(QStringLiteral(PAVLET_ZIP_MODULE)));
        write = reinterpret_cast<PavletZipWrite>(module.resolve("pavlet_zip_write"));
        if (!write)
            qCWarning(lcPlatform) << "no zip writer:" << module.errorString();
    });
    return write;
}

} // namespace

LibarchiveZipper::LibarchiveZipper(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(2);
}

LibarchiveZipper::~LibarchiveZipper()
{
    m_pool.waitForDone();
}

int LibarchiveZipper::writeArchive(const QList<QByteArray> &inputs, const QString &archivePath)
{
    const PavletZipWrite write = zipWriter();
    if (!write)
        return 1;
    std::vector<const char *> list;
    list.reserve(size_t(inputs.size()));
    for (const QByteArray &input : inputs)
        list.push_back(input.constData());
    return write(list.data(), int(list.size()), QFile::encodeName(archivePath).constData());
}

void LibarchiveZipper::zip(const QList<QByteArray> &inputs, const QString &archivePath, std::function<void(int)> done)
{
    QPointer<LibarchiveZipper> self(this);
    m_pool.start([self, inputs, archivePath, done = std::move(done)] {
        const int status = writeArchive(inputs, archivePath);
        if (self)
            QMetaObject::invokeMethod(self.data(), [done, status] { done(status); }, Qt::QueuedConnection);
    });
}

} // namespace platform
