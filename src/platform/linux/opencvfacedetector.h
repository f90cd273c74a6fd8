#pragma once

#include "platform/camera.h"

#include <QFutureWatcher>
#include <memory>

namespace platform {

// Faces found with OpenCV's frontal-face Haar cascade, off the main thread.
class OpenCvFaceDetector final : public platform::IFaceDetector {
    Q_OBJECT
public:
    static inline const QString DefaultCascade =
        QStringLiteral("/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml");

    explicit OpenCvFaceDetector(const QString &cascadePath = DefaultCascade, QObject *parent = nullptr);
    ~OpenCvFaceDetector() override;

    // Whether the cascade could be loaded; without it no face is ever found.
    bool isLoaded() const;
    void detect(const QImage &image) override;
    // The same search on the calling thread.
    QList<QRectF> detectNow(const QImage &image) const;

private:
    struct Cascade;
    // The cascade is read by the first search (reading it slows start-up).
    const std::shared_ptr<Cascade> &cascade() const;

    QString m_cascadePath;
    mutable std::shared_ptr<Cascade> m_cascade;
    QFutureWatcher<QList<QRectF>> m_watcher;
};

} // namespace platform
