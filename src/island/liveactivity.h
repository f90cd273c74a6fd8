#pragma once

#include "canvas/canvasassignment.h"
#include "media/nowplayinginfo.h"
#include "services/calendarstore.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What the hover island shows: the track, the running timer, an event, a
// course assignment or the clock.
struct LiveActivity {
    Q_GADGET
    QML_VALUE_TYPE(liveActivity)
    Q_PROPERTY(Kind kind MEMBER kind)
    Q_PROPERTY(QString timerText MEMBER timerText)
    Q_PROPERTY(NextEvent event MEMBER event)
    Q_PROPERTY(CanvasAssignment assignment MEMBER assignment)
    Q_PROPERTY(NowPlayingInfo track MEMBER track)
public:
    enum class Kind { music, timer, event, assignment, time };
    Q_ENUM(Kind)

    Kind kind = Kind::time;
    // The timer's display text, for `timer`.
    QString timerText;
    // The event, for `event`.
    NextEvent event;
    // The assignment, for `assignment`.
    CanvasAssignment assignment;
    // The track, for `music`.
    NowPlayingInfo track;

    static LiveActivity time() { return {}; }
    static LiveActivity timer(const QString &text);
    static LiveActivity forEvent(const NextEvent &event);
    static LiveActivity music(const NowPlayingInfo &track);
    static LiveActivity forAssignment(const CanvasAssignment &assignment);

    bool operator==(const LiveActivity &) const = default;
};
Q_DECLARE_METATYPE(LiveActivity)
