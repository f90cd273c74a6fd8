#pragma once

#include "platform/linux/x11connection.h"
#include "platform/pointer.h"

#include <memory>

namespace platform {

// The pointer as the X server tells it, asked over a connection of its own.
// The island asks 60 times a second for the whole run: on Qt's connection
// each answer goes through Qt's event reader thread, which wakes both
// threads; here the main thread alone waits for its answer. Where the
// island's coordinates are not the server's pixels (a scaled screen), off
// X11, or when no connection can be made, QCursor answers.
class X11PointerLocation final : public IPointerLocation {
public:
    X11PointerLocation() = default;
    ~X11PointerLocation() override = default;
    X11PointerLocation(const X11PointerLocation &) = delete;
    X11PointerLocation &operator=(const X11PointerLocation &) = delete;

    QPointF position() const override;

private:
    bool connectOnce() const;

    mutable std::unique_ptr<X11Connection> m_x;
    mutable bool m_tried = false;
};

} // namespace platform
