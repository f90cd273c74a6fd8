#include "xinput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

XInput::XInput()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

XInput::~XInput()
{
    if (!m_display)
        return;
    // A key left down would go on repeating into the next journey.
    for (unsigned char code : std::as_const(m_held))
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
    XCloseDisplay(m_display);
}

void XInput::pause(int ms)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (t.elapsed() < ms)
            QThread::msleep(1);
    } while (t.elapsed() < ms);
}

void XInput::sync()
{
    XSync(m_display, False);
    if (m_spinning)
        pause(16);
    else
        QThread::msleep(4);
}

QPoint XInput::toDevice(QPoint at)
{
    // A scaled screen keeps its top left corner where the X server has it
    // and grows from there by its ratio.
    const QScreen *screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return at;
    const QPoint corner = screen->geometry().topLeft();
    return corner + ((at - corner).toPointF() * screen->devicePixelRatio()).toPoint();
}

QPoint XInput::fromDevice(QPoint at)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QPoint corner = screen->geometry().topLeft();
        const QPoint logical = corner + ((at - corner).toPointF() / screen->devicePixelRatio()).toPoint();
        if (screen->geometry().contains(logical))
            return logical;
    }
    return at;
}

void XInput::moveTo(QPoint to, int steps)
{
    if (!m_display)
        return;
    const QPoint from = m_position;
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = toDevice(from + (to - from) * i / steps);
        XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
        sync();
    }
    m_position = to;
}

void XInput::press(int button)
{
    if (!m_display)
        return;
    XTestFakeButtonEvent(m_display, button, True, CurrentTime);
    sync();
}

void XInput::release(int button)
{
    if (!m_display)
        return;
    XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    sync();
}

void XInput::click(QPoint at, int button)
{
    moveTo(at, 3);
    wait(40);
    press(button);
    wait(40);
    release(button);
}

void XInput::wait(int ms)
{
    if (m_spinning)
        pause(ms);
    else
        QThread::msleep(ms / 4);
}

void XInput::drag(QPoint from, QPoint to, int steps)
{
    moveTo(from, 3);
    wait(40);
    press(1);
    // A first small move starts the drag; the rest carries it.
    moveTo(from + QPoint(0, 4), 2);
    moveTo(to, steps);
    wait(60);
    release(1);
}

void XInput::scroll(int clicks)
{
    const int button = clicks > 0 ? 4 : 5;
    for (int i = 0; i < std::abs(clicks); ++i) {
        press(button);
        release(button);
    }
}

void XInput::sendKeysym(unsigned long sym, bool shift, bool control, bool alt)
{
    if (!m_display)
        return;
    const KeyCode code = XKeysymToKeycode(m_display, sym);
    if (code == 0)
        return;
    // A symbol on the key's second level needs Shift.
    if (XkbKeycodeToKeysym(m_display, code, 0, 0) != sym && XkbKeycodeToKeysym(m_display, code, 0, 1) == sym)
        shift = true;
    // Modifiers go down in order and come up in the reverse order.
    const KeyCode held[] = {control ? XKeysymToKeycode(m_display, XK_Control_L) : KeyCode(0),
                            alt ? XKeysymToKeycode(m_display, XK_Alt_L) : KeyCode(0),
                            shift ? XKeysymToKeycode(m_display, XK_Shift_L) : KeyCode(0)};
    for (KeyCode m : held) {
        if (m)
            XTestFakeKeyEvent(m_display, m, True, CurrentTime);
    }
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    for (int i = int(std::size(held)) - 1; i >= 0; --i) {
        if (held[i])
            XTestFakeKeyEvent(m_display, held[i], False, CurrentTime);
    }
    sync();
}

void XInput::key(const QString &name, bool shift, bool control, bool alt)
{
    if (!m_display)
        return;
    const KeySym sym = XStringToKeysym(name.toLatin1().constData());
    if (sym != NoSymbol)
        sendKeysym(sym, shift, control, alt);
}

void XInput::hold(const QString &name, bool down)
{
    if (!m_display)
        return;
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(name.toLatin1().constData()));
    if (code == 0 || m_held.contains(code) == down)
        return;
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
    if (down)
        m_held.append(code);
    else
        m_held.removeAll(code);
    sync();
}

void XInput::type(const QString &text)
{
    for (const QChar c : text) {
        KeySym sym = NoSymbol;
        if (c == QLatin1Char('\n'))
            sym = XK_Return;
        else if (c == QLatin1Char(' '))
            sym = XK_space;
        else if (c.unicode() < 0x100)
            sym = c.unicode(); // Latin-1 keysyms are their code points
        if (sym != NoSymbol)
            sendKeysym(sym, false, false, false);
    }
}
