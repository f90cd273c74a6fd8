#include "screengrab.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace platform {

namespace {

// The root window of the primary screen. Works on X11; Wayland compositors
// hand out nothing, which leaves the clipboard as it was.
class QtScreenGrabber final : public IScreenGrabber {
public:
    QImage grabScreen() override
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return {};
        return screen->grabWindow(0).toImage();
    }
};

} // namespace

std::unique_ptr<IScreenGrabber> createScreenGrabber()
{
    return std::make_unique<QtScreenGrabber>();
}

} // namespace platform
