#pragma once

#include <QPoint>

// The pointer moved and its left button pressed through the X server's test
// extension, the way a user's hand would.
class XTestPointer {
public:
    XTestPointer();
    ~XTestPointer();
    XTestPointer(const XTestPointer &) = delete;
    XTestPointer &operator=(const XTestPointer &) = delete;

    bool available() const { return m_display != nullptr; }
    void moveTo(QPoint global);
    void press(bool down);

private:
    void *m_display = nullptr;
};
