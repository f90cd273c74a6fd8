#include "island/hovercontent.h"

#include "core/localeformats.h"
#include "island/decorations.h"
#include "style/palette.h"

#include <algorithm>

namespace HoverContent {

SourceStyle sourceStyle(int source)
{
    const QString note = QStringLiteral("music.note");
    const QString play = QStringLiteral("play.rectangle.fill");
    switch (source) {
    case 1: return {Palette::pinkColor, note};
    case 2: return {Palette::greenColor, note};
    case 3: return {Palette::redColor, play};
    case 4: return {Palette::skyColor, play};
    default: return {Palette::skyColor, note};
    }
}

QString pulseSymbol(AmbientKind kind)
{
    switch (kind) {
    case AmbientKind::rest: return QStringLiteral("sparkle");
    case AmbientKind::bluetooth: return QStringLiteral("antenna.radiowaves.left.and.right");
    case AmbientKind::lowPower: return QStringLiteral("leaf.fill");
    case AmbientKind::eyeStrain: return QStringLiteral("eye");
    case AmbientKind::tooClose: return QStringLiteral("eyes");
    case AmbientKind::mirror: return QStringLiteral("person.crop.circle");
    }
    return {};
}

QColor pulseColor(AmbientKind kind)
{
    return Decorations::rimColor(kind);
}

Mark mark(const Inputs &in)
{
    if (in.ambient)
        return {MarkKind::symbol, pulseSymbol(in.ambient->kind), pulseColor(in.ambient->kind)};
    switch (in.activity) {
    case Activity::music: {
        const SourceStyle s = sourceStyle(in.trackSource);
        return {MarkKind::artwork, s.fallbackSymbol, s.color};
    }
    case Activity::timer:
        return {MarkKind::clock, {}, Palette::amberColor};
    case Activity::event:
        return {MarkKind::symbol, QStringLiteral("calendar"), Palette::skyColor};
    case Activity::assignment:
        return {MarkKind::symbol, QStringLiteral("checkmark.circle"), Palette::redColor};
    case Activity::time:
        break;
    }
    return {};
}

HoverLook look(const Inputs &in, const QLocale &locale)
{
    static const char *marks[] = {"none", "symbol", "artwork", "clock"};
    static const char *accessories[] = {"none", "join", "bars", "temperature"};
    const Mark m = mark(in);
    const Accessory a = accessory(in);
    HoverLook l;
    l.markKind = QString::fromLatin1(marks[int(m.kind)]);
    l.markSymbol = m.symbol;
    l.markColor = m.color;
    l.title = title(in, locale);
    l.accessoryKind = QString::fromLatin1(accessories[int(a.kind)]);
    l.accessoryText = a.text;
    l.accessoryColor = a.color;
    if (a.joinEvent)
        l.joinEvent = *a.joinEvent;
    return l;
}

QString title(const Inputs &in, const QLocale &locale)
{
    if (in.ambient)
        return in.ambient->title + separator + in.ambient->detail;
    switch (in.activity) {
    case Activity::music:
        return in.trackArtist.isEmpty() ? in.trackTitle : in.trackTitle + separator + in.trackArtist;
    case Activity::timer:
        return in.timerText;
    case Activity::event:
        return in.event.title + separator
            + locale.toString(in.event.start.toLocalTime().time(), LocaleFormats::hourMinute(locale));
    case Activity::assignment:
        if (in.assignmentCourse && !in.assignmentCourse->isEmpty())
            return *in.assignmentCourse + separator + in.assignmentTitle;
        return in.assignmentTitle;
    case Activity::time:
        return in.showClock ? in.clockText : QStringLiteral("Pavlet");
    }
    return {};
}

bool isWebLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool isJoinable(const NextEvent &event, qint64 nowMs)
{
    return event.isJoinableAt(nowMs) && isWebLink(*event.joinURL);
}

Accessory accessory(const Inputs &in)
{
    Accessory a;
    std::optional<NextEvent> join;
    if (in.activity == Activity::event && isJoinable(in.event, in.nowMs))
        join = in.event;
    for (const NextEvent &e : in.upcomingEvents) {
        if (join)
            break;
        if (isJoinable(e, in.nowMs))
            join = e;
    }
    if (join) {
        a.kind = AccessoryKind::join;
        a.joinEvent = join;
        a.joinURL = *join->joinURL;
        a.color = Palette::skyColor;
        a.text = QStringLiteral("Join");
    } else if (in.isPlaying && !in.playerHidden && in.showVisualizer) {
        a.kind = AccessoryKind::bars;
        a.color = sourceStyle(in.playingSource).color;
    } else if (!in.weatherHidden && in.wantLocation && in.locationGranted && in.temperature) {
        a.kind = AccessoryKind::temperature;
        a.color = Palette::skyColor;
        a.text = QString::number(*in.temperature) + QChar(0x00B0);
    }
    return a;
}

HudLook hudLook(SystemHUDKind kind, double value, bool muted)
{
    HudLook h;
    if (kind == SystemHUDKind::brightness) {
        h.symbol = QStringLiteral("sun.max.fill");
        h.color = Palette::amberColor;
        h.level = muted ? 0 : value;
        return h;
    }
    h.color = Palette::skyColor;
    h.level = muted ? 0 : value;
    if (muted || value < 0.01)
        h.symbol = QStringLiteral("speaker.slash.fill");
    else if (value < 0.34)
        h.symbol = QStringLiteral("speaker.wave.1.fill");
    else if (value < 0.67)
        h.symbol = QStringLiteral("speaker.wave.2.fill");
    else
        h.symbol = QStringLiteral("speaker.wave.3.fill");
    return h;
}

double hudFillWidth(double trackWidth, double level)
{
    return std::max(trackWidth * level, 6.0);
}

MirrorLabel mirrorLabel(bool faceTooClose, bool eyeStrainGuard, bool denied)
{
    if (faceTooClose && eyeStrainGuard)
        return {QStringLiteral("Sit back a little"), Palette::amberColor};
    if (denied)
        return {QStringLiteral("Allow camera in Settings"), Palette::mintColor};
    return {QStringLiteral("Mirror"), Palette::mintColor};
}

} // namespace HoverContent
