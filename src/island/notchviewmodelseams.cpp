// Where the island meets the services that are still being built: the media
// player and camera, the tools' panels, the Canvas planner and the update
// check. Each function stands for one operation of its owner and does the
// neutral thing until the owner exists.
#include "notchviewmodel.h"

#include "clock.h"

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

void NotchViewModel::ingestIntoPocket(const QList<QUrl> &urls)
{
    Q_UNUSED(urls);
}

std::optional<bool> NotchViewModel::nextAssignmentOverdue() const
{
    return std::nullopt;
}

void NotchViewModel::refreshCanvas(std::function<void()> done)
{
    m_lastCanvasFetchMs = m_clock->monotonicMs();
    if (done)
        done();
}

bool NotchViewModel::updateWantsPrompt() const
{
    return false;
}

void NotchViewModel::dismissUpdate() {}

void NotchViewModel::checkForUpdate() {}
