#pragma once

#include "platform/screengrab.h"

class FakeScreenGrabber final : public platform::IScreenGrabber {
public:
    QImage image;
    QImage grabScreen() override { return image; }
};
