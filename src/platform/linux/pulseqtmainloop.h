#pragma once

#include <pulse/context.h>
#include <pulse/mainloop-api.h>
#include <pulse/stream.h>

#include <QSet>

class QObject;

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

// Lets go of a stream and its context, either of them null: their
// callbacks stop and they are disconnected at once; the references are
// dropped at once (now) or, on owner's thread, once libpulse has returned
// from the callback this may be called from.
void releasePulse(pa_stream *stream, pa_context *context, QObject *owner, bool now);

} // namespace platform
