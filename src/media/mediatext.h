#pragma once

#include "media/mediarules.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// MediaRules for the views.
class MediaText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The playing bars: width of a bar, gap between bars, redraws a second.
    Q_PROPERTY(double barWidth READ barWidth CONSTANT)
    Q_PROPERTY(double barGap READ barGap CONSTANT)
    Q_PROPERTY(double barsFps READ barsFps CONSTANT)
    // The media views' own sizes, in points.
    Q_PROPERTY(int playBarHeight MEMBER m_playBarHeight CONSTANT)
    Q_PROPERTY(int memoButtonSize MEMBER m_memoButtonSize CONSTANT)  // a memo row's play button
    Q_PROPERTY(int memoPadding MEMBER m_memoPadding CONSTANT)        // a memo row's sides
    Q_PROPERTY(int memoChipPadding MEMBER m_memoChipPadding CONSTANT) // the MP3 chip's sides
    Q_PROPERTY(int memoChipGap MEMBER m_memoChipGap CONSTANT)
    Q_PROPERTY(int memoChipRadius MEMBER m_memoChipRadius CONSTANT)
    Q_PROPERTY(int memosHeaderHeight MEMBER m_memosHeaderHeight CONSTANT)
    Q_PROPERTY(int recordSize MEMBER m_recordSize CONSTANT)          // the record button's ring
    Q_PROPERTY(int recordDiscSize MEMBER m_recordDiscSize CONSTANT)
    Q_PROPERTY(int meterHeight MEMBER m_meterHeight CONSTANT)
    Q_PROPERTY(int meterBarWidth MEMBER m_meterBarWidth CONSTANT)
    Q_PROPERTY(int mediaButtonGlyph MEMBER m_mediaButtonGlyph CONSTANT)
public:
    using QObject::QObject;

    static double barWidth() { return 2; }
    static double barGap() { return 2; }
    static double barsFps() { return 30; }
    // One of the three playing bars: between 35 % and 100 % of the frame,
    // never below 3 pt.
    Q_INVOKABLE static double playingBarHeight(double frameHeight, double t, int index);
    Q_INVOKABLE static QColor sourceAccent(const NowPlayingInfo &info) { return MediaRules::sourceAccent(info.source); }
    Q_INVOKABLE static QString artworkSymbol(const NowPlayingInfo &info) { return MediaRules::artworkSymbol(info.source); }
    Q_INVOKABLE static QString playerTitle(const NowPlayingInfo &info) { return MediaRules::playerTitle(info.title, info.artist); }
    Q_INVOKABLE static QString playerSubtitle(const NowPlayingInfo &info, bool showAlbum)
    {
        return MediaRules::playerSubtitle(info.title, info.artist, info.album, showAlbum, info.source, info.clientName);
    }
    Q_INVOKABLE static double playbackPosition(const NowPlayingInfo &info, const QDateTime &now)
    {
        return MediaRules::playbackPosition(info.elapsed, info.duration, info.isPlaying, info.sampledAt, now);
    }
    Q_INVOKABLE static double playbackFraction(const NowPlayingInfo &info, const QDateTime &now)
    {
        return MediaRules::playbackFraction(playbackPosition(info, now), info.duration);
    }
    Q_INVOKABLE static bool showsPlayBar(const NowPlayingInfo &info, bool option)
    {
        return MediaRules::showsPlayBar(option, info.title, info.artist, info.duration);
    }
    Q_INVOKABLE static QString playbackTime(double seconds) { return formatPlaybackTime(seconds); }
    // The artwork address asking for the image with its corners rounded
    // (corner points on a side of size points); other addresses unchanged.
    Q_INVOKABLE static QUrl roundedArtwork(const QUrl &image, double corner, double size);
    Q_INVOKABLE static double playBarFill(double fraction, double width)
    {
        return std::max(MediaRules::PlayBarMinFill, fraction * width);
    }

    Q_INVOKABLE static QString memoTimeText(double seconds) { return MediaRules::memoTimeText(seconds); }
    Q_INVOKABLE static QString memoStatusLine(bool recording, double elapsed, const QString &exportingID,
                                              const QString &status, int count)
    {
        return MediaRules::memoStatusLine(recording, elapsed, !exportingID.isEmpty(), status, count);
    }
    Q_INVOKABLE static QString memoDetailLine(const VoiceMemo &memo, bool expanded, const QDateTime &now);
    Q_INVOKABLE static QString memoName(const VoiceMemo &memo);
    Q_INVOKABLE static double meterBarHeight(double level, int index) { return MediaRules::meterBarHeight(level, index); }
    Q_INVOKABLE static bool meterBarLit(double level, int index) { return MediaRules::meterBarLit(level, index); }

private:
    int m_playBarHeight = 3, m_memoButtonSize = 28, m_memoPadding = 10, m_memoChipPadding = 8, m_memoChipGap = 5,
        m_memoChipRadius = 7, m_memosHeaderHeight = 32, m_recordSize = 62, m_recordDiscSize = 54, m_meterHeight = 24,
        m_meterBarWidth = 3, m_mediaButtonGlyph = 12;
};
