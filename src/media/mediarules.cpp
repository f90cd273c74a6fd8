#include "media/mediarules.h"

#include "core/localeformats.h"
#include "media/voicememoengine.h"
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace MediaRules {

QColor sourceAccent(NowPlayingInfo::Source source)
{
    switch (source) {
    case NowPlayingInfo::Source::music: return QColor::fromRgbF(0.98f, 0.38f, 0.50f);
    case NowPlayingInfo::Source::spotify: return QColor::fromRgbF(0.12f, 0.84f, 0.38f);
    case NowPlayingInfo::Source::youtube: return QColor::fromRgbF(0.94f, 0.32f, 0.32f);
    default: return QColor::fromRgbF(0.47f, 0.80f, 0.98f);
    }
}

QString sourceLabel(NowPlayingInfo::Source source, const QString &clientName)
{
    switch (source) {
    case NowPlayingInfo::Source::music: return QStringLiteral("Apple Music");
    case NowPlayingInfo::Source::spotify: return QStringLiteral("Spotify");
    case NowPlayingInfo::Source::youtube: return QStringLiteral("YouTube");
    default: return clientName.isEmpty() ? QStringLiteral("Now playing") : clientName;
    }
}

QString artworkSymbol(NowPlayingInfo::Source source)
{
    return source == NowPlayingInfo::Source::youtube || source == NowPlayingInfo::Source::browser
        ? QStringLiteral("play.rectangle.fill")
        : QStringLiteral("music.note");
}

QString playerTitle(const QString &title, const QString &artist)
{
    return title.isEmpty() && artist.isEmpty() ? QStringLiteral("Nothing playing") : title;
}

QString playerSubtitle(const QString &title, const QString &artist, const QString &album, bool showAlbum,
                       NowPlayingInfo::Source source, const QString &clientName)
{
    static const QString separator = QStringLiteral("  \u00B7  ");
    if (title.isEmpty() && artist.isEmpty())
        return QStringLiteral("Music, videos, and browser playback show up here");
    if (showAlbum && !album.isEmpty())
        return artist + separator + album;
    if (artist.isEmpty())
        return sourceLabel(source, clientName);
    return artist + separator + sourceLabel(source, clientName);
}

double playbackPosition(double elapsed, double duration, bool playing, const QDateTime &sampledAt,
                        const QDateTime &now)
{
    double advance = 0;
    if (playing && sampledAt.isValid() && now.isValid())
        advance = std::max(double(sampledAt.msecsTo(now)) / 1000.0, 0.0);
    if (duration > 0)
        return std::min(std::max(elapsed + advance, 0.0), duration);
    return std::max(elapsed, 0.0);
}

double playbackFraction(double position, double duration)
{
    if (duration <= 0)
        return 0;
    return std::clamp(position / duration, 0.0, 1.0);
}

bool showsPlayBar(bool option, const QString &title, const QString &artist, double duration)
{
    return option && (!title.isEmpty() || !artist.isEmpty()) && duration > 0;
}

QString memoTimeText(double seconds)
{
    if (!std::isfinite(seconds))
        return QStringLiteral("0:00");
    const long long total = std::max(0LL, std::llround(seconds));
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString memoStatusLine(bool recording, double elapsed, bool exporting, const QString &status, int count)
{
    if (recording)
        return QStringLiteral("Recording  ") + memoTimeText(elapsed);
    if (exporting || isMemoFailure(status))
        return status;
    if (count == 0)
        return QStringLiteral("Tap the mic to record");
    if (count == 1)
        return QStringLiteral("1 saved");
    return QStringLiteral("%1 saved").arg(count);
}

bool isMemoFailure(const QString &status)
{
    using E = VoiceMemoEngine;
    return status == E::StatusNoMic || status == E::StatusCannotRecord || status == E::StatusMicLost
        || status == E::StatusMicLostKept || status == E::StatusCannotPlay
        || status == E::StatusNoFfmpeg || status == E::StatusExportFailed || status == E::StatusNotSaved;
}

QString relativeDate(const QDateTime &date, const QDateTime &now, const QLocale &locale)
{
    using U = LocaleFormats::RelativeUnit;
    const qint64 seconds = date.secsTo(now);
    const QDate today = now.toLocalTime().date();
    const QDate day = date.toLocalTime().date();
    const qint64 days = day.daysTo(today);
    auto ago = [&](qint64 n, U unit) { return LocaleFormats::ago(locale, n, unit); };
    auto last = [&](U unit) { return LocaleFormats::last(locale, unit); };
    if (seconds < 1)
        return LocaleFormats::now(locale);
    if (seconds < 60)
        return ago(seconds, U::Second);
    if (seconds < 3600)
        return ago(seconds / 60, U::Minute);
    if (days == 0)
        return ago(seconds / 3600, U::Hour);
    if (days == 1)
        return last(U::Day);
    if (days < 7)
        return ago(days, U::Day);
    if (days < 30)
        return days < 14 ? last(U::Week) : ago(days / 7, U::Week);
    if (days < 365)
        return days < 60 ? last(U::Month) : ago(days / 30, U::Month);
    return days < 730 ? last(U::Year) : ago(days / 365, U::Year);
}

QString memoDetailLine(double duration, const QString &note, bool expanded, const QDateTime &date,
                       const QDateTime &now)
{
    QString line = memoTimeText(duration) + QStringLiteral("  \u00B7  ");
    if (!note.isEmpty() && !expanded)
        return line + note;
    return line + relativeDate(date, now);
}

namespace {
double meterValue(double level, int index) { return (level - double(index) / 5.0) * 2.2; }
} // namespace

double meterBarHeight(double level, int index)
{
    const double v = meterValue(level, index);
    if (v >= 1)
        return 24;
    if (v < 0.08)
        return 9.28;
    return 8 + 16 * v;
}

bool meterBarLit(double level, int index) { return meterValue(level, index) > 0.12; }

} // namespace MediaRules
