#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

namespace Ambient {
Q_NAMESPACE
// What a short status pulse of the island is about.
enum class AmbientKind { rest, bluetooth, lowPower, eyeStrain, tooClose, mirror };
Q_ENUM_NS(AmbientKind)
} // namespace Ambient
using Ambient::AmbientKind;

// A short status message the island shows for a moment.
struct AmbientPulse {
    Q_GADGET
    Q_PROPERTY(Ambient::AmbientKind kind MEMBER kind)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString detail MEMBER detail)
public:
    AmbientKind kind = AmbientKind::rest;
    QString title;
    QString detail;

    bool operator==(const AmbientPulse &) const = default;
};
Q_DECLARE_METATYPE(AmbientPulse)
