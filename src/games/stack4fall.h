#pragma once

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include "games/stack4engine.h"

// The falling disc's offset over time. Each change of the engine's
// fallTravel starts a move from where the disc is drawn now to the new
// travel, shaped as the engine's fallAnimation asks: at once, an ease-in of
// a given length, or a spring. Times are the island's reference seconds, as
// the animation clock gives them.
class Stack4Fall : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Stack4Engine *engine READ engine WRITE setEngine NOTIFY engineChanged)
    // Bumped on every new move, so that bindings on offset() are evaluated again.
    Q_PROPERTY(int revision READ revision NOTIFY revisionChanged)
public:
    using QObject::QObject;

    Stack4Engine *engine() const { return m_engine; }
    void setEngine(Stack4Engine *engine);
    int revision() const { return m_revision; }

    // The offset (points up) at time t.
    Q_INVOKABLE double offset(double t, int revision = 0) const;

    // A move to travel starting at time t (the engine's clock when it changes).
    void begin(double travel, const Stack4FallAnimation &animation, double t);

    static double easeIn(double p);
    // A spring from 1 to 0 after t seconds.
    static double spring(double response, double damping, double t);

signals:
    void engineChanged();
    void revisionChanged();

private:
    double nowSeconds() const;

    QPointer<Stack4Engine> m_engine;
    QMetaObject::Connection m_connection;
    double m_from = 0;
    double m_to = 0;
    double m_start = 0;
    Stack4FallAnimation m_animation;
    int m_revision = 0;
};
