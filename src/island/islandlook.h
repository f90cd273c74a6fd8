#pragma once

#include "island/compactisland.h"
#include "island/hovercontent.h"
#include "island/islandmetrics.h"

#include <QList>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class NotchViewModel;
struct IslandEnvironment;
class AppSettings;
class Clock;
class PermissionCenter;
class UserDefaults;

// What the island's views show, worked out from the model, the settings and
// the permission records. Each value is worked out again when one of the
// values it reads announces a change (the hover island's also on the model's
// tick while it shows the time). The views bind these values and apply no
// rule of their own. Every value notifies only on a real change.
class IslandLook : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island's model owns its look")
    // The outline's corner radius for the current state.
    Q_PROPERTY(double cornerRadius READ cornerRadius NOTIFY cornerRadiusChanged)
    // The content paddings of every state, indexed by Island.NotchState.
    Q_PROPERTY(QList<IslandInsets> insets READ insets NOTIFY insetsChanged)
    Q_PROPERTY(IslandGlow glow READ glow NOTIFY glowChanged)
    Q_PROPERTY(bool showsDropHint READ showsDropHint NOTIFY showsDropHintChanged)
    Q_PROPERTY(bool hudPresent READ hudPresent NOTIFY hudChanged)
    Q_PROPERTY(bool showsHudOverlay READ showsHudOverlay NOTIFY hudChanged)
    Q_PROPERTY(double hudOverlayTop READ hudOverlayTop NOTIFY hudChanged)
    // The volume or brightness pulse's symbol, colour and level.
    Q_PROPERTY(HudLook hud READ hud NOTIFY hudChanged)
    Q_PROPERTY(CompactLayout compact READ compact NOTIFY compactChanged)
    Q_PROPERTY(HoverLook hover READ hover NOTIFY hoverChanged)
    Q_PROPERTY(MirrorLabel mirror READ mirror NOTIFY mirrorChanged)
    // The playing track's artwork image, empty without one.
    Q_PROPERTY(QUrl artwork READ artwork NOTIFY artworkChanged)

public:
    IslandLook(NotchViewModel *model, const IslandEnvironment &env, QObject *parent = nullptr);
    ~IslandLook() override;

    double cornerRadius() const { return m_cornerRadius; }
    const QList<IslandInsets> &insets() const { return m_insets; }
    const IslandGlow &glow() const { return m_glow; }
    bool showsDropHint() const { return m_showsDropHint; }
    bool hudPresent() const { return m_hudPresent; }
    bool showsHudOverlay() const { return m_showsHudOverlay; }
    double hudOverlayTop() const { return m_hudOverlayTop; }
    const HudLook &hud() const { return m_hud; }
    const CompactLayout &compact() const { return m_compact; }
    const HoverLook &hover() const { return m_hover; }
    const MirrorLabel &mirror() const { return m_mirror; }
    QUrl artwork() const { return m_artwork; }

    // Works every value out again.
    void refresh();
    // Each value alone.
    void refreshCornerRadius();
    void refreshInsets();
    void refreshGlow();
    void refreshDropHint();
    void refreshHud();
    void refreshCompact();
    void refreshHover();
    void refreshMirror();
    void refreshArtwork();
    // The model's tick: the hover island's clock text and join window
    // follow the time.
    void timePassed();

signals:
    void cornerRadiusChanged();
    void insetsChanged();
    void glowChanged();
    void showsDropHintChanged();
    void hudChanged();
    void compactChanged();
    void hoverChanged();
    void mirrorChanged();
    void artworkChanged();

private:
    template<typename T>
    void assign(T &field, const T &value, void (IslandLook::*notify)())
    {
        if (field == value)
            return;
        field = value;
        emit(this->*notify)();
    }
    // Connects what each value reads to the values it feeds.
    void followInputs(const IslandEnvironment &env);
    HoverContent::Inputs hoverInputs() const;
    CompactIsland::Inputs compactInputs() const;

    NotchViewModel *m_model;
    AppSettings *m_settings;
    PermissionCenter *m_permissions;
    UserDefaults *m_defaults;
    const Clock *m_clock;

    double m_cornerRadius = 0;
    QList<IslandInsets> m_insets;
    IslandGlow m_glow;
    bool m_showsDropHint = false;
    bool m_hudPresent = false;
    bool m_showsHudOverlay = false;
    double m_hudOverlayTop = 0;
    HudLook m_hud;
    CompactLayout m_compact;
    HoverLook m_hover;
    MirrorLabel m_mirror;
    QUrl m_artwork;
};
