#include "platform/linux/qtaudioplayer.h"

#include "core/logging.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QUrl>

namespace platform {

QtAudioPlayer::QtAudioPlayer(QObject *parent)
    : IAudioPlayer(parent)
{
}

QMediaPlayer &QtAudioPlayer::player()
{
    if (m_out)
        return m_out->player;
    m_out = std::make_unique<Output>();
    QMediaPlayer &player = m_out->player;
    player.setAudioOutput(&m_out->output);
    connect(&player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
        switch (s) {
        case QMediaPlayer::PlayingState: setState(State::Playing); break;
        case QMediaPlayer::PausedState: setState(State::Paused); break;
        case QMediaPlayer::StoppedState: setState(State::Stopped); break;
        }
    });
    connect(&player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        qCWarning(lcPlatform) << "playback failed:" << text;
        // A player that failed once may stay mute: the next sound gets a new one.
        m_failed = true;
        setState(State::Stopped);
    });
    return player;
}

QtAudioPlayer::~QtAudioPlayer() = default;

bool QtAudioPlayer::play(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    if (m_failed) {
        m_failed = false;
        m_out.reset();
    }
    QMediaPlayer &p = player();
    // The desktop's output of the moment (Qt may not have listed it yet when
    // the player was made).
    m_out->output.setDevice(QMediaDevices::defaultAudioOutput());
    p.stop();
    p.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (p.error() != QMediaPlayer::NoError)
        return false;
    // Reported as playing at once, so that a check right after the press
    // does not take a player that is still loading for a finished one.
    setState(State::Playing);
    p.play();
    return true;
}

void QtAudioPlayer::pause()
{
    if (m_out)
        m_out->player.pause();
    setState(State::Paused);
}

void QtAudioPlayer::resume()
{
    setState(State::Playing);
    if (m_out)
        m_out->player.play();
}

void QtAudioPlayer::stop()
{
    if (m_out) {
        m_out->player.stop();
        m_out->player.setSource(QUrl());
    }
    setState(State::Stopped);
}

void QtAudioPlayer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

DesktopSoundPlayer::DesktopSoundPlayer(const QString &alertFile, QObject *parent)
    : QObject(parent)
    , m_alertFile(alertFile)
{
}

DesktopSoundPlayer::~DesktopSoundPlayer() = default;

void DesktopSoundPlayer::beep()
{
    // The X server's bell, which the desktop may turn into its alert sound.
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_bell(x11->connection(), 0);
    xcb_flush(x11->connection());
}

bool DesktopSoundPlayer::playAlert()
{
    return m_player.play(m_alertFile);
}

} // namespace platform
