#include "media/mediatext.h"

#include "core/localeformats.h"
#include "media/voicememoengine.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

double MediaText::playingBarHeight(double frameHeight, double t, int index)
{
    return std::max(3.0, frameHeight * (0.35 + 0.65 * (std::sin(7 * t + 0.7 * M_PI * index) + 1) / 2));
}

QString MediaText::memoDetailLine(const VoiceMemo &memo, bool expanded, const QDateTime &now)
{
    return MediaRules::memoDetailLine(memo.duration, memo.note, expanded, memo.date, now);
}

QString MediaText::memoName(const VoiceMemo &memo)
{
    return memo.name.isEmpty() ? QStringLiteral("Untitled") : memo.name;
}

QUrl MediaText::roundedArtwork(const QUrl &image, double corner, double size)
{
    if (image.scheme() != QLatin1String("image") || image.host() != QLatin1String("artwork") || size <= 0)
        return image;
    return QUrl(image.toString() + QStringLiteral("?corner=") + QString::number(corner / size, 'f', 4));
}
