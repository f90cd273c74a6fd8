#pragma once

#include <QObject>

namespace platform { class IGlobalHotkey; }

// Holds the game-mode chord while the game-mode module is shown. A press is
// passed on as pressed() on the main thread's next turn, if the centre was
// armed when the key went down; unregisterHotkey() disarms it.
class GameModeHotkeyCenter : public QObject {
    Q_OBJECT
public:
    explicit GameModeHotkeyCenter(platform::IGlobalHotkey *hotkey, QObject *parent = nullptr);
    ~GameModeHotkeyCenter() override;

    // Arms presses and claims the chord unless it is held already. When the
    // chord cannot be claimed, the handler is removed again and the next
    // call tries afresh.
    void registerHotkey();
    // Disarms presses and gives the chord and the handler back.
    void unregisterHotkey();

    bool isRegistered() const { return m_grabbed; }
    bool isArmed() const { return m_armed; }

signals:
    void pressed();

private:
    void handlePress();

    platform::IGlobalHotkey *m_hotkey;
    bool m_armed = false;
    bool m_handler = false;
    bool m_grabbed = false;
};
