#include "platform/linux/x11idletime.h"

#include <xcb/screensaver.h>

#include <cstdlib>

namespace platform {

X11IdleTime::X11IdleTime()
{
    if (!m_conn || m_conn.root() == XCB_WINDOW_NONE)
        return;
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(m_conn.get(), &xcb_screensaver_id);
    m_available = ext && ext->present;
}

std::optional<double> X11IdleTime::secondsSinceLastInput() const
{
    if (!m_available)
        return std::nullopt;
    xcb_connection_t *c = m_conn.get();
    xcb_screensaver_query_info_reply_t *info =
        xcb_screensaver_query_info_reply(c, xcb_screensaver_query_info(c, m_conn.root()), nullptr);
    if (!info)
        return std::nullopt;
    const double seconds = double(info->ms_since_user_input) / 1000.0;
    std::free(info);
    return seconds;
}

} // namespace platform
