#include "platform/linux/x11keygrab.h"

#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace platform {

namespace {
constexpr xcb_keysym_t keysymNumLock = 0xff7f;
}

QList<xcb_keycode_t> x11KeycodesFor(xcb_connection_t *c, quint32 keysym)
{
    QList<xcb_keycode_t> found;
    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(c);
    if (!syms)
        return found;
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(syms, keysym);
    for (const xcb_keycode_t *k = codes; k && *k; ++k)
        found.append(*k);
    std::free(codes);
    xcb_key_symbols_free(syms);
    return found;
}

quint16 x11NumLockMask(xcb_connection_t *c)
{
    quint16 mask = 0;
    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(c);
    xcb_keycode_t *numLock = syms ? xcb_key_symbols_get_keycode(syms, keysymNumLock) : nullptr;
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (reply && numLock) {
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int mod = 0; mod < 8 && !mask; ++mod) {
            for (int k = 0; k < perModifier; ++k) {
                const xcb_keycode_t code = codes[mod * perModifier + k];
                for (const xcb_keycode_t *n = numLock; code && *n; ++n) {
                    if (*n == code)
                        mask = quint16(1u << mod);
                }
            }
        }
    }
    std::free(reply);
    std::free(numLock);
    if (syms)
        xcb_key_symbols_free(syms);
    return mask ? mask : quint16(XCB_MOD_MASK_2);
}

QList<quint16> x11LockVariants(xcb_connection_t *c, quint16 base)
{
    const quint16 numLock = x11NumLockMask(c);
    return {base, quint16(base | XCB_MOD_MASK_LOCK), quint16(base | numLock),
            quint16(base | XCB_MOD_MASK_LOCK | numLock)};
}

bool x11GrabKeys(xcb_connection_t *c, xcb_window_t root, const QList<X11KeyGrab> &grabs)
{
    QList<xcb_void_cookie_t> cookies;
    for (const X11KeyGrab &g : grabs)
        cookies << xcb_grab_key_checked(c, 1, root, g.modifiers, g.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    bool ok = !grabs.isEmpty();
    for (const xcb_void_cookie_t &cookie : std::as_const(cookies)) {
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            ok = false;
            std::free(error);
        }
    }
    return ok;
}

void x11UngrabKeys(xcb_connection_t *c, xcb_window_t root, const QList<X11KeyGrab> &grabs)
{
    if (grabs.isEmpty())
        return;
    for (const X11KeyGrab &g : grabs)
        xcb_ungrab_key(c, g.keycode, root, g.modifiers);
    xcb_flush(c);
}

} // namespace platform
