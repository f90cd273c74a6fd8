#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>

namespace platform {

// The camera that looks at the user.
class ICamera : public QObject {
    Q_OBJECT
public:
    enum class Access { Granted, Refused, NoDevice };
    Q_ENUM(Access)

    using QObject::QObject;

    // Starts the picture without holding up the caller: finding the camera
    // and setting it up may take seconds. The answer comes once, as
    // activeChanged(true), unavailable or failed.
    virtual void start() = 0;
    // Stops the picture; an answer still due from an earlier start is dropped.
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The latest frame as an image (null when there is none). Only called
    // for the frames that are analysed, since the conversion costs.
    virtual QImage currentFrame() const = 0;
    // Where the picture is shown: a QML VideoOutput or a QVideoSink.
    virtual void setVideoOutput(QObject *output) = 0;

signals:
    void activeChanged(bool active);
    // No camera may be opened: access is refused, or there is none (also
    // when the camera in use goes away).
    void unavailable(platform::ICamera::Access why);
    // The camera would not start, or stopped by itself.
    void failed();
    // A new frame has arrived.
    void frameArrived();
};

// Faces in a picture. detect() runs off the main thread; the answer comes
// back on the main thread.
class IFaceDetector : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void detect(const QImage &image) = 0;

signals:
    // Face boxes as fractions of the picture (0..1). Empty when there is no
    // face or the detection failed.
    void detected(const QList<QRectF> &faces);
};

} // namespace platform
