#pragma once

#include <QObject>
#include <QPointer>
#include <QMargins>
#include <QRect>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace platform {
class IActivationPolicy;
class IKeyPositions;
class IScreenProvider;
}
class ClockSample;
class AppNotifications;
class AppSettings;
class Clock;
class CanvasCredentialStore;
class ModulesPresenter;
class PermissionCenter;
class PermissionsPresenter;
class QQmlComponent;
class QQmlEngine;
class QQuickItem;
class QQuickWindow;
class QWindow;
class Random;
class Scheduler;
class SettingsMetrics;
class SettingsNavigation;
class UpdateCardModel;
class UpdateService;
class UserDefaults;
class WorldClocksEditorModel;
namespace platform {
class IAppLauncher;
}

// Builds the settings window on first use and brings it forward on every
// later request: an ordinary decorated window titled "Pavlet", 760 x 520,
// kept when closed. Its content needs at least 720 x 460, so the window
// shrinks no further. Closing it returns the program to an accessory.
class SettingsWindowController : public QObject {
    Q_OBJECT
public:
    static inline const QString WindowId = QStringLiteral("settings");
    static inline const QString WindowTitle = QStringLiteral("Pavlet");
    static constexpr QSize ContentSize{760, 520};
    static constexpr QSize MinimumSize{640, 420};
    static constexpr QSize ContentMinimumSize{720, 460};

    struct Parts {
        AppSettings *settings = nullptr;
        UpdateService *updater = nullptr;
        PermissionCenter *permissions = nullptr;
        CanvasCredentialStore *credentials = nullptr;
        UserDefaults *defaults = nullptr;
        AppNotifications *notifications = nullptr;
        platform::IActivationPolicy *activation = nullptr; // may be null
        platform::IScreenProvider *screens = nullptr;      // may be null: the window's own screen
        platform::IKeyPositions *keys = nullptr;            // may be null: keys by their Qt key
        platform::IAppLauncher *launcher = nullptr;
        Scheduler *scheduler = nullptr;
        const Clock *clock = nullptr;
        Random *random = nullptr;
        QQmlEngine *engine = nullptr;
        // Where the island rests on the screen, in the window system's
        // coordinates; may be empty.
        std::function<QRect()> island;
    };

    explicit SettingsWindowController(const Parts &parts, QObject *parent = nullptr);
    ~SettingsWindowController() override;

    // Builds the window the first time; then places, shows, raises and
    // activates it.
    void show();
    // Builds the window without showing it, so that the first show() draws
    // at once.
    void prepare();
    // Builds the window in the background: its views compile off the main
    // thread and are created in slices between the island's frames, so that
    // the first show() only places and draws it. A show() before that is
    // done builds it at once.
    void buildAhead();
    // Drops a closed window with its views, as before its first opening:
    // what its pages drew and loaded while shown goes back to the system,
    // and the next buildAhead() or show() builds them anew. Does nothing
    // while shown (or not built): false.
    bool release();

    QQuickWindow *window() const { return m_window.get(); }
    QQuickItem *root() const { return m_root; }
    SettingsNavigation *navigation() const { return m_navigation.get(); }
    ModulesPresenter *modules() const { return m_modules.get(); }
    PermissionsPresenter *permissionsPresenter() const { return m_permissions.get(); }
    WorldClocksEditorModel *worldClocks() const { return m_clocks.get(); }
    UpdateCardModel *updateCard() const { return m_updateCard.get(); }
    ClockSample *clockSample() const { return m_clockSample.get(); }

    // Where a window of frame goes on a screen whose free area (the work
    // area, panels and docks left out) is visible, with decoration the
    // window manager's frame around it: at least 640 x 420 (else 760 x 520
    // on that axis) but no larger than the free area less the frame, and
    // centred on the free area on each axis where it would stick out, so
    // that the title bar stays on screen. The minimum size goes down with a
    // free area smaller than the content's own; the pages scroll then. The
    // frame stays below island (where the island rests; may be empty), so
    // that the island never covers the title bar.
    struct Placement {
        QRect geometry;
        QSize minimum;
        bool operator==(const Placement &) const = default;
    };
    static Placement placeWindow(const QRect &frame, const QRect &visible, const QMargins &decoration,
                                 const QRect &island = {});
    // The frame allowed for before the window manager has framed the window once.
    static constexpr QMargins DecorationAllowance{4, 30, 4, 4};
    // Centres the window on the work area of the screen the user is on (the
    // one given by screens, else the window's own), then applies placeWindow().
    static void centerWindowOnScreen(QWindow *window, const platform::IScreenProvider *screens,
                                     const QRect &island = {});

signals:
    // The window was closed by the user.
    void closed();
    // "Quit Pavlet" was pressed.
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class RootIncubator;
    void build();
    void buildWindow();
    QVariantMap rootProperties() const;
    void adoptRoot(QObject *object, const QString &error);
    void aheadCompiled();
    void aheadCreated();

    Parts m_parts;
    std::unique_ptr<SettingsNavigation> m_navigation;
    std::unique_ptr<ModulesPresenter> m_modules;
    std::unique_ptr<PermissionsPresenter> m_permissions;
    std::unique_ptr<WorldClocksEditorModel> m_clocks;
    std::unique_ptr<UpdateCardModel> m_updateCard;
    std::unique_ptr<ClockSample> m_clockSample;
    std::unique_ptr<QQuickWindow> m_window;
    QPointer<QQuickItem> m_root;
    std::unique_ptr<QQmlComponent> m_aheadComponent;
    std::unique_ptr<RootIncubator> m_aheadIncubator;
};
