#pragma once

#include <QtGlobal>

#include <functional>

class QRegion;
class QWindow;

namespace platform {

// What the window system needs to hear about the island window beyond Qt's
// flags: on every workspace, out of the task bar and the pager, above
// ordinary windows.
class IIslandWindowHints {
public:
    virtual ~IIslandWindowHints() = default;
    // Called once the window exists, before it is first mapped (mapped
    // false), and again once it is on screen (mapped true), for a window
    // manager that takes requests only for the windows it manages.
    virtual void apply(QWindow *window, bool mapped) = 0;
    // Between these two calls the window's place and size, its shape and
    // what it draws change as one: no other program on the display sees the
    // one without the other, and what the window showed stays where it was on
    // the screen until it draws again.
    virtual void beginFrameChange(QWindow *window) { Q_UNUSED(window) }
    virtual void endFrameChange(QWindow *window) { Q_UNUSED(window) }
    // After the window's mask was set to the island's outline, given here in
    // the window's device pixels (the mask itself is in its logical pixels,
    // so at a scale factor of 2 its curves step in 2-pixel blocks). Where a
    // compositor runs the window draws its own edge (antialiased, with its
    // shadow) and the outline only bounds where clicks land; elsewhere it
    // cuts the window at the screen's own resolution.
    virtual void shapeChanged(QWindow *window, const QRegion &outline) { Q_UNUSED(window) Q_UNUSED(outline) }
    // Before window (the island or one of its panels) takes the keyboard:
    // notes which window has it now.
    virtual void keyboardTaken(QWindow *window) { Q_UNUSED(window) }
    // Once window is done with the keyboard: if it still has it, it goes back
    // to the window noted when it took it, if that still exists and shows;
    // else to the topmost other window of the desktop that can have it, or to
    // none: never to window, nor to whatever is under the pointer (often the
    // island). A noted window that exists but is hidden (minimized) gets it
    // once it shows again, if that is soon and the user has not chosen
    // another window that was on screen. While a window holds the keyboard
    // (taken, not yet released), a window manager that starts again gives it
    // back to that window.
    virtual void keyboardReleased(QWindow *window) { Q_UNUSED(window) }
    // Before each showing of another window of the program's that sits over
    // the desktop with the island (the on-screen editor's): out of the task
    // bar and the pager, as the island is.
    virtual void keepOffTaskBar(QWindow *window) { Q_UNUSED(window) }
    // Once the window is on screen: whenever the stacking of the screen's
    // windows changes (a dock or another window of the program comes over
    // it, with or without a window manager) and a window other than
    // `allowedAbove` (may be null) covers it, `raise` puts it back on top.
    virtual void keepOnTop(QWindow *window, std::function<QWindow *()> allowedAbove, std::function<void()> raise)
    {
        Q_UNUSED(window) Q_UNUSED(allowedAbove) Q_UNUSED(raise)
    }
};

} // namespace platform
