#pragma once

#include "platform/pointer.h"

#include <xcb/xcb.h>

class QSocketNotifier;

namespace platform {

// Left-button presses anywhere on the X display, read as XInput2 raw button
// events on the root window over a connection of its own (raw events reach
// every client that asks, whoever holds a grab). A press's number is its X
// server time stamp, which the same press carries when it also arrives at
// one of our windows.
class XInputClickMonitor final : public platform::IGlobalClickMonitor {
    Q_OBJECT
public:
    explicit XInputClickMonitor(QObject *parent = nullptr);
    ~XInputClickMonitor() override;

    bool start() override;
    void stop() override;

private:
    void readEvents();

    xcb_connection_t *m_conn = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    quint8 m_opcode = 0;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
