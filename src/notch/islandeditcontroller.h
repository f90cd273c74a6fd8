#pragma once

#include "island/islandeditlayout.h"
#include "island/islandtypes.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <memory>

class AppSettings;
namespace platform { class IIslandWindowHints; }
class QQmlEngine;
namespace platform { class IScreenProvider; }

// The on-screen island editor: a click-through shade over the top of the
// notched screen with a ring around the island, and a small controls panel
// beside the ring. The panels follow the settings, the phase and the screens
// while an edit runs; Escape or "Done" ends it.
//
// The controller does not touch the view model: the composition root feeds it
// the editor's phase and the Home content height, and answers activeChanged()
// (the island's edit switch) and editFinished() (edit flag off, preview idle).
class IslandEditController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
public:
    static inline const QString shadeId = QStringLiteral("island-edit-shade");
    static inline const QString controlsId = QStringLiteral("island-edit-controls");

    IslandEditController(AppSettings *settings, platform::IScreenProvider *screens, QQmlEngine *engine,
                         QObject *parent = nullptr);
    ~IslandEditController() override;

    bool isActive() const { return m_active; }

    // Tells the window system about the panels' shape (may be null).
    void setWindowHints(platform::IIslandWindowHints *hints) { m_hints = hints; }
    // The object the editor's views read and write their phase and preview on.
    void setViewModel(QObject *model);
    void setPhase(IslandEditPhase phase);
    IslandEditPhase phase() const { return m_phase; }
    void setHomeContentHeight(double height);

    QQuickWindow *shade() const { return m_shade.get(); }
    QQuickWindow *controls() const { return m_controls.get(); }
    // Where the panels go now, in y-up screen space.
    IslandEditLayout::Frames frames() const;
    bool showsFloatingPill() const;
    // Escape during an edit ends it on the next turn and goes no further.
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    // Starts an edit; during one, puts the panels back and the controls in front.
    void begin();
    // Ends the edit; nothing when none runs.
    void finish();

private slots:
    // Puts the panels where the settings place them; the controls stay
    // where they are while one of their sliders is held.
    void layoutPanels();

signals:
    // An edit begins (true) or has ended (false).
    void activeChanged(bool active);
    // The shade and the controls are on screen: the island goes between them.
    void panelsShown(QWindow *shade, QWindow *controls);
    // The edit is over: the island leaves edit mode and the preview goes idle.
    void editFinished();
    void isActiveChanged();

private:
    IslandEditLayout::Inputs layoutInputs() const;
    void buildPanels();
    void installRootViews();
    void installObservers();
    void removeObservers();
    void setAcceptsMouse(QQuickWindow *window, bool accepts);

    AppSettings *m_settings;
    platform::IScreenProvider *m_screens;
    QQmlEngine *m_engine;
    platform::IIslandWindowHints *m_hints = nullptr;
    QPointer<QObject> m_model;
    IslandEditPhase m_phase = IslandEditPhase::hang;
    double m_homeContentHeight = 0;
    bool m_active = false;
    bool m_observing = false;

    std::unique_ptr<QQuickWindow> m_shade;
    std::unique_ptr<QQuickWindow> m_controls;
    QPointer<QQuickItem> m_shadeView;
    QPointer<QQuickItem> m_controlsView;
    QList<QMetaObject::Connection> m_observers;
};
