#include "core/keyinput.h"

#include "core/keycodes.h"

#include <QKeyEvent>

KeyInput KeyInput::fromEvent(const QKeyEvent &event, int positionalKeyCode)
{
    KeyInput k;
    k.keyCode = positionalKeyCode;
    if (k.keyCode == KeyCode::Unknown)
        k.keyCode = keyCodeFromQt(event.key(), event.modifiers());
    const Qt::KeyboardModifiers m = event.modifiers();
    k.control = m & Qt::ControlModifier;
    k.option = m & Qt::AltModifier;
    k.command = m & Qt::MetaModifier;
    k.shift = m & Qt::ShiftModifier;
    k.autoRepeat = event.isAutoRepeat();
    k.text = event.text();
    return k;
}

bool KeyRepeats::isRepeat(const QKeyEvent &event)
{
    if (event.type() == QEvent::KeyRelease) {
        m_release = Release{event.key(), event.nativeScanCode(), event.timestamp()};
        return event.isAutoRepeat();
    }
    const bool pair = m_release && event.timestamp() != 0 && m_release->at == event.timestamp()
        && m_release->key == event.key() && m_release->scanCode == event.nativeScanCode();
    m_release.reset();
    return event.isAutoRepeat() || pair;
}

bool KeyInput::isGameModeChord() const
{
    return keyCode == KeyCode::G && control && option && !command;
}
