// Where the island meets the media services that are still being built: the
// player, the camera and the voice memos. Each function stands for one
// operation of its owner and does the neutral thing until the owner exists.
#include "notchviewmodel.h"

void NotchViewModel::allowAutomation(bool allowed)
{
    Q_UNUSED(allowed);
}

void NotchViewModel::tickNowPlaying() {}

bool NotchViewModel::trackPlaying() const
{
    return false;
}

bool NotchViewModel::trackHasText() const
{
    return false;
}

bool NotchViewModel::cameraRunning() const
{
    return false;
}

bool NotchViewModel::faceTooClose() const
{
    return false;
}

void NotchViewModel::startCamera()
{
    cameraStartFinished(false, false, QStringLiteral("No camera found"));
}

void NotchViewModel::stopCamera() {}

void NotchViewModel::reloadVoiceMemos() {}
