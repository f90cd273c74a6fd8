#include "island/islandviewrules.h"

#include "island/decorations.h"
#include "island/fieldreader.h"
#include "island/islandeditlayout.h"
#include "island/islandmetrics.h"
#include "store/appsettings.h"

#include <QLocale>

using namespace FieldReader;

namespace {
NotchState toState(int s) { return NotchState(std::clamp(s, 0, int(NotchState::update))); }
AmbientKind toKind(int k) { return AmbientKind(std::clamp(k, 0, int(AmbientKind::mirror))); }
IslandEditPhase toPhase(int p) { return p == 1 ? IslandEditPhase::expanded : IslandEditPhase::hang; }

NextEvent toEvent(const QVariant &value)
{
    if (value.canConvert<NextEvent>() && value.metaType() == QMetaType::fromType<NextEvent>())
        return value.value<NextEvent>();
    NextEvent e;
    e.title = text(value, "title");
    e.start = field(value, "start").toDateTime();
    const QUrl url = field(value, "joinURL").toUrl();
    if (!url.isEmpty())
        e.joinURL = url;
    return e;
}
} // namespace

double IslandViews::cornerRadius(int state, bool floating, double lipCornerRadius) const
{
    return IslandMetrics::cornerRadius(toState(state), floating, lipCornerRadius);
}

double IslandViews::contentTopInset(int state, bool floating, double notchHeight) const
{
    return IslandMetrics::contentTopInset(toState(state), floating, notchHeight);
}

double IslandViews::horizontalInset(int state) const { return IslandMetrics::horizontalInset(toState(state)); }
double IslandViews::bottomInset(int state) const { return IslandMetrics::bottomInset(toState(state)); }
QString IslandViews::contentView(int state) const { return IslandMetrics::contentView(toState(state)); }

bool IslandViews::showsHudOverlay(int state, bool hudPresent) const
{
    return IslandMetrics::showsHudOverlay(toState(state), hudPresent);
}

double IslandViews::hudOverlayTop(bool floating, double notchHeight) const
{
    return IslandMetrics::hudOverlayTop(floating, notchHeight);
}

QVariantMap IslandViews::glow(bool timerRunning, bool previewingTimer, bool ambientPresent,
                              bool previewingAmbient, int showsAmbientOrCamera) const
{
    const auto g = IslandMetrics::islandGlow(timerRunning, previewingTimer, ambientPresent,
                                             previewingAmbient, toKind(showsAmbientOrCamera));
    static const char *names[] = {"none", "timer", "ambient"};
    return {{"kind", QString::fromLatin1(names[int(g.kind)])}, {"ambientKind", int(g.ambientKind)}};
}

bool IslandViews::showsDropHint(bool targeted, bool pocketHidden, int state) const
{
    return IslandMetrics::showsDropHint(targeted, pocketHidden, toState(state));
}

double IslandViews::playingBarHeight(double frameHeight, double t, int index) const
{
    return Decorations::playingBarHeight(frameHeight, t, index);
}

QVariantMap IslandViews::spring(double response, double dampingFraction) const
{
    const auto s = IslandMetrics::springFor(response, dampingFraction);
    return {{"spring", s.spring}, {"damping", s.damping}};
}

double IslandViews::referenceSeconds(const QDateTime &date) const { return Decorations::referenceSeconds(date); }

QVariantMap IslandViews::clockAngles(double t) const
{
    const auto a = Decorations::clockHandAngles(t);
    return {{"hour", a.hour}, {"minute", a.minute}, {"second", a.second}};
}

QVariantMap IslandViews::clockMetrics(double size) const
{
    const auto m = Decorations::clockMetrics(size);
    return {{"ring", m.ring},
            {"hourLength", m.hourLength},
            {"hourWidth", m.hourWidth},
            {"minuteLength", m.minuteLength},
            {"minuteWidth", m.minuteWidth},
            {"secondLength", m.secondLength},
            {"secondWidth", m.secondWidth},
            {"dot", m.dot}};
}

QVariantMap IslandViews::collapsedIdle(bool playing, bool showVisualizer, bool showSmile,
                                       bool timerRunning) const
{
    const auto c = Decorations::collapsedIdle(playing, showVisualizer, showSmile, timerRunning);
    static const char *names[] = {"none", "clock", "bars", "smile"};
    return {{"indicator", QString::fromLatin1(names[int(c.indicator)])},
            {"width", c.width},
            {"height", c.height}};
}

double IslandViews::smileScale(double t) const { return Decorations::smileScale(t); }
int IslandViews::clockFrameInterval(double size) const { return Decorations::clockFrameIntervalMs(size); }
int IslandViews::smileFrameInterval() const { return Decorations::smileFrameIntervalMs(); }
double IslandViews::smileEyeHeight(bool blinking) const { return Decorations::smileEyeHeight(blinking); }

QVariantMap IslandViews::rim(int kind, double t) const
{
    const AmbientKind k = toKind(kind);
    const double p = Decorations::rimPulse(k, t);
    return {{"colorName", Decorations::rimColorName(k)},
            {"halo", Decorations::rimHaloOpacity(p)},
            {"line", Decorations::rimLineOpacity(p)}};
}

QVariantMap IslandViews::mascotMetrics(double size, bool blink, double legs) const
{
    const auto m = Decorations::mascotMetrics(size, blink, legs);
    return {{"eyeWidth", m.eyeWidth},       {"eyeHeight", m.eyeHeight},
            {"eyeSpacing", m.eyeSpacing},   {"smileWidth", m.smileWidth},
            {"smileHeight", m.smileHeight}, {"smileLine", m.smileLine},
            {"faceSpacing", m.faceSpacing}, {"faceHeight", m.faceHeight},
            {"showsLegs", m.showsLegs},     {"legWidth", m.legWidth},
            {"legHeight", m.legHeight},     {"legSpacing", m.legSpacing},
            {"legDrop", m.legDrop},         {"firstLegOffset", m.firstLegOffset},
            {"secondLegOffset", m.secondLegOffset}};
}

bool IslandViews::mascotSways(double tilt, double legs) const { return Decorations::mascotSways(tilt, legs); }

QVariantMap IslandViews::mascotSway(bool active, double t) const
{
    const auto s = Decorations::mascotSway(active, t);
    return {{"dy", s.dy}, {"degrees", s.degrees}};
}

QVariantMap IslandViews::sourceStyle(int source) const
{
    const auto s = HoverContent::sourceStyle(source);
    return {{"colorName", s.colorName}, {"symbol", s.fallbackSymbol}};
}

QVariantMap IslandViews::hudLook(int kind, double value, bool muted) const
{
    const auto h = HoverContent::hudLook(kind == 1 ? SystemHUDKind::brightness : SystemHUDKind::volume,
                                         value, muted);
    return {{"symbol", h.symbol}, {"colorName", h.colorName}, {"level", h.level}};
}

double IslandViews::hudFillWidth(double trackWidth, double level) const
{
    return HoverContent::hudFillWidth(trackWidth, level);
}

QVariantMap IslandViews::mirrorLabel(bool faceTooClose, bool eyeStrainGuard, bool denied) const
{
    const auto l = HoverContent::mirrorLabel(faceTooClose, eyeStrainGuard, denied);
    return {{"text", l.text}, {"colorName", l.colorName}};
}

QString IslandViews::editCaption(int phase) const { return IslandEditLayout::caption(toPhase(phase)); }

double IslandViews::ringRadius(int phase, double screenWidth) const
{
    return IslandEditLayout::ringRadius(toPhase(phase), screenWidth);
}

double IslandViews::arcAngle(int index, int count) const { return IslandEditLayout::arcAngle(index, count); }

QPointF IslandViews::arcPosition(const QPointF &center, double radius, int index, int count) const
{
    return IslandEditLayout::arcPosition(center, radius, index, count);
}

double IslandViews::arcRotation(int index, int count) const
{
    return IslandEditLayout::arcRotationDegrees(index, count);
}

int IslandViews::displayedValue(double value) const { return IslandEditLayout::displayedValue(value); }

void IslandViews::resetNotch(AppSettings *settings) const
{
    if (settings)
        IslandEditLayout::resetNotch(*settings);
}

void IslandViews::resetExpanded(AppSettings *settings) const
{
    if (settings)
        IslandEditLayout::resetExpanded(*settings);
}

// Hover island.

HoverRules::HoverRules(QObject *parent)
    : QObject(parent)
    , m_now(QDateTime::currentDateTime())
{
}

HoverContent::Inputs HoverRules::inputs() const
{
    HoverContent::Inputs in;
    if (isPresent(m_ambient)) {
        AmbientPulse p;
        p.kind = toKind(number(m_ambient, "kind"));
        p.title = text(m_ambient, "title");
        p.detail = text(m_ambient, "detail");
        in.ambient = p;
    }
    in.activity = HoverContent::Activity(std::clamp(number(m_liveActivity, "kind"), 0, 4));
    if (!isPresent(m_liveActivity))
        in.activity = HoverContent::Activity::time;
    in.trackTitle = text(m_nowPlaying, "title");
    in.trackArtist = text(m_nowPlaying, "artist");
    in.trackSource = number(m_nowPlaying, "source");
    in.timerText = text(m_liveActivity, "timerText");
    in.event = toEvent(field(m_liveActivity, "event"));
    if (const QVariant course = field(m_nextAssignment, "course"); isPresent(course))
        in.assignmentCourse = course.toString();
    in.assignmentTitle = text(m_nextAssignment, "title");
    in.showClock = m_showClock;
    in.clockText = m_clockText;
    for (const QVariant &e : list(m_upcomingEvents))
        in.upcomingEvents.append(toEvent(e));
    in.nowMs = m_now.toMSecsSinceEpoch();
    in.isPlaying = flag(m_nowPlaying, "isPlaying");
    in.playingSource = in.trackSource;
    in.playerHidden = m_playerHidden;
    in.showVisualizer = m_showVisualizer;
    in.weatherHidden = m_weatherHidden;
    in.wantLocation = m_wantLocation;
    in.locationGranted = m_locationGranted;
    if (isPresent(m_weather))
        in.temperature = number(m_weather, "temperature");
    return in;
}

QString HoverRules::markKind() const
{
    static const char *names[] = {"none", "symbol", "artwork", "clock"};
    return QString::fromLatin1(names[int(HoverContent::mark(inputs()).kind)]);
}

QString HoverRules::title() const
{
    return HoverContent::title(inputs(), QLocale::system());
}

QVariant HoverRules::joinEvent() const
{
    const auto a = HoverContent::accessory(inputs());
    return a.joinEvent ? QVariant::fromValue(*a.joinEvent) : QVariant();
}

QString HoverRules::accessoryKind() const
{
    static const char *names[] = {"none", "join", "bars", "temperature"};
    return QString::fromLatin1(names[int(HoverContent::accessory(inputs()).kind)]);
}

// Compact island.

CompactIsland::Layout CompactRules::layout() const
{
    CompactIsland::Inputs in;
    in.isPlaying = flag(m_nowPlaying, "isPlaying");
    in.hasArtwork = flag(m_nowPlaying, "hasArtwork");
    in.source = number(m_nowPlaying, "source");
    in.playerHidden = m_playerHidden;
    in.showVisualizer = m_showVisualizer;
    in.timerRunning = m_timerRunning;
    in.previewingPlayer = m_previewingPlayer;
    in.previewingTimer = m_previewingTimer;
    in.previewingAmbient = m_previewingAmbient;
    in.showAmbientSmile = m_showAmbientSmile;
    in.gameModeHidden = m_gameModeHidden;
    in.gameModeOn = m_gameModeOn;
    in.gameModeHover = m_gameModeHover;
    in.gameModeToast = m_gameModeToast;
    in.floating = m_floating;
    in.notchHeight = m_notchHeight;
    return CompactIsland::layout(in);
}

QString CompactRules::trailing() const
{
    static const char *names[] = {"none", "lock", "idle"};
    return QString::fromLatin1(names[int(layout().trailing)]);
}
