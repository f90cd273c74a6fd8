#pragma once

#include <QMetaType>
#include <QObject>

namespace SystemHUD {
Q_NAMESPACE
// What a HUD pulse shows.
enum class SystemHUDKind { volume, brightness };
Q_ENUM_NS(SystemHUDKind)
} // namespace SystemHUD
using SystemHUD::SystemHUDKind;

// One change for the island's volume and brightness display.
struct SystemHUDPulse {
    Q_GADGET
    Q_PROPERTY(SystemHUD::SystemHUDKind kind MEMBER kind)
    Q_PROPERTY(double value MEMBER value)
    Q_PROPERTY(bool muted MEMBER muted)
public:
    SystemHUDKind kind = SystemHUDKind::volume;
    // 0...1: the output volume, or the display brightness.
    double value = 0.0;
    // The output's mute state; always false for brightness.
    bool muted = false;

    bool operator==(const SystemHUDPulse &) const = default;
};
Q_DECLARE_METATYPE(SystemHUDPulse)
