#pragma once

class QIcon;
class QMenu;
class QString;

namespace platform {

// The program's icon in the desktop's status area (the system tray) and the
// menu it opens. Where the desktop has no status area, nothing shows.
class IStatusTray {
public:
    virtual ~IStatusTray() = default;
    // Shows the icon; a click on it (plain or context) opens menu. The menu
    // stays the caller's.
    virtual void show(const QIcon &icon, const QString &toolTip, QMenu *menu) = 0;
    // The menu the next click opens; null: none.
    virtual void setMenu(QMenu *menu) = 0;
};

} // namespace platform
