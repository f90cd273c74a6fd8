#pragma once

class QKeyEvent;

namespace platform {

// Which key of the keyboard a key event came from, by its place on the
// keyboard rather than the character it types: the logic's key codes name
// places (the key right of Tab is Q on every layout).
class IKeyPositions {
public:
    virtual ~IKeyPositions() = default;
    // The key code (KeyCode) of the key at the event's place, or
    // KeyCode::Unknown when the window system does not say.
    virtual int keyCode(const QKeyEvent &event) const = 0;
};

} // namespace platform
