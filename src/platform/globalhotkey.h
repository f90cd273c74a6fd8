#pragma once

#include <QObject>

namespace platform {

// One system-wide key chord (the game-mode chord, Ctrl+Alt+G), delivered
// whichever program has the keyboard.
class IGlobalHotkey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IGlobalHotkey() override = default;

    // Starts listening for presses (the handler). False when that is impossible.
    virtual bool installHandler() = 0;
    virtual void removeHandler() = 0;
    // Claims the chord. False when it cannot be had (another program holds it).
    virtual bool grab() = 0;
    virtual void ungrab() = 0;

signals:
    // The chord went down while grabbed and a handler is installed.
    void pressed();
};

} // namespace platform
