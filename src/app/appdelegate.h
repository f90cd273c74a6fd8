#pragma once

#include "app/islandeditclearance.h"
#include "notch/notchwindowcontroller.h"

#include <QObject>
#include <memory>

namespace platform { class IActivationPolicy; }
class AppNotifications;
class AppSettings;
class PermissionCenter;
class StatusItemController;
namespace platform { class IStatusTray; }
class UserDefaults;
class QWindow;

// Creates and owns the long-lived parts of the running program and starts
// them in a fixed order; shuts them down at quit.
//
// The island editor and the settings window are reached through signals:
// beginIslandEditRequested() / finishIslandEditRequested() go to the editor,
// whose on/off answer comes back through islandEditChanged();
// settingsRequested() asks for a settings window when none exists yet.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    struct Parts {
        UserDefaults *defaults = nullptr;
        AppSettings *settings = nullptr;
        PermissionCenter *permissions = nullptr;   // may be null
        AppNotifications *notifications = nullptr; // may be null
        platform::IWorkspace *workspace = nullptr;            // may be null
        platform::IActivationPolicy *activation = nullptr;    // may be null
        platform::IStatusTray *tray = nullptr;                // may be null: no status-area icon
        NotchWindowController::Parts window;
        bool withStatusItem = true;
    };

    explicit AppDelegate(const Parts &parts, QObject *parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence.
    void start();
    // Brings the settings window forward, or asks for one.
    void openSettings();
    // Starts an on-screen island edit and puts the island in front.
    void beginIslandEdit();
    // The island editor's answer: an edit began (true) or ended.
    void islandEditChanged(bool active);
    void shutdown();

    // The settings window among this program's windows: not the island, able
    // to take the keyboard, titled "Pavlet" or named "settings"; null when
    // there is none.
    static QWindow *findSettingsWindow();

    NotchWindowController *notch() const { return m_notch.get(); }
    StatusItemController *statusItem() const { return m_statusItem.get(); }

signals:
    // Asked for the settings window while none exists.
    void settingsRequested();
    void beginIslandEditRequested();
    // At quit: an edit still running ends (its answer comes back at once).
    void finishIslandEditRequested();
    void quitRequested();

private:
    void setPolicy(bool regular);
    // Puts the island over the program's other windows.
    void keepIslandInFront();

    Parts m_parts;
    std::unique_ptr<NotchWindowController> m_notch;
    std::unique_ptr<StatusItemController> m_statusItem;
    IslandEditClearance m_clearance;
    bool m_shutDown = false;
};
