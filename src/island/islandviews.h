#pragma once

#include "island/decorations.h"
#include "island/hovercontent.h"
#include "island/islandeditlayout.h"
#include "island/islandtypes.h"

#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// The rules of the island's self-drawn pieces, for values that belong to the
// view itself (its size, the animation clock's time, the editor's phase).
// What the island shows from the model comes from the model's IslandLook.
class IslandViews : public QObject {
    Q_OBJECT
    Q_MOC_INCLUDE("store/appsettings.h")
    QML_ELEMENT
    QML_SINGLETON
    // The glows' soft halo stroke, and how far inside it their line runs.
    Q_PROPERTY(double glowHaloWidth READ glowHaloWidth CONSTANT)
    Q_PROPERTY(double glowLineInset READ glowLineInset CONSTANT)
    // How a state's content comes in (from a little smaller and higher) and
    // goes out (smaller and lower), and the floating island's shadow.
    Q_PROPERTY(double enterScale READ enterScale CONSTANT)
    Q_PROPERTY(double enterOffset READ enterOffset CONSTANT)
    Q_PROPERTY(double leaveScale READ leaveScale CONSTANT)
    Q_PROPERTY(double leaveOffset READ leaveOffset CONSTANT)
    Q_PROPERTY(double shadowRadius READ shadowRadius CONSTANT)
    Q_PROPERTY(double shadowOffset READ shadowOffset CONSTANT)
    // The hover island's mark frame (and its artwork), the artwork's corner,
    // its ticking clock and the Join button's top and bottom padding.
    Q_PROPERTY(double markSize READ markSize CONSTANT)
    Q_PROPERTY(double artworkCorner READ artworkCorner CONSTANT)
    Q_PROPERTY(double hoverClockSize READ hoverClockSize CONSTANT)
    Q_PROPERTY(double joinPadding READ joinPadding CONSTANT)
    // The compact island's row (and its artwork) and the idle clock.
    Q_PROPERTY(double compactRowHeight READ compactRowHeight CONSTANT)
    Q_PROPERTY(double idleClockSize READ idleClockSize CONSTANT)
    // Redraws a second of the status pulse's rim.
    Q_PROPERTY(double rimFps READ rimFps CONSTANT)
public:
    using QObject::QObject;

    static double glowHaloWidth() { return 3.4; }
    static double glowLineInset() { return 1.1; }
    static double enterScale() { return 0.96; }
    static double enterOffset() { return -8; }
    static double leaveScale() { return 0.84; }
    static double leaveOffset() { return 12; }
    static double shadowRadius() { return 10; }
    static double shadowOffset() { return 3; }
    static double markSize() { return 22; }
    static double artworkCorner() { return 5; }
    static double hoverClockSize() { return 16; }
    static double joinPadding() { return 3; }
    static double compactRowHeight() { return 20; }
    static double idleClockSize() { return 13; }
    static double rimFps() { return 45; }

    // The HUD's level bar: never narrower than its height's dot.
    Q_INVOKABLE double hudFillWidth(double trackWidth, double level) const;


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

    Q_INVOKABLE QString editCaption(Island::IslandEditPhase phase) const;
    Q_INVOKABLE QList<EditSlider> editSliders(Island::IslandEditPhase phase, bool floatingPill) const;
    Q_INVOKABLE QString phaseTitle(Island::IslandEditPhase phase) const;
    // The smile's eyes and mouth.
    Q_INVOKABLE SmileMetrics smileMetrics() const;
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
