#pragma once

#include "platform/linux/x11connection.h"
#include "platform/linux/x11keygrab.h"
#include "platform/mediakeys.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

class QSocketNotifier;

namespace platform {

// The volume, mute and brightness keys caught with passive key grabs on the
// X root window.
//
// Each key (XF86AudioRaiseVolume, XF86AudioLowerVolume, XF86AudioMute,
// XF86MonBrightnessUp, XF86MonBrightnessDown) is grabbed on every keycode
// that carries it, with and without Caps Lock and Num Lock. If any grab is
// refused (another program, usually the desktop, holds the key) every grab
// is given back and installTap() reports the capture unavailable.
//
// Events come through Qt's native event filter when the application runs on
// X11, else from a connection of its own read on the event loop.
//
// X has no counterpart to remapping media keys onto function keys, to the hot
// keys that carry them, or to a system volume display to remove: the capture
// hands out neither.
class X11MediaKeys final : public QObject, public platform::IMediaKeyCapture, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11MediaKeys(QObject *parent = nullptr);
    ~X11MediaKeys() override;

    // False without an X server, and once the server of a connection of our
    // own has gone away.
    bool isAvailable() const;

    bool installTap(TapCallback callback) override;
    void removeTap() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    bool handleEvent(const void *event);
    void readEvents();
    void connectionLost();
    void ungrabAll();

    X11Connection m_conn;
    QSocketNotifier *m_notifier = nullptr;
    TapCallback m_tap;
    QList<X11KeyGrab> m_grabs;
    QHash<quint8, int> m_actions;         // grabbed keycode -> media key type
    QSet<quint8> m_down;                  // keys seen pressed and not released
    QHash<quint8, quint32> m_lastRelease; // keycode -> time of its last release
};

} // namespace platform
