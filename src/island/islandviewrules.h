#pragma once

#include "decorations.h"
#include "hovercontent.h"
#include "islandtypes.h"

#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// The rules of the island's self-drawn pieces, for values that belong to the
// view itself (its size, the animation clock's time, the editor's phase).
// What the island shows from the model comes from the model's IslandLook.
class IslandViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The glows' soft halo stroke, and how far inside it their line runs.
    Q_PROPERTY(double glowHaloWidth READ glowHaloWidth CONSTANT)
    Q_PROPERTY(double glowLineInset READ glowLineInset CONSTANT)
public:
    using QObject::QObject;

    static double glowHaloWidth() { return 3.4; }
    static double glowLineInset() { return 1.1; }

    // The HUD's level bar: never narrower than its height's dot.
    Q_INVOKABLE double hudFillWidth(double trackWidth, double level) const;

    Q_INVOKABLE double playingBarHeight(double frameHeight, double t, int index) const;

    Q_INVOKABLE HandAngles clockAngles(double t) const;
    Q_INVOKABLE ClockMetrics clockMetrics(double size) const;
    Q_INVOKABLE IdleChoice collapsedIdle(bool playing, bool showVisualizer, bool showSmile,
                                         bool timerRunning) const;
    Q_INVOKABLE double smileScale(double t) const;
    // How often the clock face and the smile redraw, per second.
    Q_INVOKABLE double clockFps(double size) const;
    Q_INVOKABLE double smileFps() const;
    Q_INVOKABLE double smileEyeHeight(bool blinking) const;
    Q_INVOKABLE RimLook rim(Ambient::AmbientKind kind, double t) const;
    Q_INVOKABLE MascotMetrics mascotMetrics(double size, bool blink, double legs) const;
    Q_INVOKABLE bool mascotSways(double tilt, double legs) const;
    Q_INVOKABLE MascotSway mascotSway(bool active, double t) const;

    Q_INVOKABLE QString editCaption(Island::IslandEditPhase phase) const;
    Q_INVOKABLE double ringRadius(Island::IslandEditPhase phase, double screenWidth) const;
    // The editor shade's ring: lit in every other period.
    Q_INVOKABLE bool ringLit(double elapsed) const;
    Q_INVOKABLE double ringPulseFps() const;
    Q_INVOKABLE double arcAngle(int index, int count) const;
    Q_INVOKABLE QPointF arcPosition(const QPointF &center, double radius, int index, int count) const;
    Q_INVOKABLE double arcRotation(int index, int count) const;
    Q_INVOKABLE int displayedValue(double value) const;
    Q_INVOKABLE void resetNotch(AppSettings *settings) const;
    Q_INVOKABLE void resetExpanded(AppSettings *settings) const;
};
