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

bool KeyInput::isGameModeChord() const
{
    return keyCode == KeyCode::G && control && option && !command;
}
