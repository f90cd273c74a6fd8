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

    // Whether a camera exists and may be opened.
    virtual Access access() = 0;
    // Starts the picture; the answer arrives as activeChanged or failed.
    // False when the device cannot be set up at all.
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The latest frame as an image (null when there is none). Only called
    // for the frames that are analysed, since the conversion costs.
    virtual QImage currentFrame() const = 0;
    // Where the picture is shown: a QML VideoOutput or a QVideoSink.
    virtual void setVideoOutput(QObject *output) = 0;

signals:
    void activeChanged(bool active);
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
