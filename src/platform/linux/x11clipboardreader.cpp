#include "platform/linux/x11clipboardreader.h"

#include "platform/linux/x11connection.h"

#include <QDeadlineTimer>
#include <QList>
#include <array>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace platform {

namespace {

// How often a transfer that waits checks that it is still wanted and that
// its owner is still there.
constexpr int SliceMs = 100;
// The most targets an owner may list that are looked at.
constexpr uint32_t MaxTargets = 1024;
// How many transfers go by before one's window and property are used again.
constexpr int Rounds = 16;

// How one conversion ended.
enum class Got { ok, refused, tooLong, failed };

// One read of the clipboard over a connection of the reader's own.
class Transfer {
public:
    // window and round: where this transfer's answers come. An owner given
    // up on may still answer, even refuse, into an earlier one's, so that
    // each round has a window and a property of its own.
    Transfer(xcb_connection_t *conn, xcb_window_t window, quint64 round, const X11ClipboardReader::Source &source,
             const std::function<bool()> &overtaken)
        : m_conn(conn), m_window(window), m_round(round % Rounds), m_source(source), m_overtaken(overtaken)
    {
    }

    X11ClipboardReader::Content read()
    {
        X11ClipboardReader::Content content;
        m_clipboard = atom(m_source.selection.constData());
        m_property = atom(("PAVLET_CLIPBOARD_" + QByteArray::number(m_round)).constData());
        m_incr = atom("INCR");
        const xcb_atom_t targets = atom("TARGETS");
        const xcb_atom_t utf8 = atom("UTF8_STRING");
        const xcb_atom_t mimeUtf8 = atom("text/plain;charset=utf-8");
        const xcb_atom_t uriList = atom("text/uri-list");
        const xcb_atom_t png = atom("image/png");
        if (!m_clipboard || !m_property || !targets || !utf8) {
            content.failed = true;
            return content;
        }
        m_owner = owner();
        if (m_owner == XCB_WINDOW_NONE)
            return content;

        QByteArray listed;
        const Got got = convert(targets, MaxTargets * 4, listed);
        if (got != Got::ok) {
            content.failed = got == Got::failed;
            return content;
        }
        QList<xcb_atom_t> offered;
        for (qsizetype i = 0; i + 4 <= listed.size(); i += 4)
            offered.append(*reinterpret_cast<const xcb_atom_t *>(listed.constData() + i));
        // One value the owner offers; false when the read failed.
        const auto take = [&](xcb_atom_t target, QByteArray &into, bool *tooLong = nullptr) {
            if (!target || !offered.contains(target))
                return true;
            const Got result = convert(target, MaxBytesOf(), into);
            if (tooLong)
                *tooLong = result == Got::tooLong;
            if (result != Got::ok)
                into.clear();
            content.failed = result == Got::failed;
            return !content.failed;
        };
        if (!m_source.textOnly && (!take(uriList, content.uriList) || !take(png, content.png, &content.imageTooLong)))
            return content;
        for (xcb_atom_t wanted : {utf8, mimeUtf8, xcb_atom_t(XCB_ATOM_STRING)}) {
            if (!wanted || !offered.contains(wanted))
                continue;
            QByteArray bytes;
            if (take(wanted, bytes, &content.textTooLong) && !content.textTooLong)
                content.text = wanted == XCB_ATOM_STRING ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
            break;
        }
        return content;
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
    XcbReply<xcb_generic_event_t> next(uint8_t type)
    {
        const QDeadlineTimer step(X11ClipboardReader::StepMs);
        while (true) {
            while (auto event = owned(xcb_poll_for_event(m_conn))) {
                const uint8_t kind = event->response_type & 0x7f;
                if (kind == XCB_SELECTION_NOTIFY && type == kind) {
                    auto *notify = reinterpret_cast<xcb_selection_notify_event_t *>(event.get());
                    if (notify->requestor == m_window && notify->selection == m_clipboard
                        && notify->target == m_target
                        && (notify->property == m_property || notify->property == XCB_ATOM_NONE))
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
    XcbReply<xcb_get_property_reply_t> peek()
    {
        return owned(xcb_get_property_reply(
            m_conn, xcb_get_property(m_conn, 0, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    }

    // The whole property, deleted once read.
    XcbReply<xcb_get_property_reply_t> take(uint32_t bytes)
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

    // The selection converted to target into out, at most limit bytes.
    Got convert(xcb_atom_t target, qsizetype limit, QByteArray &out)
    {
        m_target = target;
        xcb_delete_property(m_conn, m_window, m_property);
        xcb_convert_selection(m_conn, m_window, m_clipboard, target, m_property, XCB_CURRENT_TIME);
        xcb_flush(m_conn);
        const auto event = next(XCB_SELECTION_NOTIFY);
        if (!event)
            return Got::failed;
        if (reinterpret_cast<xcb_selection_notify_event_t *>(event.get())->property == XCB_ATOM_NONE)
            return Got::refused;
        const auto head = peek();
        if (!head)
            return Got::failed;
        if (head->type == m_incr)
            return incremental(limit, out);
        if (qsizetype(head->bytes_after) > limit) {
            xcb_delete_property(m_conn, m_window, m_property);
            xcb_flush(m_conn);
            return Got::tooLong;
        }
        const auto whole = take(head->bytes_after);
        if (!whole)
            return Got::failed;
        out = valueOf(whole.get());
        return Got::ok;
    }

    // An incremental transfer: deleting the announcement starts it, each
    // piece comes as a new value of the property and an empty one ends it.
    // Past the limit the pieces are still taken, so that the owner finishes,
    // but none is kept.
    Got incremental(qsizetype limit, QByteArray &data)
    {
        // The announcement may name a lower bound of the length (some
        // owners leave it empty).
        const auto announced = take(4);
        bool tooLong = false;
        if (announced && xcb_get_property_value_length(announced.get()) >= 4)
            tooLong = qsizetype(*static_cast<const uint32_t *>(xcb_get_property_value(announced.get()))) > limit;
        xcb_flush(m_conn);
        // Room for all that is kept, so that growing never holds it twice.
        data = QByteArray();
        if (!tooLong)
            data.reserve(limit);
        while (true) {
            // A transfer already known to be too long is that, however it ends.
            if (!next(XCB_PROPERTY_NOTIFY))
                return tooLong ? Got::tooLong : Got::failed;
            const auto head = peek();
            if (!head)
                return Got::failed;
            const auto piece = take(head->bytes_after);
            xcb_flush(m_conn);
            if (!piece)
                return Got::failed;
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
            return Got::tooLong;
        return Got::ok;
    }

    xcb_connection_t *m_conn;
    xcb_window_t m_window;
    int m_round;
    const X11ClipboardReader::Source &m_source;
    // What the conversion under way asked for.
    xcb_atom_t m_target = XCB_ATOM_NONE;
    const std::function<bool()> &m_overtaken;
    QDeadlineTimer m_whole{X11ClipboardReader::TransferMs};
    xcb_atom_t m_clipboard = XCB_ATOM_NONE;
    xcb_atom_t m_property = XCB_ATOM_NONE;
    xcb_atom_t m_incr = XCB_ATOM_NONE;
    xcb_window_t m_owner = XCB_WINDOW_NONE;
};

} // namespace

X11ClipboardReader::X11ClipboardReader(Done done)
    : X11ClipboardReader(std::move(done), Source())
{
}

X11ClipboardReader::X11ClipboardReader(Done done, Source source)
    : m_done(std::move(done))
    , m_source(std::move(source))
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
    std::array<xcb_window_t, Rounds> windows{};
    quint64 answered = 0;
    quint64 rounds = 0;
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
            windows.fill(XCB_WINDOW_NONE);
        }
        if (!*connection || !connection->root()) {
            Content failed;
            failed.failed = true;
            m_done(serial, failed);
            continue;
        }
        xcb_connection_t *conn = connection->get();
        xcb_window_t &window = windows[rounds % Rounds];
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
        Content content = Transfer(conn, window, rounds++, m_source, overtaken).read();
        // Events of a transfer given up are of no use to the next one.
        while (auto event = owned(xcb_poll_for_event(conn))) {
        }
        if (!overtaken())
            m_done(serial, std::move(content));
    }
}

} // namespace platform
