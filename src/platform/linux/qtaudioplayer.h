#pragma once

#include "platform/audiorecorder.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <memory>

namespace platform {

// Plays one sound file at a time through QMediaPlayer.
class QtAudioPlayer final : public IAudioPlayer {
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject *parent = nullptr);
    ~QtAudioPlayer() override;

    bool play(const QString &path) override;
    void pause() override;
    void resume() override;
    void stop() override;
    State state() const override { return m_state; }

private:
    void setState(State state);
    // Built by the first sound played.
    struct Output {
        QAudioOutput output;
        QMediaPlayer player;
    };
    QMediaPlayer &player();

    std::unique_ptr<Output> m_out;
    State m_state = State::Stopped;
    bool m_failed = false;
};

// The X11 bell and a sound of the freedesktop sound theme.
class DesktopSoundPlayer final : public QObject, public ISoundPlayer {
    Q_OBJECT
public:
    static inline const QString DefaultAlert = QStringLiteral("/usr/share/sounds/freedesktop/stereo/bell.oga");

    explicit DesktopSoundPlayer(const QString &alertFile = DefaultAlert, QObject *parent = nullptr);
    ~DesktopSoundPlayer() override;
    void beep() override;
    bool playAlert() override;

private:
    QString m_alertFile;
    QtAudioPlayer m_player;
};

} // namespace platform
