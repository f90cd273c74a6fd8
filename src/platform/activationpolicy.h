#pragma once

namespace platform {

// Whether the program shows as an ordinary application (while its settings
// window is up) or as an accessory (only the island and the tray icon), and
// bringing it ahead of other programs.
class IActivationPolicy {
public:
    enum class Policy { accessory, regular };

    virtual ~IActivationPolicy() = default;
    virtual void setPolicy(Policy policy) = 0;
    // Brings the program to the front, ahead of other programs.
    virtual void activate() = 0;
};

} // namespace platform
