#pragma once

#include "core/scheduler.h"
#include "core/stallwatch.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace platform {
class IMicRecorder;
class IAudioPlayer;
class ISoundPlayer;
} // namespace platform

// The mic check: a tone for the speakers, and a take from the microphone
// with a live level that plays back when the take stops.
class MicCheckEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The mic check card's engine comes from the application")
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(float level READ level NOTIFY levelChanged)
    Q_PROPERTY(bool recording READ recording NOTIFY recordingChanged)
public:
    static constexpr int MeterIntervalMs = 80;
    // How long a take's input may give nothing (not even silence) before
    // the take ends as if the input were lost.
    static constexpr int InputStallMs = 3000;

    // takePath: the one file every take is written to.
    MicCheckEngine(platform::IMicRecorder *recorder, platform::IAudioPlayer *player, platform::ISoundPlayer *sounds,
                   Scheduler *scheduler, const QString &takePath = defaultTakePath(), QObject *parent = nullptr);

    // Ends a take under way: the capture goes with the engine, and so does
    // the playback of its take.
    ~MicCheckEngine() override;

    // "pavlet-mic-check.m4a" in this user's private scratch folder; "" when
    // there is none (a take then cannot be recorded).
    static QString defaultTakePath();

    QString status() const { return m_status; }
    float level() const { return m_level; }
    bool recording() const { return m_recording; }
    // A take is being started (the permission answer is still out).
    bool starting() const { return m_starting; }

    Q_INVOKABLE void playTone();
    Q_INVOKABLE void toggleRecord();

    // -50 dBFS and below give 0, 0 dBFS gives 1, linear in between.
    static float levelFor(double averagePowerDb);

signals:
    void statusChanged();
    void levelChanged();
    void recordingChanged();

private:
    void permissionAnswered(bool granted);
    void playBack();
    void recorderFailed();
    // The input went away or gave nothing for too long: the take ends as if
    // stopped and plays what it holds, and the card says why it ended.
    void loseInput();
    void updateMeter();
    void setStatus(const QString &status);
    void setLevel(float level);
    void setRecording(bool recording);

    platform::IMicRecorder *m_recorder;
    platform::IAudioPlayer *m_player;
    platform::ISoundPlayer *m_sounds;
    Scheduler *m_scheduler;
    QString m_takePath;
    QString m_status = QStringLiteral("Play a tone, or record a second and hear it back");
    float m_level = 0;
    bool m_recording = false;
    bool m_starting = false;
    bool m_awaitingTake = false; // stopped, playing back once the file is complete
    bool m_played = false;       // the player holds this engine's take
    bool m_inputLost = false;    // the input of the last take went away
    TaskHandle m_meter;
    StallWatch m_stall{InputStallMs, MeterIntervalMs};
};
