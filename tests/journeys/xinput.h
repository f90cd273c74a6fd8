#pragma once

#include <QList>
#include <QPoint>
#include <QString>

// A user's hands on the X server: pointer moves, clicks, drags, wheel turns,
// keys and typed text, sent through the XTEST extension so that the program
// sees them exactly as it would see a person's (its pointer poll, its
// click monitor, the focused window's keys). Every call waits, spinning the
// event loop, for the program to have had the events. Points are Qt's (what
// mapToGlobal gives), scaled to the X server's pixels on a scaled screen.
class XInput {
public:
    XInput();
    ~XInput();
    XInput(const XInput &) = delete;
    XInput &operator=(const XInput &) = delete;

    bool isOpen() const { return m_display != nullptr; }

    // Moves in a few steps, as a hand does, so hovers and drags see the way.
    void moveTo(QPoint to, int steps = 6);
    QPoint position() const { return m_position; }
    void press(int button = 1);
    void release(int button = 1);
    void click(QPoint at, int button = 1);
    void drag(QPoint from, QPoint to, int steps = 12);
    // Positive: away from the user (up).
    void scroll(int clicks);

    // A key by its X keysym name ("Escape", "Return", "Tab", "BackSpace",
    // "Left", "a"), with Shift, Control or Alt held when asked.
    void key(const QString &name, bool shift = false, bool control = false, bool alt = false);
    // Text as typed on a US keyboard (Latin-1 letters, digits, punctuation).
    void type(const QString &text);
    // A key held down (true) or let go; the X server repeats a held key as
    // a keyboard does. Keys still held are let go at the end.
    void hold(const QString &name, bool down);

    // A point of Qt's in the X server's pixels, and back.
    static QPoint toDevice(QPoint at);
    static QPoint fromDevice(QPoint at);

    // Lets the program take the events in and answer them.
    static void pause(int ms);

    // Off: the calls only hand their events to the X server and wait a
    // moment, without running the event loop; for callers that are
    // themselves run by it (a timer's step), so that a dialog's loop opened
    // by one click never waits on the caller.
    void setSpinning(bool spinning) { m_spinning = spinning; }

private:
    void sync();
    void wait(int ms);
    void sendKeysym(unsigned long sym, bool shift, bool control, bool alt);

    struct _XDisplay *m_display = nullptr;
    QList<unsigned char> m_held;
    QPoint m_position;
    bool m_spinning = true;
};
