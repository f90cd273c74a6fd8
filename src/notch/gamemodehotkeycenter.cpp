#include "notch/gamemodehotkeycenter.h"

#include "platform/globalhotkey.h"

#include <QPointer>

GameModeHotkeyCenter::GameModeHotkeyCenter(platform::IGlobalHotkey *hotkey, QObject *parent)
    : QObject(parent), m_hotkey(hotkey)
{
    connect(m_hotkey, &platform::IGlobalHotkey::pressed, this, &GameModeHotkeyCenter::handlePress);
}

GameModeHotkeyCenter::~GameModeHotkeyCenter()
{
    unregisterHotkey();
}

void GameModeHotkeyCenter::registerHotkey()
{
    m_armed = true;
    if (m_grabbed)
        return;
    m_handler = m_hotkey->installHandler();
    if (!m_handler)
        return;
    m_grabbed = m_hotkey->grab();
    if (!m_grabbed) {
        m_hotkey->ungrab();
        m_hotkey->removeHandler();
        m_handler = false;
    }
}

void GameModeHotkeyCenter::unregisterHotkey()
{
    m_armed = false;
    if (m_grabbed) {
        m_hotkey->ungrab();
        m_grabbed = false;
    }
    if (m_handler) {
        m_hotkey->removeHandler();
        m_handler = false;
    }
}

void GameModeHotkeyCenter::handlePress()
{
    if (!m_armed)
        return;
    // Never straight from the key handler: the island acts on its next turn.
    QPointer<GameModeHotkeyCenter> self(this);
    QMetaObject::invokeMethod(this, [self] {
        if (self)
            emit self->pressed();
    }, Qt::QueuedConnection);
}
