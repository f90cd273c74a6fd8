#pragma once

#include "platform/mediakeys.h"

#include <QByteArrayList>
#include <QList>
#include <QMap>
#include <QSet>

// Media-key capture in memory: tests press keys through the tap or the hot
// keys and choose what the platform allows.
class FakeMediaKeys final : public platform::IMediaKeyCapture, public platform::IMediaKeyRemap, public platform::ISystemKeyDisplay {
public:
    // What the platform allows.
    bool remapPath = false;    // keyRemap() hands out the remap route
    bool remapSucceeds = true; // applyKeyRemap()
    bool hotKeyHandlerSucceeds = true;
    QSet<int> failingHotKeys; // ids whose registration fails
    int tapFailures = 0;      // the next n installTap() calls fail
    bool hasSystemOSD = true; // systemKeyDisplay() hands out a display

    // What happened.
    QByteArrayList remapCalls;
    int tapInstalls = 0;
    int osdKills = 0;
    QSet<int> keysDown;

    bool installTap(TapCallback callback) override;
    void removeTap() override { m_tap = nullptr; }
    platform::IMediaKeyRemap *keyRemap() override { return remapPath ? this : nullptr; }
    platform::ISystemKeyDisplay *systemKeyDisplay() override { return hasSystemOSD ? this : nullptr; }
    bool applyKeyRemap(const QByteArray &json) override;
    bool installHotKeyHandler(HotKeyCallback callback) override;
    void removeHotKeyHandler() override { m_hotKeyHandler = nullptr; }
    bool registerHotKey(int id, int virtualKeyCode) override;
    void unregisterHotKey(int id) override { m_hotKeys.remove(id); }
    bool isKeyDown(int virtualKeyCode) const override { return keysDown.contains(virtualKeyCode); }
    void killSystemOSD() override { ++osdKills; }

    bool hasTap() const { return bool(m_tap); }
    bool hasHotKeyHandler() const { return bool(m_hotKeyHandler); }
    QList<int> hotKeys() const { return m_hotKeys.keys(); }

    // Sends a key through the tap; returns whether it was consumed (false
    // also when no tap is installed).
    bool tap(const platform::CapturedKey &key);
    bool tapMedia(int type, bool down = true, bool autoRepeat = false)
    {
        return tap({platform::CapturedKey::Kind::MediaKey, type, down, autoRepeat});
    }
    bool tapFunction(int virtualKeyCode, bool down = true, bool autoRepeat = false)
    {
        return tap({platform::CapturedKey::Kind::FunctionKey, virtualKeyCode, down, autoRepeat});
    }
    // Presses a registered hot key; false when none is registered under id.
    bool pressHotKey(int id);

private:
    TapCallback m_tap;
    HotKeyCallback m_hotKeyHandler;
    QMap<int, int> m_hotKeys; // id -> virtual key code
};
