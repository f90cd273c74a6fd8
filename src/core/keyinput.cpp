#include "core/keyinput.h"

#include "core/keycodes.h"

#include <QKeyEvent>

namespace {

bool letterOfAnotherScript(char32_t c)
{
    return QChar::isLetter(c) && QChar::script(c) != QChar::Script_Latin;
}

} // namespace

int KeyInput::shortcutKey(const QKeyEvent &event, int positionalKeyCode)
{
    const int key = event.key();
    // Qt's keys for characters are the characters' code points; named keys
    // (Escape, F1, arrows, dead keys) lie above them.
    const bool character = key > 0 && key < Qt::Key_Escape;
    if (character ? !letterOfAnotherScript(char32_t(key)) : key != 0 && key != Qt::Key_unknown)
        return key;
    const int latin = latinQtKeyAt(positionalKeyCode);
    return latin != 0 ? latin : key;
}

QChar KeyInput::latinChar() const
{
    if (text.isEmpty())
        return {};
    const QChar typed = text.at(0);
    if (!letterOfAnotherScript(typed.unicode()))
        return typed;
    const int latin = latinQtKeyAt(keyCode);
    if (latin <= 0 || latin >= 0x80)
        return typed;
    return typed.isUpper() ? QChar(latin).toUpper() : QChar(latin).toLower();
}

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
