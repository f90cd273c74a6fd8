#include "platform/linux/qtcamera.h"

#include "core/logging.h"

#include <QCamera>
#include <QCameraDevice>
#include <QDir>
#include <QMediaDevices>
#include <QVideoSink>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

QtCamera::QtCamera(QObject *parent)
    : platform::ICamera(parent)
{
}

QMediaCaptureSession &QtCamera::session()
{
    if (!m_session) {
        m_session = std::make_unique<QMediaCaptureSession>();
        m_ownSink = std::make_unique<QVideoSink>();
        m_session->setVideoSink(m_ownSink.get());
        followSink(m_ownSink.get());
    }
    return *m_session;
}

QtCamera::~QtCamera()
{
    if (m_camera)
        m_camera->stop();
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

platform::ICamera::Access QtCamera::access()
{
    QStringList nodes;
    const QFileInfoList entries =
        QDir(QStringLiteral("/dev")).entryInfoList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    for (const QFileInfo &entry : entries)
        nodes << entry.absoluteFilePath();
    if (QMediaDevices::videoInputs().isEmpty()) {
        // Nodes Qt cannot use are a refusal only when they cannot be opened.
        return accessFromNodes(nodes) == Access::Refused ? Access::Refused : Access::NoDevice;
    }
    return nodes.isEmpty() ? Access::Granted : accessFromNodes(nodes);
}

bool QtCamera::start()
{
    if (!m_camera) {
        QCameraDevice device;
        const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
        for (const QCameraDevice &d : inputs) {
            if (d.position() == QCameraDevice::FrontFace) {
                device = d;
                break;
            }
        }
        if (device.isNull())
            device = QMediaDevices::defaultVideoInput();
        if (device.isNull() && !inputs.isEmpty())
            device = inputs.first();
        if (device.isNull())
            return false;
        m_camera = std::make_unique<QCamera>(device);
        connect(m_camera.get(), &QCamera::activeChanged, this, &QtCamera::activeChanged);
        connect(m_camera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString &text) {
            if (error == QCamera::NoError)
                return;
            qCWarning(lcPlatform) << "camera failed:" << text;
            emit failed();
        });
        session().setCamera(m_camera.get());
    }
    m_camera->start();
    return true;
}

void QtCamera::stop()
{
    if (m_camera)
        m_camera->stop();
    m_frame = QVideoFrame();
}

bool QtCamera::isActive() const
{
    return m_camera && m_camera->isActive();
}

QImage QtCamera::currentFrame() const
{
    return m_frame.isValid() ? m_frame.toImage() : QImage();
}

void QtCamera::setVideoOutput(QObject *output)
{
    QMediaCaptureSession &s = session();
    if (output)
        s.setVideoOutput(output);
    else
        s.setVideoSink(m_ownSink.get());
    followSink(s.videoSink());
}

void QtCamera::followSink(QVideoSink *sink)
{
    if (m_sink == sink)
        return;
    if (m_sink)
        disconnect(m_sink, nullptr, this, nullptr);
    m_sink = sink;
    if (!sink)
        return;
    connect(sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
        m_frame = frame;
        emit frameArrived();
    });
}

} // namespace platform
