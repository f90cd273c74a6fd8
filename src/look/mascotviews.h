#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The mascot, every length a share of its size.
struct MascotMetrics {
    Q_GADGET
    QML_VALUE_TYPE(mascotMetrics)
    Q_PROPERTY(double eyeWidth MEMBER eyeWidth CONSTANT)
    Q_PROPERTY(double eyeHeight MEMBER eyeHeight CONSTANT)
    Q_PROPERTY(double eyeSpacing MEMBER eyeSpacing CONSTANT)
    Q_PROPERTY(double smileWidth MEMBER smileWidth CONSTANT)
    Q_PROPERTY(double smileHeight MEMBER smileHeight CONSTANT)
    Q_PROPERTY(double smileLine MEMBER smileLine CONSTANT)
    Q_PROPERTY(double faceSpacing MEMBER faceSpacing CONSTANT)
    Q_PROPERTY(double faceHeight MEMBER faceHeight CONSTANT)
    Q_PROPERTY(bool showsLegs MEMBER showsLegs CONSTANT)
    Q_PROPERTY(double legWidth MEMBER legWidth CONSTANT)
    Q_PROPERTY(double legHeight MEMBER legHeight CONSTANT)
    Q_PROPERTY(double legSpacing MEMBER legSpacing CONSTANT)
    Q_PROPERTY(double legDrop MEMBER legDrop CONSTANT)
    Q_PROPERTY(double firstLegOffset MEMBER firstLegOffset CONSTANT)
    Q_PROPERTY(double secondLegOffset MEMBER secondLegOffset CONSTANT)
public:
    double eyeWidth = 0, eyeHeight = 0, eyeSpacing = 0;
    double smileWidth = 0, smileHeight = 0, smileLine = 0;
    double faceSpacing = 0, faceHeight = 0;
    bool showsLegs = false;
    double legWidth = 0, legHeight = 0, legSpacing = 0, legDrop = 0;
    // Vertical shift of each leg (positive is down).
    double firstLegOffset = 0, secondLegOffset = 0;
};

// The mascot's sway at one moment.
struct MascotSway {
    Q_GADGET
    QML_VALUE_TYPE(mascotSway)
    Q_PROPERTY(double dy MEMBER dy CONSTANT)
    Q_PROPERTY(double degrees MEMBER degrees CONSTANT)
public:
    double dy = 0;
    double degrees = 0;
};

// The numbers behind the mascot: its face and legs at a size, and its sway.
namespace Decorations {

MascotMetrics mascotMetrics(double size, bool blink, double legs);
// An upright mascot without legs sways by itself.
bool mascotSways(double tilt, double legs);
using Sway = MascotSway;
Sway mascotSway(bool active, double t);

} // namespace Decorations

// The mascot's numbers for the views, as the QML singleton MascotViews.
class MascotViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Redraws a second of the mascot's sway.
    Q_PROPERTY(double mascotFps READ mascotFps CONSTANT)
public:
    using QObject::QObject;
    static double mascotFps() { return 20; }
    Q_INVOKABLE MascotMetrics mascotMetrics(double size, bool blink, double legs) const;
    Q_INVOKABLE bool mascotSways(double tilt, double legs) const;
    Q_INVOKABLE MascotSway mascotSway(bool active, double t) const;
};
