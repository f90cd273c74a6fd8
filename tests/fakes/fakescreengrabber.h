#pragma once

#include "platform/screengrabber.h"

class FakeScreenGrabber final : public platform::IScreenGrabber {
public:
    QImage image;
    QImage grabScreen() override { return image; }
};
