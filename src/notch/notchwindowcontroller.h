#pragma once

#include "core/keyinput.h"
#include "core/scheduler.h"
#include "island/pointerpoll.h"
#include "notch/notchgeometry.h"
#include "notch/notchpanel.h"
#include "notch/panelanimator.h"
#include "notch/panelframe.h"

#include <QObject>
#include <memory>

class QKeyEvent;
class QQuickItem;

class AppSettings;
class Clock;
class NotchViewModel;
struct KeyInput;
class GameModeHotkeyCenter;
namespace platform { class IGlobalClickMonitor; }
class HomeParts;
namespace platform {
class IIslandWindowHints;
class IKeyPositions;
class IPointerLocation;
} // namespace platform
class QQmlEngine;

// The island window's spine: picks the screen, keeps the geometry, owns the
// panel and its spring-driven frame, polls the pointer, takes clicks from
// the panel and from the whole desktop, keys and file drops from the panel,
// and holds the game-mode chord while its module is shown.
//
// What the island does with all that is the island model's business. Pointer,
// clicks and the hot key go out as signals; with a model given, the
// controller connects them to it, takes its frame inputs from it, and answers
// keys, Escape, drops and the island edit switch through it. Without a model
// the frame inputs come through setInputs().
class NotchWindowController : public QObject, private FileDropTarget {
    Q_OBJECT
public:
    struct Parts {
        NotchViewModel *model = nullptr;          // may be null
        platform::IScreenProvider *screens = nullptr;
        platform::IPointerLocation *pointer = nullptr;
        platform::IGlobalClickMonitor *clicks = nullptr;     // may be null
        GameModeHotkeyCenter *hotkey = nullptr;   // may be null
        platform::IIslandWindowHints *hints = nullptr;       // may be null
        platform::IKeyPositions *keys = nullptr;             // may be null: keys by their Qt key
        Clock *clock = nullptr;
        Scheduler *scheduler = nullptr;
        QQmlEngine *engine = nullptr;             // null: no content is loaded
        HomeParts *homeParts = nullptr;           // null: the content shows no island
    };

    NotchWindowController(AppSettings *settings, const Parts &parts, QObject *parent = nullptr);
    ~NotchWindowController() override;

    NotchPanel *panel() const { return m_panel.get(); }
    NotchViewModel *model() const { return m_parts.model; }
    const NotchGeometry &geometry() const { return m_geometry; }
    const FrameInputs &inputs() const { return m_inputs; }
    PanelFrameDriver *frameDriver() { return &m_driver; }

    // The island's values that size it; a change re-frames with the springs.
    void setInputs(const FrameInputs &inputs);
    // What the island's delayed hover step is waiting for.
    void setPendingHover(PendingHover pending) { m_pendingHover = pending; }
    void setEditingIsland(bool editing) { m_editingIsland = editing; }

    QRectF targetFrame() const;
    // Where the collapsed island rests, in the window system's coordinates.
    QRect restingFrame() const;
    void setFrame(const QRectF &frame, bool animated);
    void reframe() { setFrame(targetFrame(), true); }
    void snap() { setFrame(targetFrame(), false); }

    bool pointerInside() const;
    void pollPointer();
    // A press with the display's time of it in milliseconds; local: it came
    // through the panel.
    void handleClick(qint64 eventTime, bool local);
    // A key pressed in the panel, in this order: the game-mode chord, Escape,
    // the game keys, the calculator's keys. True when it is used up.
    bool handleKeyDown(const KeyInput &key);
    // Ctrl+, and Ctrl+Q: true when the key was one of them. place: the
    // key code of its place on the keyboard (KeyCode::Unknown when not known).
    bool handleProgramKey(const QKeyEvent &key, int place, bool repeat);
    // Escape's step back: ends text editing, module editing, a game, a tool
    // panel, the update prompt, else collapses.
    void dismiss();
    // The on-screen island editor began (true) or ended.
    void setIslandEditing(bool editing);
    // While the island is edited it shows the phase being edited.
    void applyIslandEditPhase();
    void syncGameModeHotkey();
    void refreshGeometry();
    void applySettings();
    void teardown();

signals:
    void pointerEntered();
    void pointerExited();
    // The pointer rests inside an open island: a pending close is void.
    void pendingExitCancelled();
    void islandClicked();
    // A click outside an open island.
    void collapseRequested();
    void gameModeHotkeyPressed();
    // Ctrl+, and Ctrl+Q pressed on the island, whatever panel or game shows.
    void settingsKeyPressed();
    void quitKeyPressed();
    void geometryChanged();
    // The island came to rest open for the first time (Home or a panel).
    void homeOpenedOnce();
    // Home (or a panel reached from it) has come to rest open, each time.
    void homeSettled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyOutline();
    void connectModel();
    void updateInputsFromModel();
    void publishGeometry();
    bool pocketShown() const;
    // Whether the pointer is over another window of the program (the
    // settings window, the editor's controls) off the island's own outline.
    bool pointerOverOtherWindow() const;
    // The text field of the panel that has the keyboard, if any.
    QQuickItem *textFieldFocused() const;

    void fileDragEntered() override;
    void fileDragExited() override;
    bool fileDropped(const QList<QUrl> &files) override;

    AppSettings *m_settings;
    Parts m_parts;
    NotchGeometry m_geometry;
    FrameInputs m_inputs;
    FrameSettings m_frameSettings;
    std::unique_ptr<NotchPanel> m_panel;
    PanelFrameDriver m_driver;
    PointerPoll m_poll;
    ClickDeduper m_clicks;
    PendingHover m_pendingHover = PendingHover::none;
    // Where the pointer still counts as inside after the island changed
    // state under it (y-up): the area it was in joined with the new one,
    // until the pointer leaves it. The pill and the open island have Y
    // offsets of their own, so each state may stand where the other does not.
    QRectF m_pointerHold;
    bool m_editingIsland = false;
    bool m_homeOpenedOnce = false;
    TaskHandle m_pointerTimer;
    bool m_settingsPending = false;
    bool m_tornDown = false;
    KeyRepeats m_keyRepeats;
};
