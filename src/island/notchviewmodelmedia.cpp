// The playing track, its artwork and its controls.
#include "island/notchviewmodel.h"

#include "core/clock.h"
#include "media/artworkloader.h"
#include "media/nowplayingservice.h"

#include <algorithm>

QString NotchViewModel::trackKey(const NowPlayingInfo &info)
{
    return info.trackID + QLatin1Char('|') + info.title + QLatin1Char('|') + info.artist + QLatin1Char('|')
        + sourceRawValue(info.source);
}

void NotchViewModel::tickNowPlaying()
{
    NowPlayingInfo info = m_nowPlayingService->presentedInfo();
    m_nowPlayingService->setPresented(info);
    if (const auto image = m_artworkLoader->cached(info.artworkKey()))
        info.artwork = *image;
    if (!m_nowPlaying.isNearlyEqual(info))
        assign(m_nowPlaying, info, &NotchViewModel::nowPlayingChanged);

    // A track without artwork is asked for it when it starts and whenever its
    // art address changes (browsers publish it after the title); a failed
    // try is repeated after a pause, a few times.
    if (info.hasText() && !info.hasArtwork()) {
        const QString key = trackKey(info) + QLatin1Char('|') + info.artworkURL.toString(QUrl::FullyEncoded);
        const qint64 now = m_clock->monotonicMs();
        if (key != m_lastArtworkKey) {
            m_lastArtworkKey = key;
            m_artworkTries = 0;
            m_artworkRetryAtMs = -1;
            loadArtwork(info);
        } else if (m_artworkRetryAtMs >= 0 && now >= m_artworkRetryAtMs) {
            m_artworkRetryAtMs = -1;
            loadArtwork(info);
        }
    }
}

void NotchViewModel::loadArtwork(const NowPlayingInfo &info)
{
    ++m_artworkTries;
    // Only the playing track's answer is wanted. The answer may come at
    // once, so the request is noted first.
    m_artworkRequests.clear();
    m_artworkRequests.insert(info.artworkKey(), trackKey(info));
    m_nowPlayingService->artwork(info);
}

void NotchViewModel::artworkArrived(const QString &cacheKey, const QImage &image)
{
    const auto it = m_artworkRequests.constFind(cacheKey);
    if (it == m_artworkRequests.constEnd())
        return;
    const QString requested = *it;
    m_artworkRequests.erase(it);
    // Artwork that arrives after the track changed belongs to another track,
    // even when the new one has the same title.
    if (requested != trackKey(m_nowPlaying))
        return;
    NowPlayingInfo info = m_nowPlaying;
    info.artwork = image;
    assign(m_nowPlaying, info, &NotchViewModel::nowPlayingChanged);
}

void NotchViewModel::artworkFailed(const QString &cacheKey)
{
    const auto it = m_artworkRequests.constFind(cacheKey);
    if (it == m_artworkRequests.constEnd())
        return;
    const QString requested = *it;
    m_artworkRequests.erase(it);
    if (requested == trackKey(m_nowPlaying) && m_artworkTries < ArtworkTries)
        m_artworkRetryAtMs = m_clock->monotonicMs() + ArtworkLoader::RetryAfterMs;
}

void NotchViewModel::togglePlayPause()
{
    NowPlayingInfo info = m_nowPlaying;
    const QDateTime now = m_clock->now();
    const double sinceSample = info.isPlaying && info.sampledAt.isValid()
        ? std::max(0.0, info.sampledAt.msecsTo(now) / 1000.0)
        : 0.0;
    info.elapsed = info.duration > 0 ? std::min(info.duration, std::max(0.0, info.elapsed + sinceSample))
                                     : std::max(0.0, info.elapsed);
    info.isPlaying = !info.isPlaying;
    info.sampledAt = now;
    assign(m_nowPlaying, info, &NotchViewModel::nowPlayingChanged);
    m_nowPlayingService->togglePlayPause();
    tickSoon({280, 980});
}

void NotchViewModel::refreshNowPlayingSoon()
{
    tickSoon({280, 1080});
}

void NotchViewModel::refreshNowPlayingSoonAlt()
{
    tickSoon({280, 1080});
}

void NotchViewModel::tickSoon(const QList<int> &delaysMs)
{
    std::erase_if(m_followUps, [](const TaskHandle &task) { return !task.isActive(); });
    for (int delay : delaysMs)
        m_followUps.push_back(m_scheduler->after(delay, [this] { tick(); }));
}
