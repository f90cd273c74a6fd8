#include "media/mirrorcamera.h"

#include "core/clock.h"
#include "core/publish.h"

bool isFaceTooClose(const QList<QRectF> &faces)
{
    for (const QRectF &face : faces) {
        if (face.width() > 0.42 || face.height() > 0.55)
            return true;
    }
    return false;
}

MirrorCamera::MirrorCamera(platform::ICamera &camera, platform::IFaceDetector &detector, const Clock &clock,
                           QObject *parent)
    : QObject(parent)
    , m_camera(camera)
    , m_detector(detector)
    , m_clock(clock)
{
    connect(&m_camera, &platform::ICamera::activeChanged, this, [this](bool active) {
        if (!m_wanted)
            return;
        setRunning(active);
        setStatus(active ? StatusOn : StatusFailed);
    });
    connect(&m_camera, &platform::ICamera::failed, this, [this] {
        if (!m_wanted)
            return;
        setRunning(false);
        setStatus(StatusFailed);
    });
    connect(&m_camera, &platform::ICamera::frameArrived, this, &MirrorCamera::onFrame);
    connect(&m_detector, &platform::IFaceDetector::detected, this, &MirrorCamera::onFaces);
}

bool MirrorCamera::start()
{
    setDenied(false);
    switch (m_camera.access()) {
    case platform::ICamera::Access::Refused:
        setDenied(true);
        setStatus(StatusDenied);
        return false;
    case platform::ICamera::Access::NoDevice:
        setStatus(StatusNoCamera);
        return false;
    case platform::ICamera::Access::Granted:
        break;
    }
    m_wanted = true;
    if (m_camera.isActive()) {
        setRunning(true);
        setStatus(StatusOn);
        return true;
    }
    if (!m_camera.start()) {
        m_wanted = false;
        setStatus(StatusNoCamera);
        return false;
    }
    // Starting is asynchronous; activeChanged or failed finishes it.
    if (m_camera.isActive()) {
        setRunning(true);
        setStatus(StatusOn);
    }
    return true;
}

void MirrorCamera::stop()
{
    m_wanted = false;
    if (m_camera.isActive())
        m_camera.stop();
    setRunning(false);
    setFaceTooClose(false);
    setStatus(StatusOff);
}

void MirrorCamera::setVideoOutput(QObject *output)
{
    m_camera.setVideoOutput(output);
}

void MirrorCamera::onFrame()
{
    if (!m_wanted || m_detecting)
        return;
    const qint64 now = m_clock.monotonicMs();
    if (m_lastCheck && now - *m_lastCheck <= FaceCheckIntervalMs)
        return;
    m_lastCheck = now;
    const QImage frame = m_camera.currentFrame();
    if (frame.isNull())
        return;
    m_detecting = true;
    m_detector.detect(frame);
}

void MirrorCamera::onFaces(const QList<QRectF> &faces)
{
    m_detecting = false;
    if (!m_wanted)
        return;
    setFaceTooClose(isFaceTooClose(faces));
}

void MirrorCamera::setRunning(bool running)
{
    publish(this, m_isRunning, running, &MirrorCamera::isRunningChanged);
}

void MirrorCamera::setDenied(bool denied)
{
    publish(this, m_denied, denied, &MirrorCamera::deniedChanged);
}

void MirrorCamera::setStatus(const QString &status)
{
    publish(this, m_status, status, &MirrorCamera::statusChanged);
}

void MirrorCamera::setFaceTooClose(bool close)
{
    publish(this, m_faceTooClose, close, &MirrorCamera::faceTooCloseChanged);
}
