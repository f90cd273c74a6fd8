#include "x11globalhotkey.h"

#include "logging.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace {
constexpr xcb_keysym_t keysymG = 0x0067;
constexpr xcb_keysym_t keysymNumLock = 0xff7f;
constexpr quint16 chordModifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1; // Ctrl + Alt

quint16 numLockMask(xcb_connection_t *c, xcb_key_symbols_t *syms)
{
    quint16 mask = 0;
    xcb_keycode_t *numLock = xcb_key_symbols_get_keycode(syms, keysymNumLock);
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (reply && numLock) {
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply);
        const int per = reply->keycodes_per_modifier;
        for (int mod = 0; mod < 8 && !mask; ++mod) {
            for (int k = 0; k < per; ++k) {
                for (const xcb_keycode_t *n = numLock; codes[mod * per + k] && *n; ++n) {
                    if (*n == codes[mod * per + k])
                        mask = quint16(1u << mod);
                }
            }
        }
    }
    std::free(reply);
    std::free(numLock);
    return mask ? mask : quint16(XCB_MOD_MASK_2);
}
} // namespace

X11GlobalHotkey::X11GlobalHotkey(QObject *parent)
    : GlobalHotkey(parent)
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
    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(c);
    if (!syms)
        return false;
    const quint16 numLock = numLockMask(c, syms);
    const quint16 variants[] = {0, XCB_MOD_MASK_LOCK, numLock, quint16(XCB_MOD_MASK_LOCK | numLock)};
    QList<xcb_void_cookie_t> cookies;
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(syms, keysymG);
    for (const xcb_keycode_t *k = codes; k && *k; ++k) {
        for (quint16 extra : variants) {
            const quint16 mods = chordModifiers | extra;
            cookies << xcb_grab_key_checked(c, 1, m_conn.root(), mods, *k, XCB_GRAB_MODE_ASYNC,
                                            XCB_GRAB_MODE_ASYNC);
            m_grabs.append({*k, mods});
        }
    }
    std::free(codes);
    xcb_key_symbols_free(syms);

    bool refused = m_grabs.isEmpty();
    for (const xcb_void_cookie_t &cookie : std::as_const(cookies)) {
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            refused = true;
            std::free(error);
        }
    }
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
    if (m_conn && !m_grabs.isEmpty()) {
        for (const Grab &g : std::as_const(m_grabs))
            xcb_ungrab_key(m_conn.get(), g.keycode, m_conn.root(), g.modifiers);
        xcb_flush(m_conn.get());
    }
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
    for (const Grab &g : std::as_const(m_grabs)) {
        if (g.keycode == key->detail && (key->state & 0xff) == g.modifiers) {
            emit pressed();
            return true;
        }
    }
    return false;
}
