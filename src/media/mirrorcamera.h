#pragma once

#include "platform/camera.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class Clock;

// Whether any face box (fractions of the picture) is wider than 0.42 or
// taller than 0.55 of the picture.
bool isFaceTooClose(const QList<QRectF> &faces);

// The mirror panel's camera: its running state, a one-line status and a
// warning when the face in the picture is too close.
class MirrorCamera : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the composition root")
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(bool isStarting READ isStarting NOTIFY isStartingChanged)
    Q_PROPERTY(bool denied READ denied NOTIFY deniedChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool faceTooClose READ faceTooClose NOTIFY faceTooCloseChanged)
public:
    static constexpr int FaceCheckIntervalMs = 800;

    static inline const QString StatusOff = QStringLiteral("Camera off");
    static inline const QString StatusOn = QStringLiteral("Mirror on");
    static inline const QString StatusFailed = QStringLiteral("Camera failed to start");
    static inline const QString StatusNoCamera = QStringLiteral("No camera found");
    static inline const QString StatusDenied = QStringLiteral("Allow camera in System Settings → Privacy → Camera");

    MirrorCamera(platform::ICamera &camera, platform::IFaceDetector &detector, const Clock &clock,
                 QObject *parent = nullptr);

    // Starts the picture. The camera answers later: started() once it
    // runs, else gaveUp() with the reason in status and denied. A start while
    // one is under way changes nothing.
    Q_INVOKABLE void start();
    // Stops the picture, or the start under way (which then never answers).
    Q_INVOKABLE void stop();
    // Shows the picture in a QML VideoOutput (or a QVideoSink).
    Q_INVOKABLE void setVideoOutput(QObject *output);

    bool isRunning() const { return m_isRunning; }
    bool isStarting() const { return m_isStarting; }
    bool denied() const { return m_denied; }
    QString status() const { return m_status; }
    bool faceTooClose() const { return m_faceTooClose; }

signals:
    void started();
    // The camera would not start, or stopped by itself while running.
    void gaveUp();
    void isRunningChanged();
    void isStartingChanged();
    void deniedChanged();
    void statusChanged();
    void faceTooCloseChanged();

private:
    void setRunning(bool running);
    void setStarting(bool starting);
    void giveUp(const QString &status);
    void setDenied(bool denied);
    void setStatus(const QString &status);
    void setFaceTooClose(bool close);
    void onFrame();
    void onFaces(const QList<QRectF> &faces);

    platform::ICamera &m_camera;
    platform::IFaceDetector &m_detector;
    const Clock &m_clock;
    bool m_isRunning = false;
    bool m_isStarting = false;
    bool m_denied = false;
    QString m_status = StatusOff;
    bool m_faceTooClose = false;
    bool m_wanted = false;     // between start() and stop()
    bool m_detecting = false;  // a frame is being analysed
    std::optional<qint64> m_lastCheck;
};
