#pragma once

#include "services/ambientpulse.h"
#include "services/calendarstore.h"
#include "services/systemhudpulse.h"

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <optional>

// Where a track plays: its palette colour (through the accent resolver) and
// the symbol of its artwork tile when there is no artwork.
struct SourceStyle {
    Q_GADGET
    QML_VALUE_TYPE(sourceStyle)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
    Q_PROPERTY(QString symbol MEMBER fallbackSymbol CONSTANT)
public:
    QColor color;
    QString fallbackSymbol;
};

// The volume or brightness display.
struct HudLook {
    Q_GADGET
    QML_VALUE_TYPE(hudLook)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
    Q_PROPERTY(double level MEMBER level CONSTANT)
public:
    QString symbol;
    QColor color;
    // 0...1; 0 while muted.
    double level = 0;
    bool operator==(const HudLook &) const = default;
};

// The mirror's status line.
struct MirrorLabel {
    Q_GADGET
    QML_VALUE_TYPE(mirrorLabel)
    Q_PROPERTY(QString text MEMBER text CONSTANT)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
public:
    QString text;
    QColor color;
    bool operator==(const MirrorLabel &) const = default;
};

// What the hover island shows: the leading mark, the title and the
// trailing accessory. Colours go through the accent resolver except the
// timer's clock, which is amber as it is.
struct HoverLook {
    Q_GADGET
    QML_VALUE_TYPE(hoverLook)
    // "none", "symbol", "artwork" or "clock".
    Q_PROPERTY(QString markKind MEMBER markKind CONSTANT)
    Q_PROPERTY(QString markSymbol MEMBER markSymbol CONSTANT)
    Q_PROPERTY(QColor markColor MEMBER markColor CONSTANT)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    // "none", "join", "bars" or "temperature".
    Q_PROPERTY(QString accessoryKind MEMBER accessoryKind CONSTANT)
    Q_PROPERTY(QString accessoryText MEMBER accessoryText CONSTANT)
    Q_PROPERTY(QColor accessoryColor MEMBER accessoryColor CONSTANT)
    // The event "Join" opens.
    Q_PROPERTY(NextEvent joinEvent MEMBER joinEvent CONSTANT)
public:
    QString markKind = QStringLiteral("none");
    QString markSymbol;
    QColor markColor;
    QString title;
    QString accessoryKind = QStringLiteral("none");
    QString accessoryText;
    QColor accessoryColor;
    NextEvent joinEvent;
    bool operator==(const HoverLook &) const = default;
};

// What the hover, HUD and mirror islands show, as plain functions of what the
// view model holds. Colours are the palette's own; whether one passes
// through the accent resolver is said beside it.
namespace HoverContent {

// Where a track plays, in the order of the now-playing record's sources:
// unknown, music, spotify, youtube, browser, other.
SourceStyle sourceStyle(int source);

// The symbol of a status pulse's kind.
QString pulseSymbol(AmbientKind kind);
// The palette colour of a pulse's kind (through the accent resolver).
QColor pulseColor(AmbientKind kind);

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
    QColor color;
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
    QColor color;
    QString text;
};
Accessory accessory(const Inputs &in);

// Mark, title and accessory in one.
HoverLook look(const Inputs &in, const QLocale &locale);

// Links from calendars and course servers are opened only when they are web
// addresses: a file: or custom-scheme link would start local content.
bool isWebLink(const QUrl &url);
// Starts within 30 minutes or began at most 45 minutes ago, with a web link.
bool isJoinable(const NextEvent &event, qint64 nowMs);

HudLook hudLook(SystemHUDKind kind, double value, bool muted);
// The level bar's fill never shrinks below a 6 pt dot.
double hudFillWidth(double trackWidth, double level);

MirrorLabel mirrorLabel(bool faceTooClose, bool eyeStrainGuard, bool denied);

} // namespace HoverContent
