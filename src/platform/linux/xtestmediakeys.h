#pragma once

#include "platform/mediaplayers.h"

struct _XDisplay;

namespace platform {

// Play/pause, next and previous as synthesised XF86Audio keys through the
// X server's XTEST extension. Without an X display nothing is sent.
class XTestMediaKeys final : public platform::IMediaKeySender {
public:
    XTestMediaKeys();
    ~XTestMediaKeys() override;
    XTestMediaKeys(const XTestMediaKeys &) = delete;
    XTestMediaKeys &operator=(const XTestMediaKeys &) = delete;

    bool sendMediaKey(int type, bool down) override;

    // The X keysym for a media key type; 0 when the type has none.
    static unsigned long keysymFor(int type);

private:
    _XDisplay *m_display = nullptr;
    bool m_tried = false;
};

} // namespace platform
