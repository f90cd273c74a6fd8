#pragma once

#include "platform/camera.h"

#include <QPointer>
#include <QVideoFrame>
#include <functional>
#include <memory>
#include <optional>

class QThread;
class QVideoSink;

namespace platform {

// The front camera (else the default one) through QtMultimedia. Everything
// Qt Multimedia does — listing the cameras, setting one up, starting and
// stopping it — happens on a thread of its own, since each of these can wait
// seconds on the media server; the frames come back to the main thread.
class QtCamera final : public platform::ICamera {
    Q_OBJECT
public:
    explicit QtCamera(QObject *parent = nullptr);
    ~QtCamera() override;

    void start() override;
    void stop() override;
    bool isActive() const override { return m_active; }
    QImage currentFrame() const override;
    void setVideoOutput(QObject *output) override;

    // How many cameras Qt offers, as last counted (none before the first
    // count, which waits for the camera to be wanted).
    std::optional<int> knownCameraCount() const;
    // Counts the cameras again off the main thread; done gets the count on
    // the main thread unless context is gone by then.
    void countCameras(QObject *context, std::function<void(int)> done);

    // Access judged from the device nodes alone: none, none that opens, or one
    // that opens.
    static Access accessFromNodes(const QStringList &nodes);
    // Access given how many cameras Qt lists and the device nodes: a listed
    // camera may be opened; with none listed, nodes that all refuse to open
    // are a refusal, anything else is no camera.
    static Access accessFrom(int listed, const QStringList &nodes);
    // The video device nodes in devDir.
    static QStringList deviceNodes(const QString &devDir = QStringLiteral("/dev"));

    class Worker;
    struct Shared;

private:
    Worker *worker();
    void takeFrame();
    void answer(quint64 request, bool active, std::optional<Access> why);

    QThread *m_thread = nullptr;
    Worker *m_worker = nullptr;
    std::shared_ptr<Shared> m_shared;
    // Each start and stop is a new request; answers to older ones are late.
    quint64 m_request = 0;
    bool m_active = false;
    QVideoFrame m_frame;
    QPointer<QVideoSink> m_view;
};

} // namespace platform
