#include "platform/linux/pulseqtmainloop.h"

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <vector>

// libpulse declares these event types opaque; each main-loop implementation
// defines them. An event freed by libpulse is marked dead at once (its
// callback never runs again) and deleted after the current dispatch.

struct pa_io_event {
    platform::PulseQtMainloop::Private *loop = nullptr;
    int fd = -1;
    pa_io_event_cb_t cb = nullptr;
    void *userdata = nullptr;
    pa_io_event_destroy_cb_t destroy = nullptr;
    QSocketNotifier *read = nullptr;
    QSocketNotifier *write = nullptr;
    bool dead = false;
};

struct pa_time_event {
    platform::PulseQtMainloop::Private *loop = nullptr;
    QTimer *timer = nullptr;
    struct timeval when {};
    pa_time_event_cb_t cb = nullptr;
    void *userdata = nullptr;
    pa_time_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

struct pa_defer_event {
    platform::PulseQtMainloop::Private *loop = nullptr;
    pa_defer_event_cb_t cb = nullptr;
    void *userdata = nullptr;
    pa_defer_event_destroy_cb_t destroy = nullptr;
    bool enabled = false;
    bool dead = false;
};

namespace platform {

struct PulseQtMainloop::Private : QObject {
    pa_mainloop_api *api = nullptr;
    std::vector<pa_io_event *> ios;
    std::vector<pa_time_event *> times;
    std::vector<pa_defer_event *> defers;
    QTimer deferTimer;
    QTimer sweepTimer;

    Private()
    {
        deferTimer.setInterval(0);
        QObject::connect(&deferTimer, &QTimer::timeout, this, [this] { runDefers(); });
        sweepTimer.setSingleShot(true);
        sweepTimer.setInterval(0);
        QObject::connect(&sweepTimer, &QTimer::timeout, this, [this] { sweep(); });
    }

    ~Private() override
    {
        for (pa_io_event *e : ios)
            delete e;
        for (pa_time_event *e : times)
            delete e;
        for (pa_defer_event *e : defers)
            delete e;
    }

    void runDefers()
    {
        // Callbacks may add or free deferred events: walk a snapshot.
        const std::vector<pa_defer_event *> snapshot = defers;
        for (pa_defer_event *e : snapshot) {
            if (!e->dead && e->enabled)
                e->cb(api, e, e->userdata);
        }
        updateDeferTimer();
    }

    void updateDeferTimer()
    {
        bool any = false;
        for (pa_defer_event *e : defers)
            any = any || (!e->dead && e->enabled);
        if (any && !deferTimer.isActive())
            deferTimer.start();
        else if (!any)
            deferTimer.stop();
    }

    template<typename T>
    static void eraseDead(std::vector<T *> &list)
    {
        std::vector<T *> kept;
        for (T *e : list) {
            if (e->dead)
                delete e;
            else
                kept.push_back(e);
        }
        list.swap(kept);
    }

    void sweep()
    {
        eraseDead(ios);
        eraseDead(times);
        eraseDead(defers);
    }
};

namespace {

using Private = PulseQtMainloop::Private;

Private *loopOf(pa_mainloop_api *a)
{
    return static_cast<Private *>(a->userdata);
}

// ---- I/O events --------------------------------------------------------

void ioEnable(pa_io_event *e, pa_io_event_flags_t events)
{
    if (e->dead)
        return;
    const bool wantRead = events & (PA_IO_EVENT_INPUT | PA_IO_EVENT_HANGUP | PA_IO_EVENT_ERROR);
    const bool wantWrite = events & PA_IO_EVENT_OUTPUT;
    if (wantRead && !e->read) {
        e->read = new QSocketNotifier(e->fd, QSocketNotifier::Read, e->loop);
        QObject::connect(e->read, &QSocketNotifier::activated, e->loop, [e] {
            if (!e->dead)
                e->cb(e->loop->api, e, e->fd, PA_IO_EVENT_INPUT, e->userdata);
        });
    }
    if (wantWrite && !e->write) {
        e->write = new QSocketNotifier(e->fd, QSocketNotifier::Write, e->loop);
        QObject::connect(e->write, &QSocketNotifier::activated, e->loop, [e] {
            if (!e->dead)
                e->cb(e->loop->api, e, e->fd, PA_IO_EVENT_OUTPUT, e->userdata);
        });
    }
    if (e->read)
        e->read->setEnabled(wantRead);
    if (e->write)
        e->write->setEnabled(wantWrite);
}

pa_io_event *ioNew(pa_mainloop_api *a, int fd, pa_io_event_flags_t events, pa_io_event_cb_t cb, void *userdata)
{
    auto *e = new pa_io_event;
    e->loop = loopOf(a);
    e->fd = fd;
    e->cb = cb;
    e->userdata = userdata;
    e->loop->ios.push_back(e);
    ioEnable(e, events);
    return e;
}

void ioFree(pa_io_event *e)
{
    if (e->dead)
        return;
    e->dead = true;
    for (QSocketNotifier *n : {e->read, e->write}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    e->read = e->write = nullptr;
    if (e->destroy)
        e->destroy(e->loop->api, e, e->userdata);
    e->loop->sweepTimer.start();
}

void ioSetDestroy(pa_io_event *e, pa_io_event_destroy_cb_t cb)
{
    e->destroy = cb;
}

// ---- time events -------------------------------------------------------

// libpulse marks times on the monotonic clock with this bit in tv_usec.
constexpr suseconds_t rtClockFlag = suseconds_t(1) << 30;

void timeArm(pa_time_event *e, const struct timeval *tv)
{
    if (!tv) {
        e->timer->stop();
        return;
    }
    e->when = *tv;
    struct timeval target = *tv;
    pa_usec_t now;
    if (target.tv_usec & rtClockFlag) {
        target.tv_usec &= ~rtClockFlag;
        now = pa_rtclock_now();
    } else {
        struct timeval wall;
        now = pa_timeval_load(pa_gettimeofday(&wall));
    }
    const pa_usec_t due = pa_timeval_load(&target);
    const qint64 ms = due > now ? qint64((due - now + 999) / 1000) : 0;
    e->timer->start(int(qMin<qint64>(ms, std::numeric_limits<int>::max())));
}

pa_time_event *timeNew(pa_mainloop_api *a, const struct timeval *tv, pa_time_event_cb_t cb, void *userdata)
{
    auto *e = new pa_time_event;
    e->loop = loopOf(a);
    e->cb = cb;
    e->userdata = userdata;
    e->timer = new QTimer(e->loop);
    e->timer->setSingleShot(true);
    e->timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(e->timer, &QTimer::timeout, e->loop, [e] {
        if (!e->dead)
            e->cb(e->loop->api, e, &e->when, e->userdata);
    });
    e->loop->times.push_back(e);
    timeArm(e, tv);
    return e;
}

void timeRestart(pa_time_event *e, const struct timeval *tv)
{
    if (!e->dead)
        timeArm(e, tv);
}

void timeFree(pa_time_event *e)
{
    if (e->dead)
        return;
    e->dead = true;
    e->timer->stop();
    e->timer->deleteLater();
    e->timer = nullptr;
    if (e->destroy)
        e->destroy(e->loop->api, e, e->userdata);
    e->loop->sweepTimer.start();
}

void timeSetDestroy(pa_time_event *e, pa_time_event_destroy_cb_t cb)
{
    e->destroy = cb;
}

// ---- deferred events ---------------------------------------------------

pa_defer_event *deferNew(pa_mainloop_api *a, pa_defer_event_cb_t cb, void *userdata)
{
    auto *e = new pa_defer_event;
    e->loop = loopOf(a);
    e->cb = cb;
    e->userdata = userdata;
    e->enabled = true;
    e->loop->defers.push_back(e);
    e->loop->updateDeferTimer();
    return e;
}

void deferEnable(pa_defer_event *e, int b)
{
    if (e->dead)
        return;
    e->enabled = b != 0;
    e->loop->updateDeferTimer();
}

void deferFree(pa_defer_event *e)
{
    if (e->dead)
        return;
    e->dead = true;
    if (e->destroy)
        e->destroy(e->loop->api, e, e->userdata);
    e->loop->updateDeferTimer();
    e->loop->sweepTimer.start();
}

void deferSetDestroy(pa_defer_event *e, pa_defer_event_destroy_cb_t cb)
{
    e->destroy = cb;
}

void quit(pa_mainloop_api *, int)
{
    // The Qt event loop belongs to the application; libpulse cannot end it.
}

} // namespace

PulseQtMainloop::PulseQtMainloop()
    : d(new Private)
{
    m_api.userdata = d;
    m_api.io_new = ioNew;
    m_api.io_enable = ioEnable;
    m_api.io_free = ioFree;
    m_api.io_set_destroy = ioSetDestroy;
    m_api.time_new = timeNew;
    m_api.time_restart = timeRestart;
    m_api.time_free = timeFree;
    m_api.time_set_destroy = timeSetDestroy;
    m_api.defer_new = deferNew;
    m_api.defer_enable = deferEnable;
    m_api.defer_free = deferFree;
    m_api.defer_set_destroy = deferSetDestroy;
    m_api.quit = quit;
    d->api = &m_api;
}

PulseQtMainloop::~PulseQtMainloop()
{
    delete d;
}

void releasePulse(pa_stream *stream, pa_context *context, QObject *owner, bool now)
{
    if (stream) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_suspended_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
    }
    if (context) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
    }
    auto release = [stream, context] {
        if (stream)
            pa_stream_unref(stream);
        if (context)
            pa_context_unref(context);
    };
    if (now)
        release();
    else if (stream || context)
        QTimer::singleShot(0, owner, release);
}

} // namespace platform
