#pragma once

#include "islandeditclearance.h"
#include "notchwindowcontroller.h"

#include <QObject>
#include <memory>

class AppNotifications;
class AppSettings;
class PermissionCenter;
class StatusItemController;
class UserDefaults;

// Creates and owns the long-lived parts of the running program and starts
// them in a fixed order; shuts them down at quit.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    struct Parts {
        UserDefaults *defaults = nullptr;
        AppSettings *settings = nullptr;
        PermissionCenter *permissions = nullptr;   // may be null
        AppNotifications *notifications = nullptr; // may be null
        Workspace *workspace = nullptr;            // may be null
        NotchWindowController::Parts window;
        bool withStatusItem = true;
    };

    explicit AppDelegate(const Parts &parts, QObject *parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence.
    void start();
    // Brings the settings window forward.
    void openSettings();
    // The island editor's callback: an edit began (true) or ended.
    void islandEditChanged(bool active);
    void shutdown();

    NotchWindowController *notch() const { return m_notch.get(); }
    StatusItemController *statusItem() const { return m_statusItem.get(); }

signals:
    // Asked for the settings window (there is no settings window to show yet).
    void settingsRequested();
    void quitRequested();

private:
    Parts m_parts;
    std::unique_ptr<NotchWindowController> m_notch;
    std::unique_ptr<StatusItemController> m_statusItem;
    IslandEditClearance m_clearance;
    bool m_shutDown = false;
};
