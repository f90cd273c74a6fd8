#pragma once

#include "platform/linux/x11connection.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <functional>

class QSocketNotifier;

namespace platform {

// The program's icon in a tray that embeds X windows (the freedesktop
// system tray: tint2, trayer, stalonetray, the trays of MATE, LXDE and
// tiling window managers' bars). A small window of our own, with
// _XEMBED_INFO, is handed to the owner of _NET_SYSTEM_TRAY_S<screen> with a
// dock request; the tray reparents, sizes and maps it, and the icon is drawn
// into it. A tray that starts later or restarts announces itself with a
// MANAGER message on the root window and gets the icon again.
//
// Works over an X connection of its own, read when it has something, and
// never waits for the X server's answers: each is taken when it arrives.
class XEmbedTrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit XEmbedTrayIcon(QObject *parent = nullptr);
    ~XEmbedTrayIcon() override;

    // The picture, drawn again at once where the icon is shown.
    void setIcon(const QIcon &icon);
    // Whether the icon is to be in a tray: it docks into the tray of the
    // moment, or into the next one that comes; false takes it out.
    void setWanted(bool wanted);
    bool isWanted() const { return m_wanted; }
    // A tray holds the icon now.
    bool isDocked() const { return m_docked; }
    // The icon's window; 0 while there is none.
    quint32 windowId() const { return m_window; }

signals:
    void dockedChanged(bool docked);
    // A click on the icon, at this point of the screen, with the icon's
    // place on it (in Qt's coordinates).
    void clicked(const QPoint &at, const QRect &icon);

private:
    // Where the tray's panel lies on the screen, in the server's pixels.
    // Also reads which edge its strut keeps (m_panelStrutSide: left, right,
    // top, bottom; -1 for none).
    QRect panelAround();
    int m_panelStrutSide = -1;
    QSize rootSize() const;
    using ReplyHandler = std::function<void(void *reply)>;
    void expect(unsigned int sequence, ReplyHandler handler);
    void readEvents();
    void handleEvent(const void *event);
    void findTray();
    void dock(quint32 owner, quint32 visual);
    void undock();
    void setDocked(bool docked);
    void draw();
    // The size the icon asks the tray for, side by side.
    void askFor(int side);
    void drawOver(QImage &canvas) const;

    X11Connection m_conn{X11Connection::Kind::own};
    QSocketNotifier *m_notifier = nullptr;
    struct Pending {
        unsigned int sequence;
        ReplyHandler handler;
    };
    QList<Pending> m_pending;
    // Looks again while answers are awaited: an answer read along with
    // events waits in xcb's queue, and the socket then shows nothing more.
    QTimer m_lookAgain;
    // Interned by name, in the order of the names in the source.
    QList<quint32> m_atoms;
    bool m_wanted = false;
    bool m_docked = false;
    quint32 m_owner = 0;
    quint32 m_window = 0;
    quint32 m_colormap = 0;
    bool m_argb = false;
    QSize m_size{22, 22};
    int m_askedSide = 22;
    QIcon m_icon;
    int m_pressed = 0;
};

} // namespace platform
