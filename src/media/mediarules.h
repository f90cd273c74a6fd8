#pragma once

#include "media/nowplayinginfo.h"
#include "media/voicememoengine.h"

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <algorithm>

// What the media views show: the now-playing row's texts, colours and play
// bar, and the voice memos' times, lines and level bars.
namespace MediaRules {

// Player.
QColor sourceAccent(NowPlayingInfo::Source source);
QString sourceLabel(NowPlayingInfo::Source source, const QString &clientName);
QString artworkSymbol(NowPlayingInfo::Source source);
QString playerTitle(const QString &title, const QString &artist);
QString playerSubtitle(const QString &title, const QString &artist, const QString &album, bool showAlbum,
                       NowPlayingInfo::Source source, const QString &clientName);
double playbackPosition(double elapsed, double duration, bool playing, const QDateTime &sampledAt,
                        const QDateTime &now);
double playbackFraction(double position, double duration);
bool showsPlayBar(bool option, const QString &title, const QString &artist, double duration);
inline constexpr double PlayBarMinFill = 4;

// Voice memos.
QString memoTimeText(double seconds);
// The voice panel's status line. A failure the engine reports (a take, a
// playback or an export that failed) stays in it until the engine's status
// moves on, so that no failure passes unseen.
QString memoStatusLine(bool recording, double elapsed, bool exporting, const QString &status, int count);
bool isMemoFailure(const QString &status);
QString memoDetailLine(double duration, const QString &note, bool expanded, const QDateTime &date,
                       const QDateTime &now);
QString relativeDate(const QDateTime &date, const QDateTime &now, const QLocale &locale = QLocale());
double meterBarHeight(double level, int index);
bool meterBarLit(double level, int index);

} // namespace MediaRules
