#pragma once

#include "core/scheduler.h"
#include "platform/mediakeys.h"
#include "services/systemhudpulse.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <functional>
#include <limits>
#include <optional>

namespace platform {
class IAudioOutput;
class IBacklight;
} // namespace platform
class Clock;

// The source of the island's own volume and brightness display.
//
// While started, it catches the volume, mute and brightness keys, carries
// them out itself (volume in sixteenths, mute toggle, brightness in
// sixteenths) and hands each change to onChange. Changes made elsewhere reach
// onChange too: through the output's volume notices and a brightness poll.
// A change this monitor made itself is not reported a second time when its
// notice comes back within the echo window.
class SystemHUDMonitor : public QObject {
    Q_OBJECT
public:
    // Key action codes (the media key type numbers).
    enum KeyAction { VolumeUp = 0, VolumeDown = 1, BrightnessUp = 2, BrightnessDown = 3, MuteToggle = 7 };

    static constexpr double step = 1.0 / 16.0;
    static constexpr qint64 debounceMs = 55;
    static constexpr qint64 echoWindowMs = 280;
    static constexpr int repeatFirstMs = 320;
    static constexpr int repeatEveryMs = 80;
    static constexpr int tapRetryMs = 2000;
    static constexpr qint64 remapRefreshMs = 4000;
    static constexpr int osdWatchdogMs = 120;
    static constexpr int brightnessPollMs = 80;
    static constexpr double volumeThreshold = 0.004;
    static constexpr double brightnessThreshold = 0.008;

    SystemHUDMonitor(platform::IMediaKeyCapture *keys, platform::IAudioOutput *audio, platform::IBacklight *backlight,
                     Clock *clock, Scheduler *scheduler, QObject *parent = nullptr);
    ~SystemHUDMonitor() override;


    void start();
    void stop();
    bool isRunning() const { return m_running; }

    // Removes the system's own volume/brightness display where there is one.
    void killSystemOSD();

    // Audio and display control.
    double readVolume() const;
    bool readMuted() const;
    void stepVolume(double by);
    void setMuted(bool muted);
    std::optional<double> currentBrightness() const;
    void stepBrightness(double by);

    // Readings kept between notices.
    std::optional<double> lastVolume() const { return m_lastVolume; }
    std::optional<bool> lastMuted() const { return m_lastMuted; }
    std::optional<double> lastBrightness() const { return m_lastBrightness; }
    bool keyRemapActive() const { return m_keyRemapActive; }
    bool hasEventTap() const { return m_tapInstalled; }
    QList<int> hotKeyRefs() const { return m_hotKeyRefs; }

    // The media-key mapping onto F16...F20, and its JSON text.
    static const QList<platform::KeyRemap> &remapTable();
    static QByteArray keyRemapJson(const QList<platform::KeyRemap> &pairs);

signals:
    // Every pulse, always later on the main thread.
    void pulsed(const SystemHUDPulse &pulse);

private:
    // Key capture.
    void registerHotKeys();
    void unregisterHotKeys();
    void installEventTap();
    void retryEventTapLater();
    void removeEventTap();
    bool eventTapCallback(const platform::CapturedKey &key);
    void hotKeyHandler(int id);
    void dispatchHotKey(int id);
    void handleKeyAction(int action);
    void startKeyRepeat(int action, int virtualKeyCode);
    void repeatFire(int action, int virtualKeyCode);
    void stopKeyRepeat();
    bool applyKeyRemap(const QList<platform::KeyRemap> &pairs);
    // Whether a function key carrying a media key is held (the remap route).
    bool isKeyDown(int virtualKeyCode) const;
    void startOSDWatchdog();

    // Output and display notices.
    void addDeviceListener();
    void removeDeviceListener();
    void addVolumeListeners();
    void removeAudioListeners();
    void outputDeviceChanged();
    void volumeChanged();
    void startBrightnessPoll();
    void brightnessTick();
    void pollBrightness();
    void emitPulse(SystemHUDKind kind, bool muted, double value);

    qint64 now() const;

    platform::IMediaKeyCapture *m_keys;
    platform::IAudioOutput *m_audio;
    platform::IBacklight *m_backlight;
    Clock *m_clock;
    Scheduler *m_scheduler;

    static constexpr qint64 distantPast = std::numeric_limits<qint64>::min() / 4;

    bool m_running = false;
    QString m_outputDevice;
    QMetaObject::Connection m_volumeListener;
    QMetaObject::Connection m_deviceListener;
    std::optional<double> m_lastVolume;
    std::optional<bool> m_lastMuted;
    std::optional<double> m_lastBrightness;
    TaskHandle m_brightnessTimer;
    TaskHandle m_osdWatchdog;
    TaskHandle m_repeatTimer;
    TaskHandle m_tapRetry;
    bool m_tapInstalled = false;
    qint64 m_ignoreSystemUntil = distantPast;
    qint64 m_lastApplyAt = distantPast;
    qint64 m_lastRemapAt = distantPast;
    QList<int> m_hotKeyRefs;
    bool m_hotKeyHandlerInstalled = false;
    bool m_keyRemapActive = false;
};
