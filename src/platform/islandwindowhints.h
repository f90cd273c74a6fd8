#pragma once

class QWindow;

// What the window system needs to hear about the island window beyond Qt's
// flags: on every workspace, out of the task bar and the pager, above
// ordinary windows.
class IslandWindowHints {
public:
    virtual ~IslandWindowHints() = default;
    // Called once the window exists, before it is first mapped (mapped
    // false), and again once it is on screen (mapped true), for a window
    // manager that takes requests only for the windows it manages.
    virtual void apply(QWindow *window, bool mapped) = 0;
};
