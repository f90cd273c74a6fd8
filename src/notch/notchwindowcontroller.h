#pragma once

#include "notchgeometry.h"
#include "notchpanel.h"
#include "panelanimator.h"
#include "panelframe.h"
#include "pointerpoll.h"
#include "scheduler.h"

#include <QObject>
#include <memory>

class AppSettings;
class Clock;
class GameModeHotkeyCenter;
class GlobalClickMonitor;
class IslandWindowHints;
class PointerLocation;
class QQmlEngine;

// The island window's spine: picks the screen, keeps the geometry, owns the
// panel and its spring-driven frame, polls the pointer, takes clicks from
// the panel and from the whole desktop, and holds the game-mode chord while
// its module is shown. What the island does with pointer, clicks and keys is
// the island model's business: the controller reports them as signals and
// takes the model's frame inputs through setInputs().
class NotchWindowController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        ScreenProvider *screens = nullptr;
        PointerLocation *pointer = nullptr;
        GlobalClickMonitor *clicks = nullptr;     // may be null
        GameModeHotkeyCenter *hotkey = nullptr;   // may be null
        IslandWindowHints *hints = nullptr;       // may be null
        Clock *clock = nullptr;
        Scheduler *scheduler = nullptr;
        QQmlEngine *engine = nullptr;             // null: no content is loaded
    };

    NotchWindowController(AppSettings *settings, const Parts &parts, QObject *parent = nullptr);
    ~NotchWindowController() override;

    NotchPanel *panel() const { return m_panel.get(); }
    const NotchGeometry &geometry() const { return m_geometry; }
    const FrameInputs &inputs() const { return m_inputs; }
    PanelFrameDriver *frameDriver() { return &m_driver; }

    // The island's values that size it; a change re-frames with the springs.
    void setInputs(const FrameInputs &inputs);
    // What the island's delayed hover step is waiting for.
    void setPendingHover(PendingHover pending) { m_pendingHover = pending; }
    void setEditingIsland(bool editing) { m_editingIsland = editing; }

    QRectF targetFrame() const;
    void setFrame(const QRectF &frame, bool animated);
    void reframe() { setFrame(targetFrame(), true); }
    void snap() { setFrame(targetFrame(), false); }

    bool pointerInside() const;
    void pollPointer();
    // A press with its event number; local: it came through the panel.
    void handleClick(qint64 eventNumber, bool local);
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
    void geometryChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyOutline();

    AppSettings *m_settings;
    Parts m_parts;
    NotchGeometry m_geometry;
    FrameInputs m_inputs;
    std::unique_ptr<NotchPanel> m_panel;
    PanelFrameDriver m_driver;
    PointerPoll m_poll;
    ClickDeduper m_clicks;
    PendingHover m_pendingHover = PendingHover::none;
    bool m_editingIsland = false;
    TaskHandle m_pointerTimer;
    bool m_tornDown = false;
};
