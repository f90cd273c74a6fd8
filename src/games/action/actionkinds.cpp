#include "games/action/actionkinds.h"

QString cpsTitle(CPSDuration d)
{
    switch (d) {
    case CPSDuration::five: return QStringLiteral("5s");
    case CPSDuration::ten: return QStringLiteral("10s");
    case CPSDuration::thirty: return QStringLiteral("30s");
    case CPSDuration::minute: return QStringLiteral("1m");
    case CPSDuration::fiveMinute: return QStringLiteral("5m");
    }
    return {};
}

std::optional<CPSDuration> cpsDurationFromRaw(int seconds)
{
    for (CPSDuration d : allCPSDurations) {
        if (int(d) == seconds)
            return d;
    }
    return std::nullopt;
}

QString pongDifficultyRaw(PongDifficulty d)
{
    switch (d) {
    case PongDifficulty::easy: return QStringLiteral("easy");
    case PongDifficulty::medium: return QStringLiteral("medium");
    case PongDifficulty::hard: return QStringLiteral("hard");
    }
    return {};
}

std::optional<PongDifficulty> pongDifficultyFromRaw(const QString &raw)
{
    for (PongDifficulty d : allPongDifficulties) {
        if (pongDifficultyRaw(d) == raw)
            return d;
    }
    return std::nullopt;
}
