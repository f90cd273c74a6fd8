#pragma once

#include "platform/screenprovider.h"

class QScreen;

namespace platform {

// The screens as Qt reports them. No Linux screen reports a camera housing,
// so every screen has a top inset of 0.
class QtScreenProvider final : public platform::IScreenProvider {
    Q_OBJECT
public:
    explicit QtScreenProvider(QObject *parent = nullptr);

    QList<platform::ScreenInfo> screens() const override;
    std::optional<platform::ScreenInfo> mainScreen() const override;
    double primaryHeight() const override;

private:
    void watch(QScreen *screen);
};

} // namespace platform
