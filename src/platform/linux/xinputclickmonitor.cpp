#include "platform/linux/xinputclickmonitor.h"

#include "core/logging.h"

#include <QSocketNotifier>
#include <xcb/xinput.h>

#include <cstdlib>

namespace platform {

XInputClickMonitor::XInputClickMonitor(QObject *parent)
    : platform::IGlobalClickMonitor(parent)
{
}

XInputClickMonitor::~XInputClickMonitor()
{
    stop();
}

bool XInputClickMonitor::start()
{
    if (m_conn)
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_input_id);
    xcb_input_xi_query_version_reply_t *version =
        ext && ext->present ? xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr)
                            : nullptr;
    const bool usable = version && (version->major_version > 2
                                    || (version->major_version == 2 && version->minor_version >= 1));
    std::free(version);
    if (!usable) {
        qCDebug(lcPlatform) << "no XInput 2.1 on this display: no clicks outside the island";
        xcb_disconnect(c);
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    m_root = it.data->root;
    m_opcode = ext->major_opcode;

    struct {
        xcb_input_event_mask_t head;
        quint32 mask;
    } mask;
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.mask = XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
    xcb_generic_error_t *error = xcb_request_check(c, xcb_input_xi_select_events_checked(c, m_root, 1, &mask.head));
    if (error) {
        std::free(error);
        xcb_disconnect(c);
        return false;
    }
    m_conn = c;
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &XInputClickMonitor::readEvents);
    return true;
}

void XInputClickMonitor::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_conn) {
        xcb_disconnect(m_conn);
        m_conn = nullptr;
    }
}

void XInputClickMonitor::readEvents()
{
    if (!m_conn)
        return;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_conn)) {
        const auto *ge = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
        if ((event->response_type & 0x7f) == XCB_GE_GENERIC && ge->extension == m_opcode
            && ge->event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
            const auto *raw = reinterpret_cast<const xcb_input_raw_button_press_event_t *>(event);
            if (raw->detail == 1) {
                QPointF at;
                if (xcb_query_pointer_reply_t *p = xcb_query_pointer_reply(m_conn, xcb_query_pointer(m_conn, m_root), nullptr)) {
                    at = QPointF(p->root_x, p->root_y);
                    std::free(p);
                }
                const qint64 number = qint64(raw->time);
                std::free(event);
                emit clicked(number, at);
                if (!m_conn)
                    return; // stopped by a receiver
                continue;
            }
        }
        std::free(event);
    }
}

} // namespace platform
