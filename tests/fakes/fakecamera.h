#pragma once

#include "platform/camera.h"

// A camera and a face detector in memory.
class FakeCamera final : public platform::ICamera {
    Q_OBJECT
public:
    Access accessAnswer = Access::Granted;
    bool startSucceeds = true;
    bool activeAtOnce = true; // start() answers at once; else answer() does, later
    bool active = false;
    int starts = 0;
    int stops = 0;
    QImage frame = QImage(64, 48, QImage::Format_RGB32);
    QObject *output = nullptr;

    void start() override
    {
        ++starts;
        if (activeAtOnce)
            answer();
    }
    // What start() finds: no access, no camera, a failure or a picture.
    void answer()
    {
        if (accessAnswer != Access::Granted)
            emit unavailable(accessAnswer);
        else if (!startSucceeds)
            emit failed();
        else
            setActive(true);
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
    void fail()
    {
        active = false;
        emit failed();
    }
    // The camera in use goes away.
    void unplug()
    {
        active = false;
        emit unavailable(Access::NoDevice);
    }
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
