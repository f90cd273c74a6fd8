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
        // A camera that stops by itself says why through failed or unavailable.
        if (!m_wanted || !active)
            return;
        const bool starting = m_isStarting;
        setStarting(false);
        setRunning(true);
        setStatus(StatusOn);
        if (starting)
            emit started();
    });
    connect(&m_camera, &platform::ICamera::unavailable, this, [this](platform::ICamera::Access why) {
        if (!m_wanted)
            return;
        if (why == platform::ICamera::Access::Refused) {
            setDenied(true);
            giveUp(StatusDenied);
        } else {
            giveUp(StatusNoCamera);
        }
    });
    connect(&m_camera, &platform::ICamera::failed, this, [this] {
        if (m_wanted)
            giveUp(StatusFailed);
    });
    connect(&m_camera, &platform::ICamera::frameArrived, this, &MirrorCamera::onFrame);
    connect(&m_detector, &platform::IFaceDetector::detected, this, &MirrorCamera::onFaces);
}

void MirrorCamera::start()
{
    if (m_isStarting)
        return;
    setDenied(false);
    m_wanted = true;
    if (m_camera.isActive()) {
        setRunning(true);
        setStatus(StatusOn);
        return;
    }
    setStarting(true);
    // Access, the device and the start are all judged by the camera, which
    // may answer at once or seconds later.
    m_camera.start();
}

void MirrorCamera::stop()
{
    m_wanted = false;
    if (m_camera.isActive() || m_isStarting)
        m_camera.stop();
    setStarting(false);
    setRunning(false);
    setFaceTooClose(false);
    setStatus(StatusOff);
}

void MirrorCamera::giveUp(const QString &status)
{
    m_wanted = false;
    m_camera.stop();
    setStarting(false);
    setRunning(false);
    setFaceTooClose(false);
    setStatus(status);
    emit gaveUp();
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

void MirrorCamera::setStarting(bool starting)
{
    publish(this, m_isStarting, starting, &MirrorCamera::isStartingChanged);
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
