#pragma once

#include <pulse/mainloop-api.h>

#include <QSet>

namespace platform {

// libpulse's main-loop interface served by Qt's event loop: I/O events are
// QSocketNotifiers, time events QTimers and deferred events run from a
// zero-delay timer. Everything happens on the thread that owns this object,
// so libpulse callbacks never race Qt objects.
//
// The loop must outlive every libpulse object built on it.
class PulseQtMainloop {
public:
    PulseQtMainloop();
    ~PulseQtMainloop();
    PulseQtMainloop(const PulseQtMainloop &) = delete;
    PulseQtMainloop &operator=(const PulseQtMainloop &) = delete;

    pa_mainloop_api *api() { return &m_api; }

    // Internal bookkeeping for the event callbacks.
    struct Private;

private:
    pa_mainloop_api m_api;
    Private *d;
};

} // namespace platform
