#include "platform/linux/x11globalhotkey.h"

#include "core/logging.h"
#include "platform/linux/x11keygrab.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace platform {

namespace {
constexpr xcb_keysym_t keysymG = 0x0067;
constexpr quint16 chordModifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1; // Ctrl + Alt
} // namespace

X11GlobalHotkey::X11GlobalHotkey(QObject *parent)
    : platform::IGlobalHotkey(parent)
{
}

X11GlobalHotkey::~X11GlobalHotkey()
{
    ungrab();
    removeHandler();
}

bool X11GlobalHotkey::installHandler()
{
    if (!m_conn)
        return false;
    if (m_handler)
        return true;
    if (m_conn.isShared()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else {
        m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_conn.get()), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &X11GlobalHotkey::readEvents);
    }
    m_handler = true;
    return true;
}

void X11GlobalHotkey::removeHandler()
{
    if (!m_handler)
        return;
    if (m_conn.isShared()) {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    } else {
        delete m_notifier;
        m_notifier = nullptr;
    }
    m_handler = false;
}

bool X11GlobalHotkey::grab()
{
    if (!m_conn || m_conn.root() == XCB_WINDOW_NONE)
        return false;
    ungrab();
    xcb_connection_t *c = m_conn.get();
    const QList<quint16> variants = x11LockVariants(c, chordModifiers);
    for (xcb_keycode_t k : x11KeycodesFor(c, keysymG)) {
        for (quint16 mods : variants)
            m_grabs.append({k, mods});
    }

    const bool refused = !x11GrabKeys(c, m_conn.root(), m_grabs);
    if (refused) {
        qCDebug(lcPlatform) << "Ctrl+Alt+G is held by another program";
        ungrab();
        return false;
    }
    if (m_notifier)
        QMetaObject::invokeMethod(this, &X11GlobalHotkey::readEvents, Qt::QueuedConnection);
    return true;
}

void X11GlobalHotkey::ungrab()
{
    if (m_conn)
        x11UngrabKeys(m_conn.get(), m_conn.root(), m_grabs);
    m_grabs.clear();
}

void X11GlobalHotkey::readEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_conn.get())) {
        handleEvent(event);
        std::free(event);
    }
}

bool X11GlobalHotkey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    return handleEvent(message);
}

bool X11GlobalHotkey::handleEvent(const void *message)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS || m_grabs.isEmpty())
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (key->event != m_conn.root())
        return false;
    for (const X11KeyGrab &g : std::as_const(m_grabs)) {
        if (g.keycode == key->detail && (key->state & 0xff) == g.modifiers) {
            emit pressed();
            return true;
        }
    }
    return false;
}

} // namespace platform
