#pragma once

#include "services/ambientpulse.h"
#include "services/calendarstore.h"
#include "services/systemhudpulse.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QUrl>

#include <optional>

// What the hover, HUD and mirror islands show, as plain functions of what the
// view model holds. Colours are palette names ("sky", "amber", ...); whether
// one passes through the accent resolver is said beside it.
namespace HoverContent {

// Where a track plays, in the order of the now-playing record's sources:
// unknown, music, spotify, youtube, browser, other.
struct SourceStyle {
    QString colorName;
    QString fallbackSymbol;
};
SourceStyle sourceStyle(int source);

// The symbol of a status pulse's kind.
QString pulseSymbol(AmbientKind kind);
// The palette colour of a pulse's kind (through the accent resolver).
QString pulseColorName(AmbientKind kind);

enum class Activity { music, timer, event, assignment, time };

struct Inputs {
    std::optional<AmbientPulse> ambient;
    Activity activity = Activity::time;
    QString trackTitle;
    QString trackArtist;
    int trackSource = 0;
    QString timerText;
    NextEvent event;
    std::optional<QString> assignmentCourse;
    QString assignmentTitle;
    bool showClock = false;
    // The settings' time text without weekday, for the clock case.
    QString clockText;

    // For the trailing accessory.
    QList<NextEvent> upcomingEvents;
    qint64 nowMs = 0;
    bool isPlaying = false;
    int playingSource = 0;
    bool playerHidden = false;
    bool showVisualizer = false;
    bool weatherHidden = false;
    bool wantLocation = true;
    bool locationGranted = false;
    std::optional<int> temperature;
};

enum class MarkKind { none, symbol, artwork, clock };
struct Mark {
    MarkKind kind = MarkKind::none;
    QString symbol;
    QString colorName;
    bool operator==(const Mark &) const = default;
};
Mark mark(const Inputs &in);

inline const QString separator = QStringLiteral("  \u00B7  ");
QString title(const Inputs &in, const QLocale &locale);

enum class AccessoryKind { none, join, bars, temperature };
struct Accessory {
    AccessoryKind kind = AccessoryKind::none;
    // The event the "Join" button opens.
    std::optional<NextEvent> joinEvent;
    QUrl joinURL;
    QString colorName;
    QString text;
};
Accessory accessory(const Inputs &in);

// Links from calendars and course servers are opened only when they are web
// addresses: a file: or custom-scheme link would start local content.
bool isWebLink(const QUrl &url);
// Starts within 30 minutes or began at most 45 minutes ago, with a web link.
bool isJoinable(const NextEvent &event, qint64 nowMs);

// The volume or brightness display.
struct HudLook {
    QString symbol;
    QString colorName;
    // 0...1; 0 while muted.
    double level = 0;
};
HudLook hudLook(SystemHUDKind kind, double value, bool muted);
// The level bar's fill never shrinks below a 6 pt dot.
double hudFillWidth(double trackWidth, double level);

struct MirrorLabel {
    QString text;
    QString colorName;
};
MirrorLabel mirrorLabel(bool faceTooClose, bool eyeStrainGuard, bool denied);

} // namespace HoverContent
