#include "media/nowplayinginfo.h"

#include <QStringList>
#include <cmath>

namespace {

constexpr const char *browserMarkers[] = {
    "chrome", "safari", "firefox",  "brave",  "edgemac",     "msedge",   "opera",    "vivaldi",
    "orion",  "thebrowser", "webkit", "chromium", "arc", "zen-browser", "com.kagi", "youtube",
};

bool isWordChar(QChar c) { return c.isLetterOrNumber(); }

// Whether marker occurs in text with no letter or digit right before or
// right after it.
bool containsWord(const QString &text, QLatin1StringView marker)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(marker, from);
        if (at < 0)
            return false;
        const qsizetype end = at + marker.size();
        const bool startOk = at == 0 || !isWordChar(text.at(at - 1));
        const bool endOk = end == text.size() || !isWordChar(text.at(end));
        if (startOk && endOk)
            return true;
        from = at + 1;
    }
}

} // namespace

NowPlayingInfo NowPlayingInfo::empty(const QDateTime &at)
{
    NowPlayingInfo info;
    info.sampledAt = at;
    return info;
}

bool NowPlayingInfo::isNearlyEqual(const NowPlayingInfo &o) const
{
    return title == o.title && artist == o.artist && album == o.album && isPlaying == o.isPlaying
        && duration == o.duration && std::abs(elapsed - o.elapsed) < 0.5 && source == o.source
        && clientName == o.clientName && artworkURL == o.artworkURL && trackID == o.trackID
        && playerID == o.playerID && artwork.isNull() == o.artwork.isNull();
}

QString NowPlayingInfo::artworkKey() const
{
    QString key = trackID.isEmpty() ? sourceRawValue(source) + QLatin1Char('|') + title + QLatin1Char('|') + artist
                                    : trackID;
    if (!playerID.isEmpty())
        key = playerID + QLatin1Char('|') + key;
    // A "data:" address may run to megabytes: a 64-bit digest names it.
    if (!artworkURL.isEmpty())
        key += QLatin1Char('|') + QString::number(quint64(qHash(artworkURL, 0)), 16);
    return key;
}

bool NowPlayingInfo::operator==(const NowPlayingInfo &o) const
{
    return title == o.title && artist == o.artist && album == o.album && isPlaying == o.isPlaying
        && artwork.cacheKey() == o.artwork.cacheKey() && artworkURL == o.artworkURL && trackID == o.trackID
        && duration == o.duration && elapsed == o.elapsed && source == o.source && clientName == o.clientName
        && playerID == o.playerID && sampledAt == o.sampledAt;
}

QString sourceRawValue(NowPlayingInfo::Source source)
{
    using S = NowPlayingInfo::Source;
    switch (source) {
    case S::unknown: return QStringLiteral("unknown");
    case S::music: return QStringLiteral("music");
    case S::spotify: return QStringLiteral("spotify");
    case S::youtube: return QStringLiteral("youtube");
    case S::browser: return QStringLiteral("browser");
    case S::other: return QStringLiteral("other");
    }
    return QStringLiteral("unknown");
}

std::optional<NowPlayingInfo::Source> sourceFromRawValue(const QString &raw)
{
    using S = NowPlayingInfo::Source;
    for (S s : {S::unknown, S::music, S::spotify, S::youtube, S::browser, S::other}) {
        if (sourceRawValue(s) == raw)
            return s;
    }
    return std::nullopt;
}

QString formatPlaybackTime(double seconds)
{
    if (!std::isfinite(seconds))
        seconds = 0;
    const long long total = std::max(0LL, static_cast<long long>(std::llround(seconds)));
    return QString::asprintf("%lld:%02lld", total / 60, total % 60);
}

QString classifyBundle(const QString &bundle)
{
    const QString b = bundle.toLower();
    if (b.startsWith(QLatin1String("com.google.chrome")))
        return QStringLiteral("com.google.Chrome");
    if (b.contains(QLatin1String("webkit")) || b.startsWith(QLatin1String("com.apple.safari")))
        return QStringLiteral("com.apple.Safari");
    // ".arc" only as a whole component: "org.archive.player" is no browser.
    if (b.contains(QLatin1String("thebrowser")) || (b.contains(QLatin1String(".arc")) && containsWord(b, QLatin1String("arc"))))
        return QStringLiteral("company.thebrowser.Browser");
    if (b.contains(QLatin1String("firefox")))
        return QStringLiteral("org.mozilla.firefox");
    if (b.contains(QLatin1String("brave")))
        return QStringLiteral("com.brave.Browser");
    if (b.contains(QLatin1String("edgemac")) || b.contains(QLatin1String("microsoft.edge")))
        return QStringLiteral("com.microsoft.edgemac");
    return bundle;
}

bool isBrowserBundle(const QString &bundle)
{
    const QString b = bundle.toLower();
    for (const char *marker : browserMarkers) {
        if (containsWord(b, QLatin1String(marker)))
            return true;
    }
    return false;
}

bool isWebMedia(const QString &bundle, const NowPlayingInfo &info)
{
    const QString canonical = classifyBundle(bundle).toLower();
    if (isBrowserBundle(canonical) || info.source == NowPlayingInfo::Source::youtube
        || info.source == NowPlayingInfo::Source::browser)
        return true;
    const QString text = QStringList{info.title, info.artist, info.album, info.clientName}.join(QLatin1Char(' '));
    return text.toLower().contains(QLatin1String("youtube"));
}

NowPlayingInfo::Source sourceFor(const QString &bundle, const QString &title, const QString &artist,
                                 const QString &album)
{
    using S = NowPlayingInfo::Source;
    const QString canonical = classifyBundle(bundle).toLower();
    const QString haystack = QStringList{canonical, title, artist, album}.join(QLatin1Char(' ')).toLower();
    if (canonical.contains(QLatin1String("spotify")))
        return S::spotify;
    if (canonical.contains(QLatin1String("com.apple.music")))
        return S::music;
    if (haystack.contains(QLatin1String("youtube")))
        return S::youtube;
    if (isBrowserBundle(canonical))
        return S::browser;
    if (!canonical.isEmpty())
        return S::other;
    return S::unknown;
}

QString displayName(const QString &bundle, const QString &knownName)
{
    if (bundle.isEmpty())
        return {};
    if (!knownName.isEmpty())
        return knownName;
    const QStringList pieces = bundle.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    QString last = pieces.isEmpty() ? bundle : pieces.last();
    last.replace(QLatin1Char('-'), QLatin1Char(' '));
    QString out;
    out.reserve(last.size());
    bool startOfWord = true;
    for (QChar c : std::as_const(last)) {
        if (c.isSpace()) {
            startOfWord = true;
            out += c;
            continue;
        }
        out += startOfWord ? c.toUpper() : c.toLower();
        startOfWord = false;
    }
    return out;
}
