#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

namespace platform {

// One line of the status icon's menu.
struct StatusMenuItem {
    QString text{};           // empty for a separator
    QKeySequence shortcut{};  // shown beside the text
    bool separator = false;
    bool checkable = false;
    bool checked = false;

    bool operator==(const StatusMenuItem &) const = default;
};

// The program's icon in the desktop's status area (the system tray) and the
// menu it opens. Where the desktop has no status area, nothing shows.
class IStatusTray : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IStatusTray() override = default;
    // Shows the icon; a click on it (plain or context) opens the menu.
    virtual void show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu) = 0;
    // The menu the next click opens, or the open one, changed in place.
    virtual void setMenu(const QList<StatusMenuItem> &menu) = 0;

signals:
    // The menu is about to show: a change made now shows in it.
    void menuOpening();
    // The user chose the menu's line at index (separators count).
    void itemChosen(int index);
};

} // namespace platform
