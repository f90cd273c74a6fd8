#include "island/liveactivity.h"

LiveActivity LiveActivity::timer(const QString &text)
{
    LiveActivity a;
    a.kind = Kind::timer;
    a.timerText = text;
    return a;
}

LiveActivity LiveActivity::forEvent(const NextEvent &event)
{
    LiveActivity a;
    a.kind = Kind::event;
    a.event = event;
    return a;
}

LiveActivity LiveActivity::music(const NowPlayingInfo &track)
{
    LiveActivity a;
    a.kind = Kind::music;
    a.track = track;
    return a;
}

LiveActivity LiveActivity::forAssignment(const CanvasAssignment &assignment)
{
    LiveActivity a;
    a.kind = Kind::assignment;
    a.assignment = assignment;
    return a;
}
