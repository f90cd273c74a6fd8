#include "platform/linux/qtcamera.h"

#include "core/logging.h"

#include <QCamera>
#include <QCameraDevice>
#include <QDeadlineTimer>
#include <QDir>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMutex>
#include <QThread>
#include <QVideoSink>

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

// What the camera thread hands to the main thread without waiting for it.
struct QtCamera::Shared {
    QMutex mutex;
    QVideoFrame latest;                 // under mutex
    std::atomic_bool framePending{false};
    std::atomic_int count{-1};          // cameras last listed; -1 before the first list
    std::atomic_bool frontGone{false};
};

// Lives on the camera thread and owns every Qt Multimedia object.
class QtCamera::Worker final : public QObject {
public:
    Worker(QtCamera *front, std::shared_ptr<Shared> shared)
        : m_front(front)
        , m_shared(std::move(shared))
    {
    }

    // The cameras Qt offers now; the first call sets Qt Multimedia up.
    QList<QCameraDevice> cameras()
    {
        if (!m_devices) {
            m_devices = std::make_unique<QMediaDevices>();
            connect(m_devices.get(), &QMediaDevices::videoInputsChanged, this, [this] { camerasChanged(); });
        }
        const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
        m_shared->count = int(inputs.size());
        return inputs;
    }

    void start(quint64 request)
    {
        m_request = request;
        m_wanted = true;
        const QList<QCameraDevice> inputs = cameras();
        const Access access = accessFrom(int(inputs.size()), deviceNodes());
        if (access != Access::Granted) {
            m_wanted = false;
            report(request, false, access);
            return;
        }
        const QCameraDevice device = choose(inputs);
        if (m_camera && m_camera->cameraDevice() != device)
            dropCamera();
        if (!m_camera) {
            m_camera = std::make_unique<QCamera>(device);
            connect(m_camera.get(), &QCamera::activeChanged, this, [this](bool active) {
                if (!m_wanted)
                    return;
                if (active) {
                    report(m_request, true, std::nullopt);
                    return;
                }
                // Stopped without being asked.
                m_wanted = false;
                report(m_request, false, std::nullopt);
            });
            connect(m_camera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString &text) {
                if (error == QCamera::NoError)
                    return;
                qCWarning(lcPlatform) << "camera failed:" << text;
                if (!m_wanted)
                    return;
                m_wanted = false;
                m_camera->stop();
                report(m_request, false, std::nullopt);
            });
            session().setCamera(m_camera.get());
        }
        if (!m_wanted)
            return; // it failed while being set up
        m_camera->start();
        if (m_wanted && m_camera->isActive())
            report(request, true, std::nullopt);
    }

    void stop()
    {
        m_wanted = false;
        if (m_camera)
            m_camera->stop();
    }

    void teardown()
    {
        stop();
        dropCamera();
        m_session.reset();
        m_sink.reset();
        m_devices.reset();
    }

    // Hands work to the main thread, unless the camera there is gone.
    template <typename F>
    void post(F work)
    {
        if (!m_shared->frontGone)
            QMetaObject::invokeMethod(m_front, std::move(work), Qt::QueuedConnection);
    }

private:
    static QCameraDevice choose(const QList<QCameraDevice> &inputs)
    {
        for (const QCameraDevice &d : inputs) {
            if (d.position() == QCameraDevice::FrontFace)
                return d;
        }
        const QCameraDevice fallback = QMediaDevices::defaultVideoInput();
        if (!fallback.isNull() && inputs.contains(fallback))
            return fallback;
        return inputs.first();
    }

    // A camera that is no longer listed is let go: shown, it ends with
    // "no camera"; one that comes back is set up afresh at the next start.
    void camerasChanged()
    {
        const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
        m_shared->count = int(inputs.size());
        if (!m_camera || inputs.contains(m_camera->cameraDevice()))
            return;
        const bool wanted = std::exchange(m_wanted, false);
        m_camera->stop();
        dropCamera();
        if (wanted)
            report(m_request, false, Access::NoDevice);
    }

    QMediaCaptureSession &session()
    {
        if (!m_session) {
            m_session = std::make_unique<QMediaCaptureSession>();
            m_sink = std::make_unique<QVideoSink>();
            m_session->setVideoSink(m_sink.get());
            // Frames arrive on the media framework's threads: keep the
            // latest and wake the main thread once until it takes it.
            connect(
                m_sink.get(), &QVideoSink::videoFrameChanged, this,
                [this](const QVideoFrame &frame) {
                    {
                        QMutexLocker lock(&m_shared->mutex);
                        m_shared->latest = frame;
                    }
                    if (!m_shared->framePending.exchange(true)) {
                        QtCamera *front = m_front;
                        post([front] { front->takeFrame(); });
                    }
                },
                Qt::DirectConnection);
        }
        return *m_session;
    }

    void dropCamera()
    {
        if (!m_camera)
            return;
        if (m_session)
            m_session->setCamera(nullptr);
        m_camera.reset();
    }

    void report(quint64 request, bool active, std::optional<Access> why)
    {
        QtCamera *front = m_front;
        post([front, request, active, why] { front->answer(request, active, why); });
    }

    QtCamera *m_front;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QMediaDevices> m_devices;
    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QVideoSink> m_sink;
    std::unique_ptr<QCamera> m_camera;
    quint64 m_request = 0; // the start the camera answers
    bool m_wanted = false;
};

QtCamera::QtCamera(QObject *parent)
    : platform::ICamera(parent)
    , m_shared(std::make_shared<Shared>())
{
}

QtCamera::~QtCamera()
{
    if (!m_thread)
        return;
    m_shared->frontGone = true;
    Worker *w = m_worker;
    QMetaObject::invokeMethod(
        w,
        [w] {
            w->teardown();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    if (m_thread->wait(QDeadlineTimer(3000))) {
        delete m_worker;
        delete m_thread;
        return;
    }
    // A camera stuck in its media server must not hold up the exit: the
    // thread is left to end with the process.
    qCWarning(lcPlatform) << "camera thread still busy at exit";
}

QtCamera::Worker *QtCamera::worker()
{
    if (!m_worker) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("camera"));
        m_worker = new Worker(this, m_shared);
        m_worker->moveToThread(m_thread);
        m_thread->start();
    }
    return m_worker;
}

platform::ICamera::Access QtCamera::accessFromNodes(const QStringList &nodes)
{
    if (nodes.isEmpty())
        return Access::NoDevice;
    for (const QString &node : nodes) {
        const int fd = ::open(QFile::encodeName(node).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            return Access::Granted;
        }
    }
    return Access::Refused;
}

platform::ICamera::Access QtCamera::accessFrom(int listed, const QStringList &nodes)
{
    if (listed > 0)
        return Access::Granted;
    return accessFromNodes(nodes) == Access::Refused ? Access::Refused : Access::NoDevice;
}

QStringList QtCamera::deviceNodes(const QString &devDir)
{
    QStringList nodes;
    const QFileInfoList entries =
        QDir(devDir).entryInfoList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    for (const QFileInfo &entry : entries)
        nodes << entry.absoluteFilePath();
    return nodes;
}

void QtCamera::start()
{
    const quint64 request = ++m_request;
    Worker *w = worker();
    QMetaObject::invokeMethod(w, [w, request] { w->start(request); }, Qt::QueuedConnection);
}

void QtCamera::stop()
{
    ++m_request;
    m_active = false;
    m_frame = QVideoFrame();
    if (m_view)
        m_view->setVideoFrame(QVideoFrame());
    if (Worker *w = m_worker)
        QMetaObject::invokeMethod(w, [w] { w->stop(); }, Qt::QueuedConnection);
}

void QtCamera::answer(quint64 request, bool active, std::optional<Access> why)
{
    if (request != m_request)
        return; // a later start or stop has taken over
    if (active) {
        if (m_active)
            return;
        m_active = true;
        emit activeChanged(true);
        return;
    }
    m_active = false;
    if (why)
        emit unavailable(*why);
    else
        emit failed();
}

std::optional<int> QtCamera::knownCameraCount() const
{
    const int count = m_shared->count;
    return count < 0 ? std::nullopt : std::optional<int>(count);
}

void QtCamera::countCameras(QObject *context, std::function<void(int)> done)
{
    Worker *w = worker();
    QPointer<QObject> guard(context);
    QMetaObject::invokeMethod(
        w,
        [w, guard, done = std::move(done)] {
            const int count = int(w->cameras().size());
            w->post([guard, done, count] {
                if (guard)
                    done(count);
            });
        },
        Qt::QueuedConnection);
}

QImage QtCamera::currentFrame() const
{
    return m_frame.isValid() ? m_frame.toImage() : QImage();
}

void QtCamera::takeFrame()
{
    m_shared->framePending = false;
    QVideoFrame frame;
    {
        QMutexLocker lock(&m_shared->mutex);
        frame = std::exchange(m_shared->latest, QVideoFrame());
    }
    if (!m_active || !frame.isValid())
        return;
    m_frame = frame;
    if (m_view)
        m_view->setVideoFrame(frame);
    emit frameArrived();
}

void QtCamera::setVideoOutput(QObject *output)
{
    QVideoSink *sink = qobject_cast<QVideoSink *>(output);
    if (!sink && output)
        sink = output->property("videoSink").value<QVideoSink *>();
    m_view = sink;
    if (m_view && m_frame.isValid())
        m_view->setVideoFrame(m_frame);
}

} // namespace platform
