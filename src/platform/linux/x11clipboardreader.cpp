#include "platform/linux/x11clipboardreader.h"

#include "platform/linux/x11connection.h"

#include <QDeadlineTimer>
#include <QList>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace platform {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

// How often a transfer that waits checks that it is still wanted and that
// its owner is still there.
constexpr int SliceMs = 100;
// The most targets an owner may list that are looked at.
constexpr uint32_t MaxTargets = 1024;

// One read of the clipboard over a connection of the reader's own.
class Transfer {
public:
    Transfer(xcb_connection_t *conn, xcb_window_t window, const std::function<bool()> &overtaken)
        : m_conn(conn), m_window(window), m_overtaken(overtaken)
    {
    }

    std::optional<QString> text()
    {
        m_clipboard = atom("CLIPBOARD");
        m_property = atom("PAVLET_CLIPBOARD");
        m_incr = atom("INCR");
        const xcb_atom_t targets = atom("TARGETS");
        const xcb_atom_t utf8 = atom("UTF8_STRING");
        const xcb_atom_t mimeUtf8 = atom("text/plain;charset=utf-8");
        if (!m_clipboard || !m_property || !targets || !utf8)
            return std::nullopt;
        m_owner = owner();
        if (m_owner == XCB_WINDOW_NONE)
            return std::nullopt;

        const std::optional<QByteArray> listed = convert(targets, MaxTargets * 4);
        if (!listed)
            return std::nullopt;
        QList<xcb_atom_t> offered;
        for (qsizetype i = 0; i + 4 <= listed->size(); i += 4)
            offered.append(*reinterpret_cast<const xcb_atom_t *>(listed->constData() + i));
        xcb_atom_t chosen = XCB_ATOM_NONE;
        for (xcb_atom_t wanted : {utf8, mimeUtf8, xcb_atom_t(XCB_ATOM_STRING)}) {
            if (wanted && offered.contains(wanted)) {
                chosen = wanted;
                break;
            }
        }
        if (chosen == XCB_ATOM_NONE)
            return std::nullopt;
        const std::optional<QByteArray> bytes = convert(chosen, MaxBytesOf());
        if (!bytes)
            return std::nullopt;
        return chosen == XCB_ATOM_STRING ? QString::fromLatin1(*bytes) : QString::fromUtf8(*bytes);
    }

private:
    static qsizetype MaxBytesOf() { return X11ClipboardReader::MaxBytes; }

    xcb_atom_t atom(const char *name)
    {
        const auto reply = owned(xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, uint16_t(qstrlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    xcb_window_t owner()
    {
        const auto reply = owned(
            xcb_get_selection_owner_reply(m_conn, xcb_get_selection_owner(m_conn, m_clipboard), nullptr));
        return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
    }

    // Whether to go on waiting: still wanted, the connection alive, the
    // same owner, within the step's and the transfer's time.
    bool mayWait(const QDeadlineTimer &step)
    {
        if (m_overtaken() || xcb_connection_has_error(m_conn) || step.hasExpired() || m_whole.hasExpired())
            return false;
        return owner() == m_owner;
    }

    // The next event of type for the reader's window, or none when the wait
    // has to end (see mayWait).
    Reply<xcb_generic_event_t> next(uint8_t type)
    {
        const QDeadlineTimer step(X11ClipboardReader::StepMs);
        while (true) {
            while (auto event = owned(xcb_poll_for_event(m_conn))) {
                const uint8_t kind = event->response_type & 0x7f;
                if (kind == XCB_SELECTION_NOTIFY && type == kind) {
                    auto *notify = reinterpret_cast<xcb_selection_notify_event_t *>(event.get());
                    if (notify->requestor == m_window && notify->selection == m_clipboard)
                        return event;
                } else if (kind == XCB_PROPERTY_NOTIFY && type == kind) {
                    auto *notify = reinterpret_cast<xcb_property_notify_event_t *>(event.get());
                    if (notify->window == m_window && notify->atom == m_property
                        && notify->state == XCB_PROPERTY_NEW_VALUE)
                        return event;
                }
            }
            if (!mayWait(step))
                return owned<xcb_generic_event_t>(nullptr);
            pollfd fd{xcb_get_file_descriptor(m_conn), POLLIN, 0};
            ::poll(&fd, 1, SliceMs);
        }
    }

    // The property's type and length without its value.
    Reply<xcb_get_property_reply_t> peek()
    {
        return owned(xcb_get_property_reply(
            m_conn, xcb_get_property(m_conn, 0, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    }

    // The whole property, deleted once read.
    Reply<xcb_get_property_reply_t> take(uint32_t bytes)
    {
        return owned(xcb_get_property_reply(m_conn,
                                            xcb_get_property(m_conn, 1, m_window, m_property,
                                                             XCB_GET_PROPERTY_TYPE_ANY, 0, (bytes + 3) / 4),
                                            nullptr));
    }

    static QByteArray valueOf(const xcb_get_property_reply_t *reply)
    {
        const int length = xcb_get_property_value_length(reply);
        return QByteArray(static_cast<const char *>(xcb_get_property_value(reply)), std::max(length, 0));
    }

    // The selection converted to target, at most limit bytes; none when it
    // is longer, was refused or did not come.
    std::optional<QByteArray> convert(xcb_atom_t target, qsizetype limit)
    {
        xcb_delete_property(m_conn, m_window, m_property);
        xcb_convert_selection(m_conn, m_window, m_clipboard, target, m_property, XCB_CURRENT_TIME);
        xcb_flush(m_conn);
        const auto event = next(XCB_SELECTION_NOTIFY);
        if (!event || reinterpret_cast<xcb_selection_notify_event_t *>(event.get())->property == XCB_ATOM_NONE)
            return std::nullopt;
        const auto head = peek();
        if (!head)
            return std::nullopt;
        if (head->type == m_incr)
            return incremental(limit);
        if (qsizetype(head->bytes_after) > limit) {
            xcb_delete_property(m_conn, m_window, m_property);
            xcb_flush(m_conn);
            return std::nullopt;
        }
        const auto whole = take(head->bytes_after);
        if (!whole)
            return std::nullopt;
        return valueOf(whole.get());
    }

    // An incremental transfer: deleting the announcement starts it, each
    // piece comes as a new value of the property and an empty one ends it.
    // Past the limit the pieces are still taken, so that the owner finishes,
    // but none is kept.
    std::optional<QByteArray> incremental(qsizetype limit)
    {
        // The announcement may name a lower bound of the length (some
        // owners leave it empty).
        const auto announced = take(4);
        bool tooLong = false;
        if (announced && xcb_get_property_value_length(announced.get()) >= 4)
            tooLong = qsizetype(*static_cast<const uint32_t *>(xcb_get_property_value(announced.get()))) > limit;
        xcb_flush(m_conn);
        QByteArray data;
        while (true) {
            if (!next(XCB_PROPERTY_NOTIFY))
                return std::nullopt;
            const auto head = peek();
            if (!head)
                return std::nullopt;
            const auto piece = take(head->bytes_after);
            xcb_flush(m_conn);
            if (!piece)
                return std::nullopt;
            const int length = xcb_get_property_value_length(piece.get());
            if (length <= 0)
                break;
            if (!tooLong && data.size() + length > limit) {
                tooLong = true;
                data = QByteArray();
            }
            if (!tooLong)
                data += valueOf(piece.get());
        }
        if (tooLong)
            return std::nullopt;
        return data;
    }

    xcb_connection_t *m_conn;
    xcb_window_t m_window;
    const std::function<bool()> &m_overtaken;
    QDeadlineTimer m_whole{X11ClipboardReader::TransferMs};
    xcb_atom_t m_clipboard = XCB_ATOM_NONE;
    xcb_atom_t m_property = XCB_ATOM_NONE;
    xcb_atom_t m_incr = XCB_ATOM_NONE;
    xcb_window_t m_owner = XCB_WINDOW_NONE;
};

} // namespace

X11ClipboardReader::X11ClipboardReader(Done done)
    : m_done(std::move(done))
    , m_thread([this] { run(); })
{
}

X11ClipboardReader::~X11ClipboardReader()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void X11ClipboardReader::request(quint64 serial)
{
    {
        std::lock_guard lock(m_mutex);
        m_wanted = serial;
    }
    m_wake.notify_all();
}

void X11ClipboardReader::run()
{
    std::unique_ptr<X11Connection> connection;
    xcb_window_t window = XCB_WINDOW_NONE;
    quint64 answered = 0;
    while (true) {
        quint64 serial = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_wanted != answered; });
            if (m_stop)
                return;
            serial = m_wanted;
        }
        answered = serial;
        // A connection of its own, made again after the server went away.
        if (connection && xcb_connection_has_error(connection->get()))
            connection.reset();
        if (!connection) {
            connection = std::make_unique<X11Connection>(X11Connection::Kind::own);
            window = XCB_WINDOW_NONE;
        }
        if (!*connection || !connection->root()) {
            m_done(serial, std::nullopt);
            continue;
        }
        xcb_connection_t *conn = connection->get();
        if (window == XCB_WINDOW_NONE) {
            window = xcb_generate_id(conn);
            const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, connection->root(), -1, -1, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
            xcb_flush(conn);
        }
        const std::function<bool()> overtaken = [this, serial] {
            std::lock_guard lock(m_mutex);
            return m_stop || m_wanted != serial;
        };
        std::optional<QString> text = Transfer(conn, window, overtaken).text();
        // Events of a transfer given up are of no use to the next one.
        while (auto event = owned(xcb_poll_for_event(conn))) {
        }
        if (!overtaken())
            m_done(serial, std::move(text));
    }
}

} // namespace platform
