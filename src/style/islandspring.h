#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

// One axis of the island panel's spring: where it is and how fast it moves
// (points per second).
struct IslandSpring {
    Q_GADGET
    QML_VALUE_TYPE(islandSpring)
    Q_PROPERTY(double value MEMBER value)
    Q_PROPERTY(double vel MEMBER vel)
public:
    double value = 0;
    double vel = 0;

    // Response 0.36 s, damping fraction 0.84.
    static constexpr double stiffness = 304.6174;
    static constexpr double damping = 29.3215;

    // One semi-implicit Euler step towards target: the position moves with
    // the new velocity.
    void step(double target, double dt)
    {
        vel += dt * ((target - value) * stiffness - vel * damping);
        value += dt * vel;
    }

    bool operator==(const IslandSpring &) const = default;
};
