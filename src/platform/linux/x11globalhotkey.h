#pragma once

#include "platform/globalhotkey.h"
#include "platform/linux/x11connection.h"
#include "platform/linux/x11keygrab.h"

#include <QAbstractNativeEventFilter>
#include <QList>

class QSocketNotifier;

namespace platform {

// Ctrl+Alt+G as a passive key grab on the X root window, with the Caps Lock
// and Num Lock variants (grabs match modifiers exactly), on every key code
// that carries the G key sym. When the server refuses a grab (another
// program holds the chord) the grab fails as a whole.
class X11GlobalHotkey final : public platform::IGlobalHotkey, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11GlobalHotkey(QObject *parent = nullptr);
    ~X11GlobalHotkey() override;

    bool installHandler() override;
    void removeHandler() override;
    bool grab() override;
    void ungrab() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    bool handleEvent(const void *event);
    void readEvents();

    X11Connection m_conn;
    QSocketNotifier *m_notifier = nullptr;
    bool m_handler = false;
    QList<X11KeyGrab> m_grabs;
};

} // namespace platform
