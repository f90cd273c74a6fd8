#include "island/compactisland.h"
#include "island/hovercontent.h"
#include "island/islandmetrics.h"
#include "style/palette.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace HoverContent;

namespace {
const qint64 now = QDateTime(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc()).toMSecsSinceEpoch();

NextEvent meeting(double minutesFromNow, const QString &link = QStringLiteral("https://meet.example.com/a"))
{
    NextEvent e;
    e.title = QStringLiteral("Standup");
    e.start = QDateTime::fromMSecsSinceEpoch(now + qint64(minutesFromNow * 60000), QTimeZone::utc());
    if (!link.isEmpty())
        e.joinURL = QUrl(link);
    return e;
}
} // namespace

TEST(HoverContentTest, TitleRules)
{
    const QLocale c(QLocale::C);
    Inputs in;
    EXPECT_EQ(title(in, c), "Pavlet");
    in.showClock = true;
    in.clockText = QStringLiteral("10:00");
    EXPECT_EQ(title(in, c), "10:00");

    in.activity = Activity::music;
    in.trackTitle = QStringLiteral("Song");
    EXPECT_EQ(title(in, c), "Song");
    in.trackArtist = QStringLiteral("Band");
    EXPECT_EQ(title(in, c), "Song  \u00B7  Band");

    in.activity = Activity::assignment;
    in.assignmentTitle = QStringLiteral("Essay");
    EXPECT_EQ(title(in, c), "Essay");
    in.assignmentCourse = QStringLiteral("History");
    EXPECT_EQ(title(in, c), "History  \u00B7  Essay");

    in.activity = Activity::timer;
    in.timerText = QStringLiteral("4:59");
    EXPECT_EQ(title(in, c), "4:59");

    in.activity = Activity::event;
    in.event = meeting(10);
    EXPECT_TRUE(title(in, c).startsWith("Standup  \u00B7  "));
    // Hour and minute only, even where the locale's short time has seconds.
    in.event.start = QDateTime(QDate(2026, 3, 2), QTime(13, 5, 26));
    EXPECT_EQ(title(in, c), "Standup  \u00B7  13:05");
    EXPECT_EQ(title(in, QLocale(QLocale::German, QLocale::Germany)), "Standup  \u00B7  13:05");

    // A pulse wins, and keeps its separator with an empty detail.
    in.ambient = AmbientPulse{AmbientKind::bluetooth, QStringLiteral("Buds"), QString()};
    EXPECT_EQ(title(in, c), "Buds  \u00B7  ");
}

TEST(HoverContentTest, LeadingMarkByPulseThenActivity)
{
    Inputs in;
    EXPECT_EQ(mark(in).kind, MarkKind::none);
    in.activity = Activity::music;
    in.trackSource = 3;
    EXPECT_EQ(mark(in), (Mark{MarkKind::artwork, "play.rectangle.fill", Palette::redColor}));
    in.activity = Activity::timer;
    EXPECT_EQ(mark(in), (Mark{MarkKind::clock, "", Palette::amberColor}));
    in.activity = Activity::assignment;
    EXPECT_EQ(mark(in), (Mark{MarkKind::symbol, "checkmark.circle", Palette::redColor}));
    in.ambient = AmbientPulse{AmbientKind::eyeStrain, "a", "b"};
    EXPECT_EQ(mark(in), (Mark{MarkKind::symbol, "eye", Palette::coralColor}));

    EXPECT_EQ(sourceStyle(1).color, Palette::pinkColor);
    EXPECT_EQ(sourceStyle(2).color, Palette::greenColor);
    EXPECT_EQ(sourceStyle(4).fallbackSymbol, "play.rectangle.fill");
    EXPECT_EQ(sourceStyle(0).fallbackSymbol, "music.note");
}

TEST(HoverContentTest, JoinBoundsAreInclusiveAndNeedAWebLink)
{
    EXPECT_TRUE(isJoinable(meeting(-45), now));
    EXPECT_TRUE(isJoinable(meeting(30), now));
    EXPECT_FALSE(isJoinable(meeting(31), now));
    EXPECT_FALSE(isJoinable(meeting(-46), now));
    EXPECT_FALSE(isJoinable(meeting(5, {}), now));
    EXPECT_FALSE(isJoinable(meeting(5, "file:///usr/bin/xterm"), now));
    EXPECT_FALSE(isJoinable(meeting(5, "javascript:alert(1)"), now));
    EXPECT_TRUE(isJoinable(meeting(5, "HTTP://zoom.example.com/j/1"), now));
}

TEST(HoverContentTest, AccessoryPrefersJoinThenBarsThenTemperature)
{
    Inputs in;
    in.nowMs = now;
    in.isPlaying = true;
    in.showVisualizer = true;
    in.playingSource = 2;
    in.locationGranted = true;
    in.temperature = 21;

    EXPECT_EQ(accessory(in).kind, AccessoryKind::bars);
    EXPECT_EQ(accessory(in).color, Palette::greenColor);

    in.playerHidden = true;
    EXPECT_EQ(accessory(in).kind, AccessoryKind::temperature);
    EXPECT_EQ(accessory(in).text, QString("21\u00B0"));

    // The first joinable upcoming event; an unsafe link is passed over.
    in.upcomingEvents = {meeting(40), meeting(10, "file:///etc/passwd"), meeting(20, "https://b.example")};
    EXPECT_EQ(accessory(in).kind, AccessoryKind::join);
    EXPECT_EQ(accessory(in).joinURL, QUrl("https://b.example"));

    in.upcomingEvents.clear();
    in.wantLocation = false;
    EXPECT_EQ(accessory(in).kind, AccessoryKind::none);
    in.wantLocation = true;
    in.weatherHidden = true;
    EXPECT_EQ(accessory(in).kind, AccessoryKind::none);
}

TEST(HoverContentTest, HudSymbolsByLevel)
{
    struct Row { SystemHUDKind kind; double value; bool muted; const char *symbol; double level; };
    const Row rows[] = {
        {SystemHUDKind::volume, 0.005, false, "speaker.slash.fill", 0.005},
        {SystemHUDKind::volume, 0.2, false, "speaker.wave.1.fill", 0.2},
        {SystemHUDKind::volume, 0.34, false, "speaker.wave.2.fill", 0.34},
        {SystemHUDKind::volume, 0.67, false, "speaker.wave.3.fill", 0.67},
        {SystemHUDKind::volume, 0.8, true, "speaker.slash.fill", 0},
        {SystemHUDKind::brightness, 0, false, "sun.max.fill", 0},
    };
    for (const Row &r : rows) {
        const HudLook h = hudLook(r.kind, r.value, r.muted);
        EXPECT_EQ(h.symbol, r.symbol) << r.value;
        EXPECT_EQ(h.level, r.level);
    }
    EXPECT_EQ(hudLook(SystemHUDKind::brightness, 1, false).color, Palette::amberColor);
    EXPECT_EQ(hudFillWidth(200, 0), 6);
    EXPECT_EQ(hudFillWidth(200, 0.5), 100);
}

TEST(HoverContentTest, MirrorLabelPrecedence)
{
    EXPECT_EQ(mirrorLabel(true, true, true).text, "Sit back a little");
    EXPECT_EQ(mirrorLabel(true, true, true).color, Palette::amberColor);
    EXPECT_EQ(mirrorLabel(true, false, true).text, "Allow camera in Settings");
    EXPECT_EQ(mirrorLabel(false, true, false).text, "Mirror");
}

using CompactIsland::layout;
using CompactIsland::Layout;
using CompactIsland::Trailing;
using CInputs = CompactIsland::Inputs;

TEST(CompactIslandTest, FlagsFollowPlayerTimerAndPreviews)
{
    CInputs in;
    in.isPlaying = true;
    in.hasArtwork = true;
    in.showVisualizer = true;
    in.source = 1;
    Layout l = layout(in);
    EXPECT_TRUE(l.showsArtwork);
    EXPECT_TRUE(l.showsBars);
    EXPECT_EQ(l.barsColor, Palette::pinkColor);
    EXPECT_EQ(l.trailing, Trailing::idle);

    in.playerHidden = true;
    l = layout(in);
    EXPECT_FALSE(l.showsArtwork);
    EXPECT_FALSE(l.showsBars);
    EXPECT_EQ(l.trailing, Trailing::none);

    // The editor's player preview shows green bars even with the player hidden.
    in.isPlaying = false;
    in.previewingPlayer = true;
    l = layout(in);
    EXPECT_TRUE(l.showsBars);
    EXPECT_FALSE(l.showsArtwork);
    EXPECT_EQ(l.barsColor, Palette::greenColor);

    CInputs paused;
    paused.hasArtwork = true;
    paused.showVisualizer = true;
    l = layout(paused);
    EXPECT_FALSE(l.showsArtwork || l.showsBars);
    EXPECT_EQ(l.trailing, Trailing::none);

    paused.previewingTimer = true;
    EXPECT_TRUE(layout(paused).showsTimer);
    paused.previewingTimer = false;
    paused.previewingAmbient = true;
    EXPECT_TRUE(layout(paused).showSmile);
    EXPECT_EQ(layout(paused).trailing, Trailing::idle);
}

TEST(CompactIslandTest, LockReplacesTrailingAndPaddingsFollowTheNotch)
{
    CInputs in;
    in.timerRunning = true;
    in.gameModeOn = true;
    in.gameModeHover = true;
    EXPECT_EQ(layout(in).trailing, Trailing::lock);
    EXPECT_EQ(layout(in).trailingPad, 8);
    in.gameModeHidden = true;
    EXPECT_EQ(layout(in).trailing, Trailing::idle);
    EXPECT_EQ(layout(in).trailingPad, 7);

    in.gameModeToast = true;
    EXPECT_TRUE(layout(in).showsToast);
    EXPECT_EQ(layout(in).toastTop, IslandMetrics::plainNotch.height());

    in.notchHeight = 32;
    EXPECT_EQ(layout(in).rowTop, 6);
    in.notchHeight = 28;
    EXPECT_EQ(layout(in).rowTop, 4);
    in.notchHeight = 20;
    EXPECT_EQ(layout(in).rowTop, 4);
    in.floating = true;
    EXPECT_EQ(layout(in).rowTop, 0);
    EXPECT_EQ(layout(in).leadingPad, 10);
    EXPECT_EQ(layout(in).toastTop, 0);
}
