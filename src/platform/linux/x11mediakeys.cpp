#include "platform/linux/x11mediakeys.h"

#include "core/logging.h"
#include "platform/linux/x11keygrab.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace platform {

namespace {

struct MediaKeySym {
    xcb_keysym_t keysym;
    int type; // media key type number
};

constexpr MediaKeySym mediaKeys[] = {
    {0x1008FF13, 0}, // XF86AudioRaiseVolume
    {0x1008FF11, 1}, // XF86AudioLowerVolume
    {0x1008FF02, 2}, // XF86MonBrightnessUp
    {0x1008FF03, 3}, // XF86MonBrightnessDown
    {0x1008FF12, 7}, // XF86AudioMute
};

} // namespace

X11MediaKeys::X11MediaKeys(QObject *parent)
    : QObject(parent)
{
    if (!m_conn)
        return;
    if (m_conn.isShared()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else {
        m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_conn.get()), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &X11MediaKeys::readEvents);
    }
}

X11MediaKeys::~X11MediaKeys()
{
    if (m_conn.isShared() && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    removeTap();
    // Before the connection (and its socket) goes away with the members.
    delete m_notifier;
    m_notifier = nullptr;
}

bool X11MediaKeys::installTap(TapCallback callback)
{
    if (!isAvailable() || m_conn.root() == XCB_WINDOW_NONE)
        return false;
    ungrabAll();
    xcb_connection_t *c = m_conn.get();

    const QList<quint16> variants = x11LockVariants(c, 0);

    for (const MediaKeySym &key : mediaKeys) {
        for (xcb_keycode_t k : x11KeycodesFor(c, key.keysym)) {
            if (m_actions.contains(k))
                continue;
            m_actions.insert(k, key.type);
            for (quint16 mods : variants)
                m_grabs.append({k, mods});
        }
    }

    const bool refused = !x11GrabKeys(c, m_conn.root(), m_grabs);
    if (refused) {
        qCDebug(lcPlatform) << "media keys are held by another program";
        ungrabAll();
        return false;
    }
    m_tap = std::move(callback);
    // Events that arrived while waiting for the answers are already queued.
    if (m_notifier)
        QMetaObject::invokeMethod(this, &X11MediaKeys::readEvents, Qt::QueuedConnection);
    return true;
}

void X11MediaKeys::removeTap()
{
    m_tap = nullptr;
    ungrabAll();
}

void X11MediaKeys::ungrabAll()
{
    if (m_conn)
        x11UngrabKeys(m_conn.get(), m_conn.root(), m_grabs);
    m_grabs.clear();
    m_actions.clear();
    m_down.clear();
    m_lastRelease.clear();
}

void X11MediaKeys::readEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_conn.get())) {
        handleEvent(event);
        std::free(event);
    }
    if (xcb_connection_has_error(m_conn.get()))
        connectionLost();
}

void X11MediaKeys::connectionLost()
{
    // The server is gone: its socket now reads as ready for ever, so stop
    // watching it rather than wake up again and again for nothing.
    qCInfo(lcPlatform) << "X server connection lost; media keys are no longer caught";
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_tap = nullptr;
    m_grabs.clear();
    m_actions.clear();
    m_down.clear();
    m_lastRelease.clear();
}

bool X11MediaKeys::isAvailable() const
{
    return m_conn && !xcb_connection_has_error(m_conn.get());
}

bool X11MediaKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    return handleEvent(message);
}

bool X11MediaKeys::handleEvent(const void *message)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    const auto it = m_actions.constFind(key->detail);
    if (it == m_actions.cend() || !m_tap)
        return false;

    platform::CapturedKey captured;
    captured.kind = platform::CapturedKey::Kind::MediaKey;
    captured.code = it.value();
    captured.down = type == XCB_KEY_PRESS;
    if (captured.down) {
        // A held key repeats either as presses without releases (detectable
        // auto-repeat, which Qt turns on) or as a release and a press that
        // share one time stamp.
        const auto last = m_lastRelease.constFind(key->detail);
        captured.autoRepeat = m_down.contains(key->detail)
            || (last != m_lastRelease.cend() && last.value() == key->time);
        m_down.insert(key->detail);
    } else {
        m_down.remove(key->detail);
        m_lastRelease.insert(key->detail, key->time);
    }
    // A grabbed key is ours whatever the callback says: X has already kept
    // it from everyone else.
    const TapCallback tap = m_tap;
    tap(captured);
    return true;
}

} // namespace platform
