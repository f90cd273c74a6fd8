#pragma once

#include "island/islandtypes.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QtQml/qqmlregistration.h>

class AppSettings;

// One slider of the editor's controls: its label, the setting it moves and
// that setting's range.
struct EditSlider {
    Q_GADGET
    QML_VALUE_TYPE(editSlider)
    Q_PROPERTY(QString label MEMBER label CONSTANT)
    Q_PROPERTY(QString key MEMBER key CONSTANT)
    Q_PROPERTY(double from MEMBER from CONSTANT)
    Q_PROPERTY(double to MEMBER to CONSTANT)
public:
    QString label;
    QString key;
    double from = 0;
    double to = 0;
    bool operator==(const EditSlider &) const = default;
};

// Where the island editor's shade and controls go, and the numbers its views
// draw with. Screen rectangles are y-up (x() is minX, y() is minY, the top
// edge is y() + height()).
namespace IslandEditLayout {

struct Inputs {
    IslandEditPhase phase = IslandEditPhase::hang;
    QRectF screen;
    double visibleHeight = 0;
    QRectF notchRect;
    bool floating = false;
    double lipOffsetX = 0;
    double expandedOffsetX = 0;
    double homeContentHeight = 0;
};

struct Frames {
    double ringRadius = 0;
    QRectF shade;
    QRectF controls;
};

constexpr double controlsWidth = 320;

// The ring around the island: larger for the open island.
double ringRadius(IslandEditPhase phase, double screenWidth);
double controlsHeight(IslandEditPhase phase, bool floating);
Frames frames(const Inputs &in);

// The ring's centre in the shade's own coordinates (y down from the top
// edge of the screen).
QPointF ringCenter(const Inputs &in);

// The caption of the phase, drawn along the ring.
QString caption(IslandEditPhase phase);
// The sliders of a phase, in order; the floating pill moves in X and Y only.
QList<EditSlider> sliders(IslandEditPhase phase, bool floatingPill);
// The phase picker's segment titles.
QString phaseTitle(IslandEditPhase phase);
// Angle in radians of letter i of n along the lower rim, from 147.6° to 32.4°.
double arcAngle(int index, int count);
// Where letter i's centre sits, and its rotation in degrees.
QPointF arcPosition(const QPointF &center, double radius, int index, int count);
double arcRotationDegrees(int index, int count);

// The whole number shown beside a slider: halves round away from zero.
int displayedValue(double value);

// The pill set of sliders shows only when the island floats because no
// connected screen has a notch.
bool showsFloatingPill(bool floatingIsland, const QList<double> &screenTopInsets);

// The two reset buttons: each restores the defaults of its own phase.
void resetNotch(AppSettings &settings);
void resetExpanded(AppSettings &settings);

} // namespace IslandEditLayout
