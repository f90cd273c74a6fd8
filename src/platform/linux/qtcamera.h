#pragma once

#include "platform/camera.h"

#include <QMediaCaptureSession>
#include <QPointer>
#include <QVideoFrame>
#include <memory>

class QCamera;
class QVideoSink;

namespace platform {

// The front camera (else the default one) through QtMultimedia. A device
// node under /dev that exists but cannot be opened counts as refused access.
class QtCamera final : public platform::ICamera {
    Q_OBJECT
public:
    explicit QtCamera(QObject *parent = nullptr);
    ~QtCamera() override;

    Access access() override;
    bool start() override;
    void stop() override;
    bool isActive() const override;
    QImage currentFrame() const override;
    void setVideoOutput(QObject *output) override;

    // Access judged from the device nodes alone: none, none that opens, or one
    // that opens.
    static Access accessFromNodes(const QStringList &nodes);

private:
    void followSink(QVideoSink *sink);
    // Qt Multimedia's first use is slow, so the session waits for the camera
    // or a view to be wanted.
    QMediaCaptureSession &session();

    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QCamera> m_camera;
    std::unique_ptr<QVideoSink> m_ownSink;
    QPointer<QVideoSink> m_sink;
    QVideoFrame m_frame;
};

} // namespace platform
