#pragma once

#include "platform/camera.h"

// A camera and a face detector in memory.
class FakeCamera final : public platform::ICamera {
    Q_OBJECT
public:
    Access accessAnswer = Access::Granted;
    bool startSucceeds = true;
    bool activeAtOnce = true; // start() makes it active without waiting
    bool active = false;
    int starts = 0;
    int stops = 0;
    QImage frame = QImage(64, 48, QImage::Format_RGB32);
    QObject *output = nullptr;

    Access access() override { return accessAnswer; }
    bool start() override
    {
        ++starts;
        if (!startSucceeds)
            return false;
        if (activeAtOnce)
            setActive(true);
        return true;
    }
    void stop() override
    {
        ++stops;
        setActive(false);
    }
    bool isActive() const override { return active; }
    QImage currentFrame() const override { return frame; }
    void setVideoOutput(QObject *o) override { output = o; }

    void setActive(bool on)
    {
        if (active == on)
            return;
        active = on;
        emit activeChanged(on);
    }
    void deliverFrame() { emit frameArrived(); }
    void fail() { emit failed(); }
};

class FakeFaceDetector final : public platform::IFaceDetector {
    Q_OBJECT
public:
    int requests = 0;
    bool answerAtOnce = true;
    QList<QRectF> faces; // what every search finds

    void detect(const QImage &) override
    {
        ++requests;
        if (answerAtOnce)
            emit detected(faces);
    }
    void answer(const QList<QRectF> &found) { emit detected(found); }
};
